#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "widgets/path_dialog.h"

namespace {

TEST(CPathDialog, StartsWithTheInitialFolderInTheEditBox) {
    QTemporaryDir folder;
    CPathDialog dialog(nullptr, folder.path());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("文件夹选择"));
    EXPECT_EQ(dialog.PathEdit()->text(), folder.path());
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
}

TEST(CPathDialog, KeepsTheDialogOpenOnAPathThatDoesNotExist) {
    QTemporaryDir folder;
    CPathDialog dialog(nullptr, folder.path());
    dialog.show();
    dialog.PathEdit()->setText(folder.filePath(QStringLiteral("missing")));
    dialog.OkButton()->setFocus();
    dialog.OkButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.PathEdit());
    EXPECT_TRUE(dialog.PathName().isEmpty());
}

TEST(CPathDialog, ReturnsOneAndThePathForAnExistingFolder) {
    QTemporaryDir folder;
    CPathDialog dialog(nullptr, QDir::tempPath());
    QTimer::singleShot(0, &dialog, [&] {
        dialog.PathEdit()->setText(folder.path());
        dialog.OkButton()->click();
    });
    EXPECT_EQ(dialog.DoModal(), 1);
    EXPECT_EQ(dialog.PathName(), folder.path());
}

TEST(CPathDialog, CancelReturnsMinusOne) {
    CPathDialog dialog;
    QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    EXPECT_EQ(dialog.DoModal(), -1);
}

TEST(CPathDialog, OkIsDisabledWhileTheEditBoxIsEmpty) {
    CPathDialog dialog;
    dialog.show();
    dialog.PathEdit()->selectAll();
    QTest::keyClick(dialog.PathEdit(), Qt::Key_Delete);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    QTest::keyClicks(dialog.PathEdit(), QStringLiteral("/"));
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
}

}  // namespace
