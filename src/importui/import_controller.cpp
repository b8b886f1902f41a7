#include "importui/import_controller.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMetaObject>
#include <optional>
#include <utility>

#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "dialogs/dialog_num.h"
#include "dialogs/dlg_msg.h"
#include "import/folder_walk.h"
#include "import/import_state.h"
#include "import/import_workers.h"
#include "import/map_link_region_source.h"
#include "importui/default_import_folder.h"
#include "importui/dlg_new_pic.h"
#include "importui/import_path_filter.h"
#include "importui/region_lookup_readiness.h"
#include "importui/ui_thread_call.h"
#include "messaging/receiver_registry.h"
#include "messaging/ui_messages.h"
#include "messaging/worker_registry.h"
#include "widgets/path_dialog.h"

namespace {

constexpr int kCountTickMs = 1000;
constexpr int kWaitingRetryMs = 250;

const QString kNotice = QStringLiteral("提示");

std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

ImportController::ImportController(Library& library, MapLink* link, RegionBuffer* regionNames,
                                   QObject* parent)
    : QObject(parent), lastImportFolder_(DefaultImportFolder()), link_(link), library_(library) {
    messageBox_ = [](QWidget* owner, const QString& title, const QString& text, bool twoButtons) {
        return ShowDlgMsg(owner, title, text, twoButtons);
    };
    companionCheck_ = [this](QWidget* owner) {
        return CheckRegionLookupReadiness(owner, link_, locator_);
    };
    countTick_.setInterval(kCountTickMs);
    connect(&countTick_, &QTimer::timeout, this, &ImportController::ShowCount);
    waitingRetry_.setSingleShot(true);
    waitingRetry_.setInterval(kWaitingRetryMs);
    connect(&waitingRetry_, &QTimer::timeout, this, &ImportController::StartWaitingImport);
    if (link != nullptr && regionNames != nullptr)
        regionSource_ = std::make_unique<MapLinkRegionSource>(*link, *regionNames);
    receivers_ = MakeReceivers();
}

ImportController::~ImportController() {
    closing_ = true;
    if (worker_.joinable()) worker_.join();
}

RegionRoute ImportController::Regions() const {
    return {regionSource_.get(), library_.PendingRegions()};
}

CDialog_Num* ImportController::FoundPhotosCounter() const {
    return counter_;
}

CDlg_NewPic* ImportController::ProgressDialog() const {
    return progressDialog_ && progressDialog_->isVisible() ? progressDialog_.data() : nullptr;
}

bool ImportController::StopWaiting() const {
    return ExitToken.StopRequested() || closing_;
}

QWidget* ImportController::DialogParent() const {
    if (CDlg_NewPic* dialog = ProgressDialog()) return dialog;
    return dialogParent_.data();
}

void ImportController::CloseProgressDialog() {
    // The import has ended: its question must not open beside a finished
    // dialog the user still has to dismiss.
    if (CDlg_NewPic* dialog = ProgressDialog()) dialog->accept();
}

ImportReceivers ImportController::MakeReceivers() {
    ImportReceivers receivers;
    auto stop = [this] { return StopWaiting(); };
    receivers.dropTrees = [this, stop] {
        CallOnUiThread<bool>(
            this,
            [this] {
                // The walk has ended: its last counts are shown now, not at
                // the next tick, which may come after the closing question.
                if (CDlg_NewPic* dialog = ProgressDialog()) dialog->Refresh();
                return ReceiverRegistry::Send(ReceiverRole::CategoryPane, UiMessage::kDropTrees);
            },
            stop);
    };
    receivers.rebuildCurrentTree = [] {
        ReceiverRegistry::Post(ReceiverRole::CategoryPane, UiMessage::kRebuildCurrentTree);
    };
    receivers.askRegionLookup = [this, stop](int imported, int withPosition) {
        const QString text = QStringLiteral(
                                 "共成功导入%1张昭片，其中有%2张含有位置信息。\r\n"
                                 "是否需要打开Darazoz地图在后台进行位置分析？")
                                 .arg(imported)
                                 .arg(withPosition);
        return CallOnUiThread<bool>(
                   this,
                   [this, text] {
                       CloseProgressDialog();
                       return messageBox_(DialogParent(), kNotice, text, true) == kDlgMsgOk;
                   },
                   stop)
            .value_or(false);
    };
    receivers.companionReady = [this, stop] {
        return CallOnUiThread<bool>(
                   this, [this] { return companionCheck_(DialogParent()); }, stop)
            .value_or(false);
    };
    receivers.startRegionLookup = [] {
        ReceiverRegistry::Post(ReceiverRole::MainView, UiMessage::kStartRegionLookup);
    };
    return receivers;
}

bool ImportController::ImportRunning() const {
    return !importPathList_.isEmpty() || workerActive_ ||
           WorkerRegistry::IsRunning(WorkerKind::FolderCount) ||
           WorkerRegistry::IsRunning(WorkerKind::FolderImport) ||
           WorkerRegistry::IsRunning(WorkerKind::ListImport);
}

void ImportController::Refuse(QWidget* parent) {
    messageBox_(parent, kNotice, QStringLiteral("还有照片正在导入，请稍后再试！"), false);
}

void ImportController::StartFolderImport(QWidget* parent) {
    if (ImportRunning()) {
        Refuse(parent);
        return;
    }
    CPathDialog chooser(parent, lastImportFolder_);
    if (chooser.DoModal() != 1) return;
    ImportFolder(chooser.PathName(), parent);
}

void ImportController::ImportFolder(const QString& folder, QWidget* parent) {
    if (ImportRunning()) {
        Refuse(parent);
        return;
    }
    progress_.Reset();
    lastImportFolder_ = folder;
    dialogParent_ = parent;

    RunProgressDialog(parent, true, [this, folder = NativePath(folder)] {
        WorkerSlot countSlot(WorkerKind::FolderCount);
        if (!countSlot.Held()) return false;
        workerActive_ = true;
        worker_ =
            std::thread(&ImportController::RunFolderWorker, this, std::move(countSlot), folder);
        return true;
    });
}

void ImportController::RunFolderWorker(WorkerSlot countSlot, const std::string& folder) {
    const int count = CountJpegFiles(folder, progress_, &progress_.total);
    const bool counted = !progress_.countStop.StopRequested();
    std::optional<WorkerSlot> importSlot;
    if (counted) {
        progress_.total = count;
        // Taken before the count's slot is freed, so shutdown never sees a gap.
        if (count > 0) importSlot.emplace(WorkerKind::FolderImport);
    }
    countSlot.Release();
    QMetaObject::invokeMethod(
        this, [this, counted] { OnCountEnded(counted); }, Qt::QueuedConnection);
    if (importSlot && importSlot->Held())
        RunFolderImport(folder, {library_, progress_, receivers_, Regions()});
    importSlot.reset();
    workerActive_ = false;
    QMetaObject::invokeMethod(this, &ImportController::OnWorkerEnded, Qt::QueuedConnection);
}

void ImportController::AddFilesCommand(QWidget* parent) {
    if (ImportRunning()) {
        Refuse(parent);
        return;
    }
    const QStringList chosen =
        QFileDialog::getOpenFileNames(parent, QStringLiteral("选择jpg图片"), lastImportFolder_,
                                      QStringLiteral("图片 (*.jpg *.jpeg *.JPG *.JPEG)"));
    if (chosen.isEmpty()) return;
    lastImportFolder_ = QFileInfo(chosen.first()).absolutePath();
    AcceptFilePaths(chosen, parent);
}

bool ImportController::AcceptFilePaths(const QStringList& paths, QWidget* parent) {
    if (ImportRunning()) {
        Refuse(parent);
        return false;
    }
    importPathList_ = AcceptedFilePaths(paths);
    if (importPathList_.isEmpty()) return false;
    StartListImport(parent);
    return true;
}

bool ImportController::AcceptDroppedPaths(const QStringList& paths, QWidget* parent) {
    if (ImportRunning()) {
        Refuse(parent);
        return false;
    }
    importPathList_ = AcceptedDropPaths(paths);
    if (importPathList_.isEmpty()) return false;
    // The modal dialog must not run inside the drop handler.
    QPointer<QWidget> owner = parent;
    QMetaObject::invokeMethod(
        this, [this, owner] { StartListImport(owner); }, Qt::QueuedConnection);
    return true;
}

void ImportController::ImportWhenFree(const QStringList& paths, QWidget* parent) {
    waitingPaths_ += paths;
    waitingParent_ = parent;
    StartWaitingImport();
}

void ImportController::StartWaitingImport() {
    if (waitingPaths_.isEmpty()) return;
    // Not over a running import (it would be refused) nor under an open
    // dialog, whose work might meet the import's.
    if (ImportRunning() || QApplication::activeModalWidget() != nullptr) {
        waitingRetry_.start();
        return;
    }
    AcceptDroppedPaths(std::exchange(waitingPaths_, {}), waitingParent_);
}

void ImportController::StartListImport(QWidget* parent) {
    std::vector<std::string> paths;
    for (const QString& path : importPathList_) paths.push_back(NativePath(path));
    progress_.Reset();
    dialogParent_ = parent;

    RunProgressDialog(parent, false, [this, paths = std::move(paths)] {
        WorkerSlot listSlot(WorkerKind::ListImport);
        if (!listSlot.Held()) {
            importPathList_.clear();
            return false;
        }
        workerActive_ = true;
        worker_ = std::thread(&ImportController::RunListWorker, this, std::move(listSlot), paths);
        return true;
    });
}

void ImportController::RunListWorker(WorkerSlot listSlot, const std::vector<std::string>& paths) {
    RunListImport(paths, {library_, progress_, receivers_, Regions()});
    listSlot.Release();
    workerActive_ = false;
    QMetaObject::invokeMethod(this, &ImportController::OnWorkerEnded, Qt::QueuedConnection);
}

void ImportController::RunProgressDialog(QWidget* parent, bool folderCount,
                                         std::function<bool()> startWorker) {
    // The previous worker has ended (ImportRunning was false); reap its thread.
    if (worker_.joinable()) worker_.join();
    CDlg_NewPic dialog(progress_, parent);
    progressDialog_ = &dialog;
    if (dialogOpened_) dialogOpened_();
    if (!folderCount) dialog.StartRefreshWhenCounted();
    if (startWorker() && (!folderCount || RunCounter(parent))) dialog.exec();
    progressDialog_ = nullptr;
}

bool ImportController::RunCounter(QWidget* parent) {
    countCompleted_ = false;
    ShowCounter(parent);
    // Until the worker reports the end of its count (queued, so never before
    // this loop runs), also after a 取消: a count that ended just before the
    // 取消 still imports, and then its progress dialog must be shown.
    QEventLoop untilCounted;
    countEnded_ = &untilCounted;
    untilCounted.exec();
    countEnded_ = nullptr;
    return countCompleted_;
}

void ImportController::ShowCounter(QWidget* parent) {
    if (!counter_) {
        if (parent != nullptr) {
            counter_ = new CDialog_Num(parent);
        } else {
            ownedCounter_ = std::make_unique<CDialog_Num>();
            counter_ = ownedCounter_.get();
        }
        connect(counter_, &QDialog::rejected, this, &ImportController::CancelFolderCount);
    }
    // Modal on its own, so only one 取消 is on the screen.
    counter_->setWindowModality(Qt::ApplicationModal);
    countTick_.start();
    ShowCount();
    counter_->show();
}

void ImportController::ShowCount() {
    if (!counter_) return;
    counter_->SetCountText(QString::number(progress_.total.load()));
    ReceiverRegistry::Send(ReceiverRole::FoundPhotosCounter, UiMessage::kFoundCountChanged);
}

void ImportController::CancelFolderCount() {
    progress_.countStop.RequestStop();
    countTick_.stop();
    if (counter_) counter_->hide();
}

void ImportController::OnCountEnded(bool counted) {
    countCompleted_ = counted;
    countTick_.stop();
    if (counter_) counter_->hide();
    if (counted && progressDialog_) progressDialog_->StartRefresh();
    if (countEnded_) countEnded_->quit();
}

void ImportController::OnWorkerEnded() {
    if (worker_.joinable() && !workerActive_) worker_.join();
    importPathList_.clear();
    emit importEnded();
}
