#pragma once
// PhotoViewerHost: the main view's side of the viewer. It owns the
// ViewerImageCache and the PrefetchWorker (it is a child of the view, so
// both go with the view), answers the view's and the pane's prefetch
// requests, and opens CDialogPICVIEW on the current photo.
//
// UI thread only.

#include <QObject>
#include <functional>
#include <memory>

#include "viewer/display_image.h"
#include "viewer/prefetch_worker.h"
#include "viewer/viewer_image_cache.h"

class CDialogPICVIEW;
class CVereroView;
class PhotoFileCommands;

// How the viewer was asked for; it decides what follows a deletion.
enum class ViewerOrigin { ShowCommand, DoubleClick };

class PhotoViewerHost : public QObject {
    Q_OBJECT

  public:
    explicit PhotoViewerHost(CVereroView& view);
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

    CVereroView& view_;
    PhotoFileCommands* files_;  // the view's single-photo removal
    ViewerImageCache cache_;
    PrefetchWorker worker_;
};
