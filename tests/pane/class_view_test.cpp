#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "messaging/command_ids.h"
#include "messaging/message_event.h"
#include "messaging/ui_messages.h"
#include "pane/class_view.h"
#include "pane/tree_ctrl_ex.h"
#include "tree_fixture.h"
#include "view/verero_view.h"

namespace {

// Photos 1, 2 (March 2021), 3 (May 2021) and 4 (January 2020).
class ClassViewTest : public TreeTest {
  protected:
    void SetUp() override {
        TreeTest::SetUp();
        Add({.id = 1, .name = "a.jpg", .dateTime = LocalTime(2021, 3, 1)});
        Add({.id = 2, .name = "b.jpg", .dateTime = LocalTime(2021, 3, 2)});
        Add({.id = 3, .name = "c.jpg", .dateTime = LocalTime(2021, 5, 1)});
        Add({.id = 4, .name = "d.jpg", .dateTime = LocalTime(2020, 1, 1)});
        view = std::make_unique<CVereroView>(library());
        pane = std::make_unique<CClassView>(*view);
        pane->resize(250, 500);
        pane->show();
        tree()->expandAll();
    }
    void TearDown() override {
        pane.reset();
        view.reset();
        TreeTest::TearDown();
    }
    CTreeCtrlEx* tree() const { return pane->CurrentTree(); }
    QModelIndex Item(int top, int child = -1, int grandchild = -1) const {
        QModelIndex index = tree()->model()->index(top, 0);
        if (child >= 0) index = tree()->model()->index(child, 0, index);
        if (grandchild >= 0) index = tree()->model()->index(grandchild, 0, index);
        return index;
    }
    void Click(const QModelIndex& index, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, modifiers,
                          tree()->visualRect(index).center());
    }
    std::vector<std::int64_t> Listed() const {
        std::vector<std::int64_t> ids;
        for (int i = 0; i < view->Photos().Count(); ++i)
            ids.push_back(view->Photos().Entry(i).ref.idPic);
        return ids;
    }
    void Send(int number) {
        MessageEvent message(number);
        QCoreApplication::sendEvent(pane.get(), &message);
    }

    std::unique_ptr<CVereroView> view;
    std::unique_ptr<CClassView> pane;
};

using Ids = std::vector<std::int64_t>;

TEST_F(ClassViewTest, CreationBuildsTheShotTimeTreeAndListsItsFirstGroup) {
    ASSERT_NE(tree(), nullptr);
    EXPECT_EQ(pane->CurrentMode(), SortMode::ShotTime);
    EXPECT_EQ(Item(0).data().toString(), "2021年[3]");
    EXPECT_EQ(Listed(), (Ids{3, 2, 1}));
    EXPECT_EQ(tree()->Caret(), Item(0));
}

// With a large catalogue the window is drawn first: the pane says it is
// reading and builds the first grouping right after its first paint.
TEST_F(ClassViewTest, APaneWaitingForItsFirstPaintBuildsTheFirstGroupingRightAfterIt) {
    pane.reset();
    view->ResetPhotoList(0);
    pane = std::make_unique<CClassView>(*view, nullptr, CClassView::FirstTree::AfterFirstPaint);
    pane->resize(250, 500);
    EXPECT_EQ(tree(), nullptr);
    pane->grab();
    EXPECT_EQ(tree(), nullptr);
    QCoreApplication::processEvents();
    ASSERT_NE(tree(), nullptr);
    EXPECT_EQ(Listed(), (Ids{3, 2, 1}));
}

TEST_F(ClassViewTest, ChoosingTheShownGroupingAgainDoesNothing) {
    QAction* button = nullptr;
    for (QAction* action : pane->SortToolBar()->actions())
        if (action->data().toInt() == CommandId::kSortByTime) button = action;
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isChecked());
    view->ResetPhotoList(0);
    button->trigger();
    EXPECT_EQ(view->Photos().Count(), 0);
    EXPECT_TRUE(button->isChecked());  // the shown grouping's button stays down
}

TEST_F(ClassViewTest, GroupClickListsItsPhotosAndLeafClickListsTheParentWithTheLeafCurrent) {
    Click(Item(1));
    EXPECT_EQ(Listed(), Ids{4});
    Click(Item(0, 1, 1));  // March: the second photo
    EXPECT_EQ(Listed(), (Ids{2, 1}));
    EXPECT_EQ(view->Photos().currentIndex, 1);
    EXPECT_EQ(view->Photos().Entry(1).ref.idPic, tree()->Model()->LeafOf(Item(0, 1, 1))->ref.idPic);
}

TEST_F(ClassViewTest, ClickingTheSameLeafAgainAfterAGroupDoesNotRefillTheView) {
    Click(Item(0, 1, 0));
    Click(Item(1));
    Click(Item(0, 1, 0));
    EXPECT_EQ(Listed(), Ids{4});
}

TEST_F(ClassViewTest, CtrlAndShiftClicksLeaveTheListAndCollectSelectionTakesEverythingBeneath) {
    Click(Item(1));
    Click(Item(0, 1), Qt::ControlModifier);
    Click(Item(0, 0, 0), Qt::ControlModifier);
    EXPECT_EQ(Listed(), Ids{4});
    pane->CollectSelection();
    // Display order: May (3), March (2, 1), then 2020 (4); nothing twice here.
    Ids collected;
    for (const PhotoRef& photo : view->Selection().list.Photos()) collected.push_back(photo.idPic);
    EXPECT_EQ(collected, (Ids{3, 2, 1, 4}));
}

TEST_F(ClassViewTest, APhotoSelectedWithItsGroupIsCollectedTwice) {
    Click(Item(0, 0, 0));                    // May's photo 3
    Click(Item(0, 0), Qt::ControlModifier);  // and May itself
    pane->CollectSelection();
    Ids collected;
    for (const PhotoRef& photo : view->Selection().list.Photos()) collected.push_back(photo.idPic);
    EXPECT_EQ(collected, (Ids{3, 3}));
}

TEST_F(ClassViewTest, DroppedTreesAreRebuiltWithTheListInItsCategory) {
    // An import, a removal or a tidy drops the trees and rebuilds: the list
    // stays in the group the user was in, whole year or leaf alike.
    Click(Item(1));
    Send(UiMessage::kDropTrees);
    EXPECT_EQ(pane->CurrentTree(), nullptr);
    Add({.id = 5, .name = "e.jpg", .dateTime = LocalTime(2022, 6, 1)});
    Send(UiMessage::kRebuildCurrentTree);
    ASSERT_NE(pane->CurrentTree(), nullptr);
    EXPECT_EQ(Item(0).data().toString(), "2022年[1]");
    EXPECT_EQ(Listed(), Ids{4});
    EXPECT_EQ(tree()->Caret(), Item(2));

    tree()->expandAll();
    Click(Item(1, 1, 0));  // March 2021, photo 2 current
    Send(UiMessage::kDropTrees);
    Send(UiMessage::kRebuildCurrentTree);
    EXPECT_EQ(Listed(), (Ids{2, 1}));
    EXPECT_EQ(view->Photos().Entry(view->Photos().currentIndex).ref.idPic, 2);

    // A month that is gone leaves the list in its year.
    DeletePhotoRows(library(), std::nullopt, PhotoRef{1, false});
    DeletePhotoRows(library(), std::nullopt, PhotoRef{2, false});
    Send(UiMessage::kDropTrees);
    Send(UiMessage::kRebuildCurrentTree);
    EXPECT_EQ(Listed(), Ids{3});
}

TEST_F(ClassViewTest, ATreeWithoutItemsListsNoPhotos) {
    // The photos' folder is not in the folder list: the folder grouping has
    // a tree, but no items.
    pane->ShowMode(SortMode::FolderTree);
    ASSERT_NE(tree(), nullptr);
    ASSERT_FALSE(tree()->HasItems());
    EXPECT_EQ(Listed(), Ids{});
    // Nor does a refresh keep photos that the tree does not hold.
    view->ResetPhotoList(1);
    view->Photos().Append({1, false});
    view->RefreshList(false);
    EXPECT_EQ(Listed(), Ids{});
}

TEST_F(ClassViewTest, GroupingsAreCachedUntilDropped) {
    pane->ShowMode(SortMode::CameraModel);
    CTreeCtrlEx* cameras = pane->CurrentTree();
    ASSERT_NE(cameras, nullptr);
    const CategoryTree* built = cameras->Tree();
    pane->ShowMode(SortMode::ShotTime);
    pane->ShowMode(SortMode::CameraModel);
    EXPECT_EQ(pane->CurrentTree()->Tree(), built);
    Send(UiMessage::kDropTrees);
    EXPECT_EQ(cameras->Tree(), nullptr);
}

TEST_F(ClassViewTest, StaleRegionsDropOnlyTheRegionTree) {
    pane->ShowMode(SortMode::RegionGroups);
    CTreeCtrlEx* regions = pane->CurrentTree();
    ASSERT_NE(regions, nullptr);
    pane->ShowMode(SortMode::ShotTime);
    const CategoryTree* shotTimes = tree()->Tree();
    Send(UiMessage::kRegionTreeStale);
    EXPECT_EQ(regions->Tree(), nullptr);
    ASSERT_NE(tree(), nullptr);
    EXPECT_EQ(tree()->Tree(), shotTimes);

    // While searching, the keyword grouping shows the filtered shot-time
    // tree, which the region grouping shares; it stays as it is.
    pane->SetSearchActive(true);
    pane->ShowMode(SortMode::KeywordGroups);
    ASSERT_NE(tree(), nullptr);
    const CategoryTree* filtered = tree()->Tree();
    Click(Item(1));
    Send(UiMessage::kRegionTreeStale);
    ASSERT_NE(tree(), nullptr);
    EXPECT_EQ(tree()->Tree(), filtered);
    EXPECT_EQ(Listed(), Ids{4});
}

TEST_F(ClassViewTest, StaleRegionsInTheRegionGroupingFindTheListedCategoryAgain) {
    Add({.id = 5,
         .name = "e.jpg",
         .dateTime = LocalTime(2019, 1, 1),
         .regions = {"北京市", "海淀区", ""}});
    pane->ShowMode(SortMode::RegionGroups);
    tree()->expandAll();
    ASSERT_EQ(Item(1).data().toString(), "无区域信息[4]");
    Click(Item(1, 1));
    const Ids before = Listed();
    ASSERT_EQ(before.size(), 4u);
    // The current photo is gone by the time the regions change: the
    // category is found again by its label.
    DeletePhotoRows(library(), std::nullopt, PhotoRef{before[1], false});
    ASSERT_FALSE(PhotoIdExists(library(), before[1]));
    Send(UiMessage::kRegionTreeStale);
    ASSERT_NE(tree(), nullptr);
    EXPECT_EQ(Listed(), (Ids{before[0], before[2], before[3]}));
    EXPECT_EQ(*view->Photos().categoryNode, tree()->Model()->GroupOf(Item(1)));
}

TEST_F(ClassViewTest, MapPhotosArriveAsTheirOwnTreeAndSurviveDroppingTrees) {
    MessageEvent message(UiMessage::kShowMapPhotos, QVariant::fromValue(QList<qint64>{4, 1}));
    QCoreApplication::sendEvent(pane.get(), &message);
    EXPECT_EQ(pane->CurrentMode(), SortMode::FromMap);
    EXPECT_EQ(Listed(), (Ids{4, 1}));
    Send(UiMessage::kDropTrees);
    EXPECT_NE(pane->TreeOf(SortMode::FromMap)->Tree(), nullptr);
}

TEST_F(ClassViewTest, TheMapListKeepsAButtonToComeBackTo) {
    const QList<QAction*> buttons = pane->SortToolBar()->actions();
    QAction* map = buttons.back();
    EXPECT_FALSE(map->isVisible()) << "no photos came from the map yet";
    MessageEvent message(UiMessage::kShowMapPhotos, QVariant::fromValue(QList<qint64>{4, 1}));
    QCoreApplication::sendEvent(pane.get(), &message);
    EXPECT_TRUE(map->isVisible());
    EXPECT_TRUE(map->isChecked());
    pane->ShowMode(SortMode::CameraModel);
    EXPECT_FALSE(map->isChecked());
    map->trigger();
    EXPECT_EQ(pane->CurrentMode(), SortMode::FromMap);
    EXPECT_EQ(Listed(), (Ids{4, 1}));
}

TEST_F(ClassViewTest, TheMoreButtonShowsWhenTheCurrentGroupingIsBehindIt) {
    auto* more = pane->SortToolBar()->findChild<QToolButton*>("qt_toolbar_ext_button");
    ASSERT_NE(more, nullptr);
    pane->resize(120, 500);
    QCoreApplication::processEvents();
    pane->ShowMode(SortMode::RegionGroups);
    EXPECT_TRUE(more->isChecked());
    pane->ShowMode(SortMode::ShotTime);
    EXPECT_FALSE(more->isChecked());
}

TEST_F(ClassViewTest, CtrlAInThePaneSelectsEveryPhotoOfTheList) {
    QTest::keyClick(tree(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view->Selection().list.Size(), 3u);
}

TEST_F(ClassViewTest, CtrlCInThePaneLeavesTheViewsCopyOnTheClipboard) {
    PaneHooks hooks;
    hooks.commandAvailable = [](int id) { return id == CommandId::kCopy; };
    int copies = 0;
    hooks.runCommand = [&](int) {
        ++copies;
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile("/photos/a.jpg")});
        QGuiApplication::clipboard()->setMimeData(data);
    };
    pane->SetHooks(hooks);
    QTest::keyClick(tree(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
    // The tree itself copies nothing over the photos (no label text).
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(clipboard, nullptr);
    EXPECT_EQ(clipboard->urls(), QList<QUrl>{QUrl::fromLocalFile("/photos/a.jpg")});
}

TEST_F(ClassViewTest, DroppedFilesGoToTheImportInOrder) {
    QStringList received;
    PaneHooks hooks;
    hooks.acceptDroppedPaths = [&](const QStringList& paths) { received = paths; };
    pane->SetHooks(hooks);
    pane->DropPaths({QUrl::fromLocalFile("/x/a.JPG"), QUrl("http://example.com/b.jpg"),
                     QUrl::fromLocalFile("/x/folder")});
    EXPECT_EQ(received, (QStringList{"/x/a.JPG", "/x/folder"}));
}

TEST_F(ClassViewTest, UncarriedCommandsStayDisabledInTheContextMenu) {
    PaneHooks hooks;
    hooks.commandAvailable = [](int id) { return id == 57634; };
    std::vector<int> run;
    hooks.runCommand = [&](int id) { run.push_back(id); };
    pane->SetHooks(hooks);
    pane->UpdateMenuStates();
    int enabled = 0;
    for (QAction* action : pane->ContextMenu()->actions())
        enabled += action->isEnabled() && !action->isSeparator();
    EXPECT_EQ(enabled, 1);
    Click(Item(0, 1));
    pane->RunMenuCommand(57634);
    EXPECT_EQ(run, std::vector<int>{57634});
    EXPECT_EQ(view->Selection().list.Size(), 2u);
}

}  // namespace
