#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "import/import_state.h"
#include "importui/dlg_new_pic.h"

namespace {

class CDlg_NewPicTest : public ::testing::Test {
  protected:
    ImportProgress progress_;
};

TEST_F(CDlg_NewPicTest, OpensWithTheInitialTextsAndOkDisabled) {
    CDlg_NewPic dialog(progress_);
    EXPECT_EQ(dialog.Caption(), QStringLiteral("导入照片"));
    EXPECT_EQ(dialog.ImportedLine()->text(), QStringLiteral("已导入照片：0/0张"));
    EXPECT_EQ(dialog.DuplicateLine()->text(), QStringLiteral("重复照片：0张"));
    EXPECT_EQ(dialog.NotImportedLine()->text(), QStringLiteral("未导入：0张"));
    EXPECT_EQ(dialog.DoneLine()->text(), QStringLiteral("已完成："));
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_TRUE(dialog.CancelButton()->isEnabled());
}

TEST_F(CDlg_NewPicTest, AnEmptyCountShowsZeroPercentAndNeverEnablesOk) {
    CDlg_NewPic dialog(progress_);
    dialog.StartRefresh();
    dialog.Refresh();
    EXPECT_EQ(dialog.ImportedLine()->text(), QStringLiteral("已导入照片：0/0张"));
    EXPECT_EQ(dialog.DoneLine()->text(), QStringLiteral("已完成：0%"));
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_TRUE(dialog.Refreshing());
}

TEST_F(CDlg_NewPicTest, EnablesOkAndStopsRefreshingOnceEveryFileWasHandled) {
    CDlg_NewPic dialog(progress_);
    dialog.StartRefresh();
    ImportProgress& progress = progress_;
    progress.total = 4;
    progress.imported = 1;
    dialog.Refresh();
    EXPECT_EQ(dialog.Bar()->maximum(), 4);
    EXPECT_EQ(dialog.Bar()->value(), 1);
    EXPECT_EQ(dialog.DoneLine()->text(), QStringLiteral("已完成：25%"));
    EXPECT_FALSE(dialog.OkButton()->isEnabled());

    progress.imported = 2;
    progress.CountNotImported(nullptr);
    progress.CountNotImported(&progress.thirdCopies);
    dialog.Refresh();
    EXPECT_EQ(dialog.ImportedLine()->text(), QStringLiteral("已导入照片：2/4张"));
    EXPECT_EQ(dialog.DuplicateLine()->text(), QStringLiteral("重复照片：1张"));
    EXPECT_EQ(dialog.NotImportedLine()->text(), QStringLiteral("未导入：1张（第三份副本1张）"));
    EXPECT_EQ(dialog.DoneLine()->text(), QStringLiteral("已完成：100%"));
    EXPECT_EQ(dialog.Bar()->value(), 4);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_FALSE(dialog.Refreshing());
}

TEST_F(CDlg_NewPicTest, CancelSetsTheImportCancelFlagAndCloses) {
    CDlg_NewPic dialog(progress_);
    dialog.show();
    dialog.StartRefresh();
    dialog.CancelButton()->click();
    EXPECT_TRUE(progress_.stop.StopRequested());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.Refreshing());
}

}  // namespace
