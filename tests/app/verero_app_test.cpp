#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDockWidget>
#include <QFile>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "app/instance_channel.h"
#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "app/verero_app.h"
#include "app_test_folder.h"
#include "dialogs/dlg_msg.h"
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
    ASSERT_EQ(app.InitInstance({.dataFolder = folder.Path().toStdString()}),
              CVereroApp::StartOutcome::Running);
    EXPECT_TRUE(QFile::exists(folder.Path() + QStringLiteral("/myJpgdb.db")));
    // The programs it starts (the companion) learn the folder from the environment.
    EXPECT_EQ(qEnvironmentVariable("DARAZOZ_DATA_DIR"), folder.Path());
    ASSERT_NE(app.MainFrame(), nullptr);
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(CVereroApp::Instance(), &app);
    EXPECT_TRUE(app.HoldsDataFolderLock());
}

TEST(CVereroApp, AStartOnAFolderHeldByAnotherProgramSaysSoAndOpensNothing) {
    AppTestFolder folder;
    // As darazoz-cli holds it: locked, but nobody listens to take the paths.
    DataFolderLock other(folder.Path().toStdString());
    ASSERT_TRUE(other.held());
    QStringList told;
    CVereroApp app;
    app.SetStartupMessageBox([&](const QString&, const QString& text, bool) {
        told.append(text);
        return kDlgMsgOk;
    });
    const CVereroApp::StartOutcome start =
        app.InitInstance({.dataFolder = folder.Path().toStdString()});
    EXPECT_EQ(start, CVereroApp::StartOutcome::FolderInUse);
    EXPECT_NE(CVereroApp::ExitStatus(start), 0);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(folder.Path())) << told[0].toStdString();
    EXPECT_EQ(app.MainFrame(), nullptr);
    EXPECT_FALSE(QFile::exists(folder.CatalogueFile())) << "the catalogue was not opened";
}

TEST(CVereroApp, ALaterStartOnTheSameFolderHandsItsPathsToTheRunningWindow) {
    AppTestFolder folder;
    CVereroApp app;
    ASSERT_EQ(app.InitInstance({.dataFolder = folder.Path().toStdString(),
                                .paths = {QStringLiteral("/photos/first.jpg")}}),
              CVereroApp::StartOutcome::Running);
    std::vector<QStringList> received;
    app.SetPathsReceiver([&](const QStringList& paths) { received.push_back(paths); });
    ASSERT_EQ(received.size(), 1u) << "the command line's paths wait for the receiver";
    EXPECT_EQ(received[0], QStringList{QStringLiteral("/photos/first.jpg")});

    // Names a path may hold, and more paths than one message carries.
    QStringList many{QStringLiteral("/photos/海 边/a\nb.JPG"), QStringLiteral("/photos/dir")};
    for (int i = 0; i < 12000; ++i)
        many.append(QStringLiteral("/photos/%1/%2.jpg").arg(QString(100, QLatin1Char('x'))).arg(i));
    // Another start spelling the folder differently; it runs beside the
    // window's event loop as a second process would.
    const std::string spelled = folder.Path().toStdString() + "/./";
    std::atomic<int> handedOver{-1};
    std::thread later([&] {
        handedOver = HandOverToRunningInstance(spelled, many, std::chrono::seconds(2)) ? 1 : 0;
    });
    const auto guard = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (handedOver < 0 && std::chrono::steady_clock::now() < guard)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    later.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(handedOver, 1);
    QStringList arrived;
    for (std::size_t i = 1; i < received.size(); ++i) arrived += received[i];
    EXPECT_GT(received.size(), 2u) << "split over several messages";
    EXPECT_EQ(arrived, many);
}

TEST(CVereroApp, PlacesTheGivenPaneAndViewWidgets) {
    AppTestFolder folder;
    CVereroApp app;
    QWidget* pane = nullptr;
    QWidget* view = nullptr;
    FrameParts parts{[&] { return pane = new QWidget; }, [&] { return view = new QWidget; }};
    ASSERT_EQ(app.InitInstance({.dataFolder = folder.Path().toStdString()}, parts),
              CVereroApp::StartOutcome::Running);
    EXPECT_EQ(app.MainFrame()->CategoryPaneDock()->widget(), pane);
    EXPECT_EQ(app.MainFrame()->centralWidget(), view);
}

}  // namespace
