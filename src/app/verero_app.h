#pragma once
// The application object: start-up of the program (data folder, folder
// lock, main frame, map link endpoint "RezidaDoz", catalogue) and the
// process-wide objects it owns. Created once in main() after QApplication.
//
// UI thread only, except RegionNames(), which workers may read as its own
// contract allows.

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/catalogue_startup.h"
#include "app/launch_options.h"
#include "catalogue/photo_catalogue.h"
#include "maplink/region_buffer.h"

class CMainFrame;
class DataFolderLock;
class InstanceChannel;
class MapLink;

// The widgets the frame shows in its category pane and as its main view;
// an unset factory leaves the place empty.
struct FrameParts {
    std::function<QWidget*()> makePane;
    std::function<QWidget*()> makeView;
};

class CVereroApp {
  public:
    CVereroApp();
    ~CVereroApp();
    CVereroApp(const CVereroApp&) = delete;
    CVereroApp& operator=(const CVereroApp&) = delete;

    static CVereroApp* Instance();

    // Sets QApplication's names so that the main window's X11 class is
    // "RezidaDoz"; call before the first window is created.
    static void SetApplicationIdentity();

    enum class StartOutcome {
        Running,      // the window is up; run the event loop
        HandedOver,   // another window has the data folder and took the paths
        FolderInUse,  // the data folder is in use and nobody took the paths (said so)
    };
    // Exit status of a start that did not open the window.
    static int ExitStatus(StartOutcome outcome);

    // Takes the data folder (its lock), opens the catalogue and shows the
    // frame. When another window holds the folder, hands it the paths
    // instead and opens nothing.
    StartOutcome InitInstance(const LaunchOptions& options, const FrameParts& parts = {});

    // Who imports and shows the paths of the command line and of later
    // starts on the same folder; paths that came before it are handed to it
    // at once. The window comes to the front for each later start.
    void SetPathsReceiver(std::function<void(const QStringList&)> receiver);

    CMainFrame* MainFrame() const { return frame_.get(); }
    MapLink* Link() const { return mapLink_.get(); }
    RegionBuffer& RegionNames() { return regionNames_; }
    Library& PhotoLibrary() { return library_; }
    // Whether this instance holds the data folder lock (only a running one does).
    bool HoldsDataFolderLock() const;

    // The box in which start-up explains an unusable catalogue file (tests
    // answer it themselves); call before InitInstance.
    void SetStartupMessageBox(StartupMessageBox box) { messageBox_ = std::move(box); }

  private:
    void OpenPaths(const QStringList& paths, bool bringToFront);

    StartupMessageBox messageBox_;
    // The catalogue the windows work on; outlives them.
    Library library_;
    RegionBuffer regionNames_;
    std::function<void(const QStringList&)> pathsReceiver_;
    QStringList pendingPaths_;
    std::unique_ptr<DataFolderLock> folderLock_;
    std::unique_ptr<InstanceChannel> instanceChannel_;
    std::unique_ptr<MapLink> mapLink_;
    std::unique_ptr<CMainFrame> frame_;  // last: destroyed first
};
