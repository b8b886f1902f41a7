#pragma once
// The application object: start-up of the program (data folder, folder
// lock, main frame, map link endpoint "RezidaDoz", catalogue) and the
// process-wide objects it owns. Created once in main() after QApplication.
//
// UI thread only, except RegionNames(), which workers may read as its own
// contract allows.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/catalogue_startup.h"
#include "maplink/region_buffer.h"

class CMainFrame;
class DataFolderLock;
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

    // args: the command line after the program name (--data-dir is taken
    // out). Returns false when the main window cannot be created.
    bool InitInstance(std::vector<std::string> args, const FrameParts& parts = {});

    CMainFrame* MainFrame() const { return frame_.get(); }
    MapLink* Link() const { return mapLink_.get(); }
    RegionBuffer& RegionNames() { return regionNames_; }
    // Whether this instance holds the data folder lock (a second instance
    // runs without it).
    bool HoldsDataFolderLock() const;

    // The box in which start-up explains an unusable catalogue file (tests
    // answer it themselves); call before InitInstance.
    void SetStartupMessageBox(StartupMessageBox box) { messageBox_ = std::move(box); }

  private:
    StartupMessageBox messageBox_;
    RegionBuffer regionNames_;
    std::unique_ptr<DataFolderLock> folderLock_;
    std::unique_ptr<MapLink> mapLink_;
    std::unique_ptr<CMainFrame> frame_;  // last: destroyed first
};
