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

}  // namespace
