#include "importui/upkeep_controller.h"

#include "catalogue/catalogue_save.h"
#include "catalogue/folder_stamps.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "dialogs/dlg_msg.h"
#include "import/library_tidy.h"
#include "import/library_update.h"
#include "import/library_upkeep.h"
#include "importui/dlg_save_to_hd.h"
#include "importui/dlg_update.h"
#include "importui/dlg_update_pic.h"
#include "importui/upkeep_summary.h"
#include "messaging/receiver_registry.h"
#include "messaging/ui_messages.h"
#include "messaging/worker_registry.h"

namespace {

void JoinIfDone(std::thread& worker, WorkerKind kind) {
    if (worker.joinable() && !WorkerRegistry::IsRunning(kind)) worker.join();
}

// The trees show what the catalogue held before: the pane drops them
// (kDropTrees) and then rebuilds the current one (kRebuildCurrentTree), in this order.
void RefreshTrees() {
    ReceiverRegistry::Post(ReceiverRole::CategoryPane, UiMessage::kDropTrees);
    ReceiverRegistry::Post(ReceiverRole::CategoryPane, UiMessage::kRebuildCurrentTree);
}

void PostDone(ReceiverRole dialog, int number, UpkeepOutcome outcome) {
    ReceiverRegistry::Post(dialog, number, static_cast<int>(outcome));
}

}  // namespace

UpkeepController::UpkeepController(Library& library, RegionRoute regions, QObject* parent)
    : QObject(parent),
      library_(library),
      regions_(regions),
      messageBox_([](QWidget* owner, const QString& title, const QString& text, bool twoButtons) {
          return ShowDlgMsg(owner, title, text, twoButtons);
      }) {}

UpkeepController::~UpkeepController() {
    for (std::thread* worker : {&update_, &tidy_, &save_})
        if (worker->joinable()) worker->join();
}

void UpkeepController::Reap() {
    JoinIfDone(update_, WorkerKind::LibraryUpdate);
    JoinIfDone(tidy_, WorkerKind::Tidy);
    JoinIfDone(save_, WorkerKind::Save);
}

bool UpkeepController::StartUpdateWorker() {
    Reap();
    WorkerSlot slot(WorkerKind::LibraryUpdate);
    if (!slot.Held() || update_.joinable()) return false;
    progress_.Reset();
    update_ = std::thread([this, slot = std::move(slot)]() mutable {
        // A failed save leaves the catalogue modified: saved at exit or by hand.
        const UpdateEnd end = UpdateLibrary(library_, progress_, regions_);
        RefreshTrees();
        PostDone(ReceiverRole::UpdateDialog, UiMessage::kUpdateFinished,
                 end == UpdateEnd::SaveFailed ? UpkeepOutcome::SaveFailed : UpkeepOutcome::Done);
        slot.Release();
    });
    return true;
}

bool UpkeepController::StartTidyWorker(bool thorough) {
    Reap();
    WorkerSlot slot(WorkerKind::Tidy);
    if (!slot.Held() || tidy_.joinable()) return false;
    progress_.Reset();
    // A tidy has no 取消: an update's cancel left behind must not stop it.
    progress_.stop.Clear();
    tidy_ = std::thread([this, slot = std::move(slot), thorough]() mutable {
        UpkeepOutcome outcome = UpkeepOutcome::Done;
        switch (RunTidy(library_, thorough, progress_)) {
            case TidyEnd::Tidied:
            case TidyEnd::Rebuilt:
                break;
            case TidyEnd::SaveFailed:
                outcome = UpkeepOutcome::SaveFailed;
                break;
            case TidyEnd::Failed:
                outcome = UpkeepOutcome::Failed;
                break;
        }
        PostDone(ReceiverRole::TidyDialog, UiMessage::kUpdateFinished, outcome);
        slot.Release();
    });
    return true;
}

bool UpkeepController::StartSaveWorker() {
    Reap();
    WorkerSlot slot(WorkerKind::Save);
    if (!slot.Held() || save_.joinable()) return false;
    save_ = std::thread([&library = library_, slot = std::move(slot)]() mutable {
        // A failed save leaves the catalogue modified, so the command stays
        // available and closing the program tries again.
        const bool saved = SaveCatalogue(library) == 0;
        PostDone(ReceiverRole::SaveDialog, UiMessage::kSaveFinished,
                 saved ? UpkeepOutcome::Done : UpkeepOutcome::Failed);
        slot.Release();
    });
    return true;
}

void UpkeepController::UpdateLibraryCommand(QWidget* parent) {
    {
        CDlgUpdatePic dialog(progress_, parent);
        ReceiverRegistry::Post(ReceiverRole::MainView, UiMessage::kStartLibraryUpdate);
        dialog.exec();
    }
    OfferNewPhotos(parent);
}

void UpkeepController::OfferNewPhotos(QWidget* parent) {
    // The update saw them but imports nothing by itself: they may be
    // photos the user has not chosen to add.
    if (WorkerRegistry::IsRunning(WorkerKind::LibraryUpdate)) return;
    const std::vector<std::string> found = progress_.NewFilePaths();
    if (found.empty()) return;
    if (messageBox_(parent, QStringLiteral("提示"),
                    NewPhotosQuestion(static_cast<int>(found.size())), true) != kDlgMsgOk)
        return;
    QStringList paths;
    for (const std::string& path : found) paths << QString::fromStdString(path);
    emit newPhotosFound(paths);
}

void UpkeepController::TidyCommand(QWidget* parent) {
    CDlgUpdate dialog([this](bool thorough) { return StartTidyWorker(thorough); }, progress_,
                      parent);
    dialog.exec();
}

void UpkeepController::SaveCommand(QWidget* parent) {
    CDlgSaveToHd dialog(parent);
    ReceiverRegistry::Post(ReceiverRole::MainView, UiMessage::kStartSave);
    dialog.exec();
}

void UpkeepController::ClearCommand(QWidget* parent) {
    if (messageBox_(parent, QStringLiteral("警告"), QStringLiteral("确定要清空数据库吗？"), true) !=
        kDlgMsgOk)
        return;
    if (!ClearCatalogue(library_))
        messageBox_(parent, QStringLiteral("提示"), QStringLiteral("清空数据库失败!"), false);
    ReceiverRegistry::Send(ReceiverRole::CategoryPane, UiMessage::kDropTrees);
    ReceiverRegistry::Post(ReceiverRole::CategoryPane, UiMessage::kRebuildCurrentTree);
}

void UpkeepController::LibraryChangedPrompt(QWidget* parent) {
    messageBox_(parent, QStringLiteral("提示"),
                QStringLiteral("本地照片库发生了变化，请点击[确定]进行更新."), false);
    UpdateLibraryCommand(parent);
}

bool UpkeepController::UpdateAvailable() {
    return AnyFolderChanged(library_);
}

bool UpkeepController::SaveAvailable() const {
    return library_.Modified();
}
