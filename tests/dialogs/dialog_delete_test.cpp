#include "dialogs/dialog_delete.h"

#include <gtest/gtest.h>

#include <QCheckBox>

namespace {

TEST(DialogDelete, TicksTheDiskBoxOnlyWhenTheSecondQuestionIsConfirmed) {
    DialogDelete dialog;
    EXPECT_EQ(dialog.Caption(), QStringLiteral("删除照片"));
    EXPECT_FALSE(dialog.DeleteFiles());
    int asked = 0;
    bool answer = false;
    dialog.confirmDiskDelete = [&] {
        ++asked;
        return answer;
    };
    dialog.DiskBox()->setChecked(true);  // 取消 on the question
    EXPECT_FALSE(dialog.DeleteFiles());
    answer = true;
    dialog.DiskBox()->setChecked(true);
    EXPECT_TRUE(dialog.DeleteFiles());
    dialog.DiskBox()->setChecked(false);  // unticking asks nothing
    EXPECT_EQ(asked, 2);
}

TEST(DialogDelete, TheSecondQuestionSaysWhereTheFilesGo) {
    // Files on volumes with a trash can be restored; the warning of a final
    // delete names how many have no trash.
    EXPECT_TRUE(DiskDeleteQuestion(0).contains(QStringLiteral("回收站")));
    EXPECT_FALSE(DiskDeleteQuestion(0).contains(QStringLiteral("无法恢复")));
    EXPECT_TRUE(DiskDeleteQuestion(3).contains(QStringLiteral("其中3张")));
    EXPECT_TRUE(DiskDeleteQuestion(3).contains(QStringLiteral("无法恢复")));
}

}  // namespace
