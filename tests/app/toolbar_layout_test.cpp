#include "app/toolbar_layout.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QToolBar>

#include "app/main_frame.h"
#include "app/toolbar_customize_dialog.h"
#include "app_test_folder.h"
#include "messaging/command_ids.h"

namespace {

using CommandId::kAddFolder;
using CommandId::kDetailList;
using CommandId::kProperties;
using CommandId::kSearch;
using CommandId::kShowPhoto;

std::vector<int> ToolbarIds(const CMainFrame& frame) {
    std::vector<int> ids;
    for (QAction* action : frame.findChild<QToolBar*>()->actions())
        ids.push_back(action->isSeparator() ? 0 : action->data().toInt());
    return ids;
}

// Leaves the settings as a fresh installation has them.
struct SavedToolbarLayout : ::testing::Test {
    ~SavedToolbarLayout() override { WriteToolbarLayout(DefaultToolbarLayout()); }
    AppTestFolder folder;
};

TEST(AStoredToolbarLayout, losesStrangersAndRepeatsAndRegainsMissingButtons) {
    const ToolbarLayout stored = {
        {kSearch, true}, {4711, true}, {kSearch, false}, {0, false}, {kShowPhoto, false}};
    const ToolbarLayout layout = NormalizedToolbarLayout(stored);
    ASSERT_GE(layout.size(), 4u);
    EXPECT_EQ(layout[0], (ToolbarSlot{kSearch, true}));
    EXPECT_EQ(layout[1], (ToolbarSlot{0, false}));
    EXPECT_EQ(layout[2], (ToolbarSlot{kShowPhoto, false}));
    // The buttons it did not mention follow, shown, each once.
    int buttons = 0;
    for (const ToolbarSlot& slot : layout) buttons += slot.id != 0;
    EXPECT_EQ(buttons, 7);
    EXPECT_EQ(layout[3], (ToolbarSlot{kAddFolder, true}));
}

TEST_F(SavedToolbarLayout, isShownByTheNextMainWindowWithoutItsHiddenButtons) {
    WriteToolbarLayout({{kDetailList, true}, {0, true}, {kAddFolder, false}, {kSearch, true}});
    CMainFrame frame;
    const std::vector<int> ids = ToolbarIds(frame);
    ASSERT_GE(ids.size(), 3u);
    EXPECT_EQ(std::vector<int>(ids.begin(), ids.begin() + 3),
              (std::vector<int>{kDetailList, 0, kSearch}));
    EXPECT_EQ(std::count(ids.begin(), ids.end(), kAddFolder), 0);
    EXPECT_TRUE(frame.Command(CommandId::kCustomizeToolbar)->isEnabled());
}

TEST_F(SavedToolbarLayout, isEditedInTheDialogByMovingUntickingAndResetting) {
    CDlgCustomizeToolbar dialog(DefaultToolbarLayout(), {}, nullptr);
    dialog.List()->setCurrentRow(1);  // 显示照片
    dialog.MoveCurrent(-1);
    dialog.List()->item(2)->setCheckState(Qt::Unchecked);  // 查看照片属性
    ToolbarLayout layout = dialog.Layout();
    EXPECT_EQ(layout[0], (ToolbarSlot{kShowPhoto, true}));
    EXPECT_EQ(layout[1], (ToolbarSlot{kAddFolder, true}));
    EXPECT_EQ(layout[2], (ToolbarSlot{kProperties, false}));
    dialog.MoveCurrent(-1);  // already at the top: stays
    EXPECT_EQ(dialog.Layout()[0].id, kShowPhoto);
    dialog.Reset();
    EXPECT_EQ(dialog.Layout(), DefaultToolbarLayout());
}

}  // namespace
