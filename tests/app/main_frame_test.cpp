#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDockWidget>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <memory>
#include <set>
#include <thread>

#include "app/command_table.h"
#include "app/main_frame.h"
#include "app_test_folder.h"
#include "catalogue/deleted_paths.h"
#include "catalogue/photo_rows.h"
#include "maplink/map_link.h"
#include "maplink/map_records.h"
#include "messaging/command_ids.h"
#include "messaging/message_event.h"
#include "messaging/receiver_registry.h"
#include "messaging/ui_messages.h"
#include "messaging/worker_registry.h"

namespace {

struct MainFrameTest : ::testing::Test {
    AppTestFolder folder;
    CMainFrame frame;
};

QStringList MenuTitles(QMenuBar* bar) {
    QStringList titles;
    for (QAction* action : bar->actions()) titles << action->text();
    return titles;
}

QMenu* MenuNamed(QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions())
        if (action->text() == title) return action->menu();
    return nullptr;
}

TEST_F(MainFrameTest, HasTheTitleMenusStatusTextAndRegistersAsMainFrame) {
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Darazoz相册管理系统"));
    EXPECT_EQ(MenuTitles(frame.menuBar()),
              (QStringList{QStringLiteral("文件(&F)"), QStringLiteral("编辑(&E)"),
                           QStringLiteral("视图(&V)"), QStringLiteral("帮助(&H)")}));
    EXPECT_EQ(frame.StatusText(), QStringLiteral("就绪"));
    EXPECT_EQ(CMainFrame::Instance(), &frame);
    EXPECT_EQ(ReceiverRegistry::Receiver(ReceiverRole::MainFrame), &frame);
}

TEST_F(MainFrameTest, TheUsualKeysRunTheirCommandsAnywhereInTheWindow) {
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const struct {
        int id;
        int key;
        Qt::KeyboardModifiers modifiers;
    } cases[] = {
        {CommandId::kPaste, Qt::Key_V, Qt::ControlModifier},
        {CommandId::kCopy, Qt::Key_C, Qt::ControlModifier},
        {CommandId::kCut, Qt::Key_X, Qt::ControlModifier},
        {CommandId::kRemoveFromAlbum, Qt::Key_Delete, Qt::NoModifier},
        {CommandId::kSearch, Qt::Key_F, Qt::ControlModifier},
    };
    for (const auto& c : cases) {
        QAction* action = frame.Command(c.id);
        action->setEnabled(true);
        int runs = 0;
        const auto connection = QObject::connect(action, &QAction::triggered, [&] { ++runs; });
        QTest::keyClick(&frame, static_cast<Qt::Key>(c.key), c.modifiers);
        EXPECT_EQ(runs, 1) << action->text().toStdString();
        QObject::disconnect(connection);
    }
}

TEST_F(MainFrameTest, EveryMenuCommandIsReachableByIdWithItsText) {
    for (const MenuDefinition& menu : MainMenus()) {
        for (const MenuEntry& entry : menu.entries) {
            if (entry.id == 0) continue;
            QAction* action = frame.Command(entry.id);
            ASSERT_NE(action, nullptr) << entry.id;
            EXPECT_EQ(action->text(), QString::fromUtf8(entry.text));
            EXPECT_EQ(action->data().toInt(), entry.id);
        }
    }
    EXPECT_EQ(frame.Command(CommandId::kExit)->text(), QStringLiteral("退出(&X)"));
    EXPECT_EQ(frame.Command(CommandId::kAbout)->text(), QStringLiteral("关于Verero"));
    EXPECT_EQ(frame.Command(12345), nullptr);
}

TEST_F(MainFrameTest, CommandsOfUnbuiltWindowsAreDisabledTheShellsOwnAreEnabled) {
    EXPECT_FALSE(frame.Command(CommandId::kAddFolder)->isEnabled());
    EXPECT_FALSE(frame.Command(CommandId::kCopy)->isEnabled());
    EXPECT_FALSE(frame.Command(CommandId::kLargeIcons)->isEnabled());
    EXPECT_TRUE(frame.Command(CommandId::kExit)->isEnabled());
    EXPECT_TRUE(frame.Command(CommandId::kAbout)->isEnabled());
    EXPECT_TRUE(frame.Command(215)->isEnabled());
}

TEST_F(MainFrameTest, EditContextMenuListsThePhotoCommandsInOrder) {
    QStringList texts;
    for (QAction* action : frame.EditContextMenu()->actions())
        if (!action->isSeparator()) texts << action->text();
    EXPECT_EQ(frame.EditContextMenu()->title(), QStringLiteral("编辑"));
    EXPECT_EQ(texts.size(), 12);
    EXPECT_EQ(texts.front(), QStringLiteral("显示照片"));
    EXPECT_EQ(texts[6], QStringLiteral("剪切"));
    EXPECT_EQ(texts.back(), QStringLiteral("将重复照片添加到数据库中"));
    EXPECT_TRUE(frame.EditContextMenu()->actions().contains(
        frame.Command(CommandId::kRemoveFromAlbumContext)));
}

TEST_F(MainFrameTest, ToolbarHasSevenButtonsAndTwoSeparatorsInOrder) {
    const QList<QToolBar*> toolbars = frame.findChildren<QToolBar*>();
    ASSERT_EQ(toolbars.size(), 1);
    EXPECT_EQ(toolbars[0]->windowTitle(), QStringLiteral("标准"));
    std::vector<int> ids;
    for (QAction* action : toolbars[0]->actions())
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
    EXPECT_EQ(ids, (std::vector<int>{32866, 32786, 32787, 0, 32806, 32815, 32816, 0, 32817}));
    EXPECT_EQ(frame.Command(CommandId::kShowPhoto)->toolTip(), QStringLiteral("显示图片"));
}

TEST_F(MainFrameTest, TheBarsContextMenuEndsWithTheToolbarCustomisation) {
    std::unique_ptr<QMenu> menu(frame.createPopupMenu());
    ASSERT_FALSE(menu->actions().isEmpty());
    EXPECT_EQ(menu->actions().back(), frame.Command(CommandId::kCustomizeToolbar));
}

TEST_F(MainFrameTest, CategoryPaneIsDockedLeftAndAbout200Wide) {
    frame.show();
    QDockWidget* pane = frame.CategoryPaneDock();
    EXPECT_EQ(pane->windowTitle(), QStringLiteral("照片列表"));
    EXPECT_EQ(frame.dockWidgetArea(pane), Qt::LeftDockWidgetArea);
    EXPECT_NEAR(pane->width(), 200, 10);
    EXPECT_NE(frame.centralWidget(), nullptr);
}

TEST_F(MainFrameTest, LookMenuOffersTheFourColourLooksWithTheDefaultMarked) {
    QMenu* view = MenuNamed(frame.menuBar(), QStringLiteral("视图(&V)"));
    ASSERT_NE(view, nullptr);
    QMenu* looks = MenuNamed(frame.menuBar(), QStringLiteral("视图(&V)"))->findChild<QMenu*>();
    ASSERT_NE(looks, nullptr);
    EXPECT_EQ(looks->title(), QStringLiteral("程序外观"));
    QStringList texts;
    for (QAction* action : looks->actions()) texts << action->text();
    EXPECT_EQ(texts,
              (QStringList{QStringLiteral("蓝色样式(&B)"), QStringLiteral("黑色样式(&L)"),
                           QStringLiteral("银色样式(&S)"), QStringLiteral("水绿色样式(&A)")}));
    EXPECT_EQ(frame.CurrentLook(), 215);
    EXPECT_TRUE(frame.Command(215)->isChecked());
}

TEST_F(MainFrameTest, ClosingSavesAModifiedCatalogueAfterHiding) {
    ASSERT_TRUE(OpenCatalogue(folder.library()));
    ASSERT_TRUE(QFile::remove(folder.CatalogueFile()));
    AddDeletedPath(folder.library(), "/photos/removed.jpg");  // a committed change
    frame.AttachLibrary(&folder.library());
    frame.show();
    frame.Command(CommandId::kExit)->trigger();
    EXPECT_FALSE(frame.isVisible());
    EXPECT_TRUE(QFile::exists(folder.CatalogueFile()));
}

TEST_F(MainFrameTest, ClosingAnUnmodifiedCatalogueWritesNothing) {
    ASSERT_TRUE(OpenCatalogue(folder.library()));
    ASSERT_TRUE(QFile::remove(folder.CatalogueFile()));
    frame.show();
    frame.close();
    EXPECT_FALSE(QFile::exists(folder.CatalogueFile()));
}

TEST_F(MainFrameTest, ClosingWaitsForARunningImport) {
    WorkerSlot slot(WorkerKind::FolderImport);
    std::thread import([held = std::move(slot)] {
        while (!ExitToken.StopRequested()) std::this_thread::yield();
    });
    frame.show();
    frame.close();
    EXPECT_TRUE(ExitToken.StopRequested());
    EXPECT_FALSE(WorkerRegistry::IsRunning(WorkerKind::FolderImport));
    import.join();
}

// Stands in for the category pane and keeps the map selections it is sent.
class MapPhotosCatcher : public QObject {
  public:
    QList<qint64> ids;
    int received = 0;
    bool event(QEvent* e) override {
        if (e->type() != UiMessage::kShowMapPhotos) return QObject::event(e);
        ids = static_cast<MessageEvent*>(e)->Payload().value<QList<qint64>>();
        ++received;
        return true;
    }
};

TEST_F(MainFrameTest, HandsTheCataloguedPhotosChosenOnTheMapToThePane) {
    ASSERT_TRUE(OpenCatalogue(folder.library()));
    PhotoRecord record{};
    CopyBounded(record.strName, sizeof(record.strName), "map.jpg");
    ASSERT_EQ(InsertPhotoRow(folder.library(), PhotoRef{11, false}, record, {}, {}),
              InsertResult::Done);
    RegionBuffer regions;
    MapLink link(regions);
    frame.AttachLibrary(&folder.library());
    frame.AttachMapLink(&link);
    MapPhotosCatcher pane;
    ReceiverRegistration registration(ReceiverRole::CategoryPane, &pane);

    LinkMessage selection;
    selection.dwData = kCodeShowPhotos;
    selection.data = PackMapPhotoRecords(
        {{11, 0, 0, 0, kMapPhotoSelectionKind}, {22, 0, 0, 0, kMapPhotoSelectionKind}});
    link.HandleMessage(selection);
    QCoreApplication::processEvents();
    frame.AttachMapLink(nullptr);

    EXPECT_EQ(pane.received, 1);
    EXPECT_EQ(pane.ids, QList<qint64>{11});
}

}  // namespace
