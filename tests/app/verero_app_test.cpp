#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDockWidget>
#include <QFile>

#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "app/verero_app.h"
#include "app_test_folder.h"
#include "platform/data_folder_lock.h"

namespace {

TEST(QtChineseTranslations, TurnQtsOwnButtonTextsIntoChinese) {
    ASSERT_TRUE(InstallQtChineseTranslations(*QCoreApplication::instance()))
        << "Qt's translations (qt6-translations-l10n) are not installed";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
}

TEST(CVereroApp, StartUpOpensTheCatalogueOfTheDataFolderAndShowsTheFrame) {
    AppTestFolder folder;
    CVereroApp app;
    ASSERT_TRUE(app.InitInstance({"--data-dir", folder.Path().toStdString()}));
    EXPECT_TRUE(QFile::exists(folder.Path() + QStringLiteral("/myJpgdb.db")));
    ASSERT_NE(app.MainFrame(), nullptr);
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(CVereroApp::Instance(), &app);
    EXPECT_TRUE(app.HoldsDataFolderLock());
}

TEST(CVereroApp, StartsWithoutTheFolderLockWhenAnotherInstanceHoldsIt) {
    AppTestFolder folder;
    // Whether the platform grants a second lock inside one process or not,
    // the start must not depend on getting it.
    DataFolderLock other(folder.Path().toStdString());
    CVereroApp app;
    EXPECT_TRUE(app.InitInstance({"--data-dir", folder.Path().toStdString()}));
    EXPECT_NE(app.MainFrame(), nullptr);
}

TEST(CVereroApp, PlacesTheGivenPaneAndViewWidgets) {
    AppTestFolder folder;
    CVereroApp app;
    QWidget* pane = nullptr;
    QWidget* view = nullptr;
    FrameParts parts{[&] { return pane = new QWidget; }, [&] { return view = new QWidget; }};
    ASSERT_TRUE(app.InitInstance({"--data-dir", folder.Path().toStdString()}, parts));
    EXPECT_EQ(app.MainFrame()->CategoryPaneDock()->widget(), pane);
    EXPECT_EQ(app.MainFrame()->centralWidget(), view);
}

}  // namespace
