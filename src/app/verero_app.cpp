#include "app/verero_app.h"

#include <QApplication>
#include <QIcon>
#include <ctime>

#include "app/catalogue_startup.h"
#include "app/main_frame.h"
#include "dialogs/dlg_msg.h"
#include "maplink/map_link.h"
#include "messaging/receiver_registry.h"
#include "platform/data_folder.h"
#include "platform/data_folder_lock.h"

namespace {
CVereroApp* instance = nullptr;
}

CVereroApp::CVereroApp()
    : messageBox_([](const QString& title, const QString& message, bool twoButtons) {
          return ShowDlgMsg(nullptr, title, message, twoButtons);
      }) {
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
    // Before the frame exists, so that the category pane's first tree build
    // sees the catalogue the user chose. Without a catalogue (a damaged file
    // the user keeps) the program still runs; the file stays as it is.
    OpenCatalogueAtStartup(messageBox_, std::time(nullptr));

    frame_ = std::make_unique<CMainFrame>(parts.makePane ? parts.makePane() : nullptr,
                                          parts.makeView ? parts.makeView() : nullptr);

    // The endpoint's listener thread asks for a pump; the frame handles the
    // companion's messages on this thread.
    mapLink_ = std::make_unique<MapLink>(regionNames_, [] {
        ReceiverRegistry::Post(ReceiverRole::MainFrame, CMainFrame::MapLinkPumpEvent());
    });
    frame_->AttachMapLink(mapLink_.get());

    frame_->show();
    return true;
}
