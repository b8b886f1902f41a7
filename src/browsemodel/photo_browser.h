#pragma once
// What the windows beside the grid (the viewer, the properties dialog, the
// map commands) use of the browsed list: its photos, its selection, and the
// few things they ask of whatever shows it. The main view implements it, so
// those windows depend on the model and not on the grid widget. UI thread.

#include <optional>

#include "browsemodel/grid_selection.h"
#include "browsemodel/photo_list.h"
#include "record/photo_ref.h"

class QWidget;

class PhotoBrowser {
  public:
    virtual PhotoList& Photos() = 0;
    virtual const PhotoList& Photos() const = 0;
    virtual GridSelection& Selection() = 0;
    virtual const GridSelection& Selection() const = 0;
    bool HasPhotos() const { return Photos().AllocatedCount() > 0; }
    // The catalogue the listed photos are in.
    Library& PhotoLibrary() const { return Photos().PhotoLibrary(); }

    // The photo a show (true) or properties (false) command acts on, or
    // nullopt when there is none.
    virtual std::optional<int> PickCommandPhoto(bool show) = 0;
    // Shows the photo's summary in the status bar.
    virtual void PhotoStatusText(PhotoRef photo) = 0;
    // Rebuilds the list after photos changed; with selectPrevious the photo
    // before the current one is the fallback.
    virtual void RefreshList(bool selectPrevious) = 0;
    // The detail list reads its rows again (after edits).
    virtual void RefreshDetailRows() = 0;
    // Draws the current photo and the selection anew after they changed.
    virtual void RedrawSelection() = 0;
    // The window that parents dialogs opened on the list.
    virtual QWidget* DialogParent() = 0;

  protected:
    ~PhotoBrowser() = default;
};
