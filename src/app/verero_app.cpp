#include "app/verero_app.h"

#include <QApplication>
#include <QIcon>

#include "app/main_frame.h"
#include "catalogue/photo_catalogue.h"
#include "maplink/map_link.h"
#include "messaging/receiver_registry.h"
#include "platform/data_folder.h"
#include "platform/data_folder_lock.h"

namespace {
CVereroApp* instance = nullptr;
}

CVereroApp::CVereroApp() {
    instance = this;
}

CVereroApp::~CVereroApp() {
    frame_.reset();
    mapLink_.reset();
    if (instance == this) instance = nullptr;
}

CVereroApp* CVereroApp::Instance() {
    return instance;
}

void CVereroApp::SetApplicationIdentity() {
    // X11 takes the window class from the application name.
    QCoreApplication::setApplicationName(QStringLiteral("RezidaDoz"));
    QCoreApplication::setOrganizationName(QStringLiteral("Darazoz"));
    QGuiApplication::setDesktopFileName(QStringLiteral("darazoz"));
}

bool CVereroApp::HoldsDataFolderLock() const {
    return folderLock_ && folderLock_->held();
}

bool CVereroApp::InitInstance(std::vector<std::string> args, const FrameParts& parts) {
    const std::string folder = ConfigureDataFolder(args);
    EnsureFolder(folder);
    // Without the lock (another instance holds it) the program still runs.
    folderLock_ = std::make_unique<DataFolderLock>(folder);

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/darazoz.png")));
    frame_ = std::make_unique<CMainFrame>(parts.makePane ? parts.makePane() : nullptr,
                                          parts.makeView ? parts.makeView() : nullptr);

    // The endpoint's listener thread asks for a pump; the frame handles the
    // companion's messages on this thread.
    mapLink_ = std::make_unique<MapLink>(regionNames_, [] {
        ReceiverRegistry::Post(ReceiverRole::MainFrame, CMainFrame::MapLinkPumpEvent());
    });
    frame_->AttachMapLink(mapLink_.get());

    // The category pane's first tree build opens the catalogue too; opening
    // here makes the catalogue file exist from the start either way.
    OpenCatalogue();

    frame_->show();
    return true;
}
