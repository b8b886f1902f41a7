#include <gtest/gtest.h>

#include <QDockWidget>
#include <QFile>

#include "app/main_frame.h"
#include "app/verero_app.h"
#include "app_test_folder.h"
#include "platform/data_folder_lock.h"

namespace {

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
