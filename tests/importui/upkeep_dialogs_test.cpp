#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "catalogue/catalogue_save.h"
#include "catalogue/deleted_paths.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "catalogue/process_flags.h"
#include "import/library_upkeep.h"
#include "importui/dlg_save_to_hd.h"
#include "importui/dlg_update.h"
#include "importui/dlg_update_pic.h"
#include "importui/upkeep_controller.h"
#include "importui/upkeep_summary.h"
#include "messaging/message_event.h"
#include "messaging/ui_messages.h"
#include "messaging/worker_registry.h"
#include "platform/data_folder.h"
#include "temp_folder.h"

namespace {

// Records the application-defined messages sent to a role, with payloads.
class Recorder : public QObject {
  public:
    std::vector<std::pair<int, int>> received;  // number, payload
    bool event(QEvent* event) override {
        if (!IsMessageEvent(event)) return QObject::event(event);
        auto* message = static_cast<MessageEvent*>(event);
        received.emplace_back(message->Number(), message->Payload().toInt());
        return true;
    }
    bool Got(int number) const {
        for (auto [n, payload] : received)
            if (n == number) return true;
        return false;
    }
};

void ProcessEventsUntil(const std::function<bool()>& done) {
    const auto guard = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done() && std::chrono::steady_clock::now() < guard) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void Deliver(QObject* receiver, int number, UpkeepOutcome outcome) {
    MessageEvent message(number, static_cast<int>(outcome));
    QCoreApplication::sendEvent(receiver, &message);
}

}  // namespace

TEST(UpkeepDialogs, TheTextsCountTheirStopsWithTheTicks) {
    UpkeepProgress progress;
    CDlgUpdatePic update(progress);
    CDlgUpdate tidy({}, progress);
    CDlgSaveToHd save;
    const struct {
        CUpkeepDialog* dialog;
        std::vector<QString> texts;  // after ticks 1, 2, 3, 4
    } cases[] = {
        {&update,
         {"正在更新照片库。", "正在更新照片库。。", "正在更新照片库。。。", "正在更新照片库。"}},
        {&tidy,
         {"正在整理数据库。", "正在整理数据库。。", "正在整理数据库。。。", "正在整理数据库。"}},
        {&save,
         {"正在保存数据库。。", "正在保存数据库。。。", "正在保存数据库。", "正在保存数据库。。"}},
    };
    EXPECT_EQ(save.TextLine()->text(), "正在保存数据库。") << "before the first tick";
    for (const auto& c : cases) {
        for (const QString& expected : c.texts) {
            c.dialog->Tick();
            EXPECT_EQ(c.dialog->TextLine()->text(), expected) << c.dialog->Caption().toStdString();
        }
    }
}

TEST(UpkeepDialogs, TheUpdateDialogCancelsAndShowsTheEnd) {
    UpkeepProgress progress;
    progress.stop.RequestStop();
    {
        CDlgUpdatePic dialog(progress);
        EXPECT_FALSE(progress.stop.StopRequested()) << "cleared on opening";
        EXPECT_FALSE(dialog.OkButton()->isEnabled());
        EXPECT_TRUE(dialog.Animating());
        EXPECT_TRUE(dialog.TextLine()->text().isEmpty());
        dialog.CancelButton()->click();
        EXPECT_TRUE(progress.stop.StopRequested());
    }
    progress.stop.Clear();
    CDlgUpdatePic dialog(progress);
    ASSERT_TRUE(ReceiverRegistry::Post(ReceiverRole::UpdateDialog, UiMessage::kUpdateFinished, 0));
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialog.Animating());
    EXPECT_EQ(dialog.TextLine()->text(), "已更新照片库!");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.CancelButton()->click();
    EXPECT_FALSE(progress.stop.StopRequested()) << "nothing left to cancel";
}

TEST(UpkeepDialogs, TheEndSaysWhatTheUpdateAndTheTidyDid) {
    UpkeepProgress progress;
    EXPECT_EQ(UpdateSummary(progress), "已更新照片库!");
    EXPECT_EQ(TidySummary(progress), "已整理完数据库!");
    progress.Report(UpkeepChange::Refreshed, "/p/1.jpg");
    progress.Report(UpkeepChange::PhotoRemoved, "/p/2.jpg");
    progress.Report(UpkeepChange::PhotoRemoved, "/p/3.jpg");
    progress.Report(UpkeepChange::NewFileSeen, "/p/4.jpg");
    EXPECT_EQ(UpdateSummary(progress), "已更新照片库：刷新1张，移除2张，新照片1张");
    EXPECT_EQ(TidySummary(progress), "已整理完数据库：移除2张照片");
    EXPECT_EQ(progress.NewFilePaths(), std::vector<std::string>{"/p/4.jpg"});
    progress.Reset();
    EXPECT_TRUE(progress.NewFilePaths().empty());
}

TEST(UpkeepDialogs, TheTidyDialogLocksWhileItsWorkerRunsAndAsksTheViewToReload) {
    Recorder view;
    ReceiverRegistration viewRole(ReceiverRole::MainView, &view);
    std::vector<bool> started;
    bool accept = false;
    UpkeepProgress progress;
    CDlgUpdate dialog(
        [&](bool thorough) {
            started.push_back(thorough);
            return accept;
        },
        progress);
    dialog.StartButton()->click();  // a tidy already runs: nothing changes
    EXPECT_TRUE(dialog.CloseButton()->isEnabled());
    EXPECT_FALSE(dialog.Animating());

    accept = true;
    dialog.ThoroughBox()->setChecked(true);
    dialog.StartButton()->click();
    EXPECT_EQ(started, (std::vector<bool>{false, true}));
    EXPECT_FALSE(dialog.StartButton()->isEnabled());
    EXPECT_FALSE(dialog.CloseButton()->isEnabled());
    dialog.reject();  // Escape while it runs
    EXPECT_FALSE(view.Got(UiMessage::kRefreshList));

    Deliver(&dialog, UiMessage::kUpdateFinished, UpkeepOutcome::Failed);
    EXPECT_EQ(dialog.TextLine()->text(), "整理数据库失败!");
    Deliver(&dialog, UiMessage::kUpdateFinished, UpkeepOutcome::Done);
    EXPECT_EQ(dialog.TextLine()->text(), "已整理完数据库!");
    dialog.CloseButton()->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(view.Got(UiMessage::kRefreshList));
}

TEST(UpkeepDialogs, TheSaveDialogTellsSuccessFromFailure) {
    CDlgSaveToHd dialog;
    Deliver(&dialog, UiMessage::kSaveFinished, UpkeepOutcome::Failed);
    EXPECT_EQ(dialog.TextLine()->text(), "保存数据库失败!");
    Deliver(&dialog, UiMessage::kSaveFinished, UpkeepOutcome::Done);
    EXPECT_EQ(dialog.TextLine()->text(), "已成功保存数据库!");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
}

class UpkeepControllerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetDataFolder(data_.Path());
        ExitToken.Clear();
    }

    TempFolder data_;
    Library library_;
    TempFolder photos_;
    Recorder pane_, updateDialog_, tidyDialog_, saveDialog_;
    ReceiverRegistration paneRole_{ReceiverRole::CategoryPane, &pane_};
    ReceiverRegistration updateRole_{ReceiverRole::UpdateDialog, &updateDialog_};
    ReceiverRegistration tidyRole_{ReceiverRole::TidyDialog, &tidyDialog_};
    ReceiverRegistration saveRole_{ReceiverRole::SaveDialog, &saveDialog_};
};

TEST_F(UpkeepControllerTest, TheWorkersReportTheirEndAndFreeTheirSlots) {
    UpkeepController upkeep(library_, {nullptr, library_.PendingRegions()});
    ASSERT_TRUE(upkeep.StartUpdateWorker());
    ProcessEventsUntil([&] { return updateDialog_.Got(UiMessage::kUpdateFinished); });
    EXPECT_TRUE(pane_.Got(UiMessage::kDropTrees));
    EXPECT_TRUE(pane_.Got(UiMessage::kRebuildCurrentTree));

    const std::string folder = photos_.Path();
    PhotoRecord r;
    SetField(r.strPath, folder);
    SetField(r.strFullPath, folder + "/gone.jpg");
    InsertPhotoRow(library_, PhotoRef{1, false}, r, {}, {});
    ASSERT_TRUE(upkeep.StartTidyWorker(true));
    ProcessEventsUntil([&] { return tidyDialog_.Got(UiMessage::kUpdateFinished); });
    EXPECT_EQ(tidyDialog_.received.back().second, static_cast<int>(UpkeepOutcome::Done));
    EXPECT_EQ(CountPhotosNow(library_), 0);

    AddDeletedPath(library_, folder + "/removed.jpg");
    ASSERT_TRUE(library_.Modified());
    ASSERT_TRUE(upkeep.StartSaveWorker());
    ProcessEventsUntil([&] { return saveDialog_.Got(UiMessage::kSaveFinished); });
    EXPECT_EQ(saveDialog_.received.back().second, static_cast<int>(UpkeepOutcome::Done));
    EXPECT_FALSE(library_.Modified());
    EXPECT_TRUE(std::filesystem::exists(CatalogueFilePath()));
    ProcessEventsUntil([] { return !WorkerRegistry::AnyRunning(); });
    EXPECT_FALSE(WorkerRegistry::AnyRunning());
}

TEST_F(UpkeepControllerTest, AFailedSaveKeepsTheCatalogueMarkedAsModified) {
    UpkeepController upkeep(library_, {nullptr, library_.PendingRegions()});
    ASSERT_TRUE(OpenCatalogue(library_));
    std::filesystem::create_directories(SaveFilePath() + "/blocker");
    AddDeletedPath(library_, "/photos/removed.jpg");
    ASSERT_TRUE(upkeep.StartSaveWorker());
    ProcessEventsUntil([&] { return saveDialog_.Got(UiMessage::kSaveFinished); });
    EXPECT_EQ(saveDialog_.received.back().second, static_cast<int>(UpkeepOutcome::Failed));
    EXPECT_TRUE(library_.Modified());
}

TEST_F(UpkeepControllerTest, ClearingAsksFirstAndMarksTheEmptyCatalogueModified) {
    UpkeepController upkeep(library_, {nullptr, library_.PendingRegions()});
    std::vector<QString> asked;
    int answer = 2;
    upkeep.SetMessageBox([&](QWidget*, const QString& title, const QString& text, bool) {
        asked.push_back(title + ":" + text);
        return answer;
    });
    InsertPhotoRow(library_, PhotoRef{1, false}, PhotoRecord{}, {}, {});
    ASSERT_EQ(SaveCatalogue(library_), 0);
    upkeep.ClearCommand(nullptr);
    EXPECT_EQ(asked, std::vector<QString>{"警告:确定要清空数据库吗？"});
    EXPECT_EQ(CountPhotosNow(library_), 1) << "cancelled";
    EXPECT_FALSE(library_.Modified());

    answer = 1;
    upkeep.ClearCommand(nullptr);
    EXPECT_EQ(CountPhotosNow(library_), 0);
    EXPECT_TRUE(library_.Modified());
    EXPECT_TRUE(pane_.Got(UiMessage::kDropTrees));
}
