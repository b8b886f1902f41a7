#pragma once
// PhotoViewerHost: the browsed list's side of the viewer. It owns the
// ViewerImageCache and the PrefetchWorker (the shell makes it a child of the
// main view, so both go with the view), answers the prefetch requests the
// shell connects to it, and opens CDialogPICVIEW on the current photo.
//
// UI thread only.

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "record/photo_ref.h"
#include "viewer/display_image.h"
#include "viewer/prefetch_worker.h"
#include "viewer/viewer_image_cache.h"

class CDialogPICVIEW;
class PhotoBrowser;

// How the viewer was asked for; it decides what follows a deletion.
enum class ViewerOrigin { ShowCommand, DoubleClick };

class PhotoViewerHost : public QObject {
    Q_OBJECT

  public:
    // The viewer's 删除, done by the list's owner.
    struct PhotoRemoval {
        // Removes the photo at index from the list (and its file with
        // deleteFile); false when nothing was removed.
        std::function<bool(int index, bool deleteFile)> remove;
        // How many of these photos a removal with the files would delete for
        // good (their volume has no trash); the question warns of them.
        std::function<int(const std::vector<PhotoRef>& photos)> withoutTrash;
    };

    PhotoViewerHost(PhotoBrowser& browser, PhotoRemoval removePhoto, QObject* parent);
    ~PhotoViewerHost() override;

    ViewerImageCache& Cache() { return cache_; }
    PrefetchWorker& Worker() { return worker_; }

    // Opens the viewer on the view's current photo and runs it modally.
    void Open(ViewerOrigin origin);
    // Called with each viewer before it runs (the shell connects 更多).
    std::function<void(CDialogPICVIEW&)> onViewerCreated;
    // The desktop picture behind the viewer, darkened; a dark fill where the
    // platform refuses screen grabs (Wayland, offscreen).
    static QImage DarkenedDesktop();

  public slots:
    // The list was replaced (or refilled): the worker restarts on it.
    void OnPrefetchRequested();
    // The auto-orientation option changed: the cached pictures are turned
    // the old way.
    void OnCacheClearRequested();

  private:
    DisplayImagePtr WaitForCurrent();

    PhotoBrowser& view_;
    PhotoRemoval removePhoto_;
    ViewerImageCache cache_;
    PrefetchWorker worker_;
};
