#include "app/verero_app.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <chrono>
#include <ctime>
#include <utility>

#include "app/catalogue_startup.h"
#include "app/instance_channel.h"
#include "app/main_frame.h"
#include "dialogs/dlg_msg.h"
#include "maplink/map_link.h"
#include "messaging/receiver_registry.h"
#include "platform/data_folder.h"
#include "platform/data_folder_lock.h"

namespace {

CVereroApp* instance = nullptr;

// A window that is just starting takes a moment to listen.
constexpr auto kHandOverPatience = std::chrono::seconds(2);
// As darazoz-cli exits on a folder in use.
constexpr int kFolderInUseExitStatus = 3;

QString FolderInUseText(const std::string& folder) {
    return QStringLiteral(
               "数据文件夹正在被另一个程序（Darazoz相册管理系统或darazoz-cli）使用：\r\n%1\r\n"
               "请关闭该程序后再试。")
        .arg(QFile::decodeName(QByteArray::fromStdString(folder)));
}

}  // namespace

CVereroApp::CVereroApp()
    : messageBox_([](const QString& title, const QString& message, bool twoButtons) {
          return ShowDlgMsg(nullptr, title, message, twoButtons);
      }) {
    instance = this;
}

CVereroApp::~CVereroApp() {
    pathsReceiver_ = {};  // it reaches into the frame
    frame_.reset();
    mapLink_.reset();
    instanceChannel_.reset();
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

int CVereroApp::ExitStatus(StartOutcome outcome) {
    return outcome == StartOutcome::FolderInUse ? kFolderInUseExitStatus : 0;
}

CVereroApp::StartOutcome CVereroApp::InitInstance(const LaunchOptions& options,
                                                  const FrameParts& parts) {
    const std::string folder = ConfigureDataFolder(options.dataFolder);
    EnsureFolder(folder);
    folderLock_ = std::make_unique<DataFolderLock>(folder);
    // A folder that cannot take a lock at all (not writable) is left to the
    // catalogue's own start-up messages.
    if (folderLock_->busy()) {
        // A second window on the folder would overwrite the first one's
        // saves with its own (or the other way round).
        if (HandOverToRunningInstance(folder, options.paths, kHandOverPatience))
            return StartOutcome::HandedOver;
        messageBox_(QStringLiteral("提示"), FolderInUseText(folder), false);
        return StartOutcome::FolderInUse;
    }
    // Listening before the catalogue opens: a start that comes meanwhile
    // is kept waiting for the window, not told the folder is in use.
    instanceChannel_ = std::make_unique<InstanceChannel>(folder);
    // The companion started from here reads this folder's catalogue for the
    // names of the photos it shows.
    qputenv("DARAZOZ_DATA_DIR", QByteArray::fromStdString(folder));
    QObject::connect(instanceChannel_.get(), &InstanceChannel::pathsHandedOver,
                     [this](const QStringList& paths) { OpenPaths(paths, true); });
    pendingPaths_ = options.paths;

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/darazoz.png")));
    // Before the frame exists, so that the category pane's first tree build
    // sees the catalogue the user chose. Without a catalogue (a damaged file
    // the user keeps) the program still runs; the file stays as it is.
    OpenCatalogueAtStartup(library_, messageBox_, std::time(nullptr));

    frame_ = std::make_unique<CMainFrame>(parts.makePane ? parts.makePane() : nullptr,
                                          parts.makeView ? parts.makeView() : nullptr);

    // The endpoint's listener thread asks for a pump; the frame handles the
    // companion's messages on this thread.
    mapLink_ = std::make_unique<MapLink>(regionNames_, [] {
        ReceiverRegistry::Post(ReceiverRole::MainFrame, CMainFrame::MapLinkPumpEvent());
    });
    frame_->AttachMapLink(mapLink_.get());
    frame_->AttachLibrary(&library_);

    frame_->show();
    return StartOutcome::Running;
}

void CVereroApp::SetPathsReceiver(std::function<void(const QStringList&)> receiver) {
    pathsReceiver_ = std::move(receiver);
    if (!pendingPaths_.isEmpty()) OpenPaths(std::exchange(pendingPaths_, {}), false);
}

void CVereroApp::OpenPaths(const QStringList& paths, bool bringToFront) {
    if (bringToFront && frame_) frame_->BringToFront();
    if (paths.isEmpty()) return;
    if (pathsReceiver_) {
        pathsReceiver_(paths);
    } else {
        pendingPaths_ += paths;
    }
}
