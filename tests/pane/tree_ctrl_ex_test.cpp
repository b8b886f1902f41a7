#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "pane/tree_ctrl_ex.h"

namespace {

// Groups A (photos a1, a2), B (b1, b2) and C (c1), all expanded.
class TreeCtrlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto tree = std::make_unique<CategoryTree>();
        std::int64_t id = 1;
        for (const char* group : {"A", "B", "C"}) {
            const NodeIndex node = tree->AddGroup(kRootNode, group);
            const int photos = std::string(group) == "C" ? 1 : 2;
            for (int i = 1; i <= photos; ++i, ++id)
                tree->AddPhoto(node, {id, false},
                               std::string(1, group[0] + 32) + std::to_string(i));
        }
        control.SetTree(std::move(tree));
        control.resize(300, 400);
        control.expandAll();
        control.show();
    }
    QModelIndex Item(int top, int photo = -1) const {
        const QModelIndex group = control.model()->index(top, 0);
        return photo < 0 ? group : control.model()->index(photo, 0, group);
    }
    void Press(const QModelIndex& index, Qt::KeyboardModifiers modifiers = {},
               Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(control.viewport(), button, modifiers,
                          control.visualRect(index).center());
    }
    void Release(const QModelIndex& index, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseRelease(control.viewport(), Qt::LeftButton, modifiers,
                            control.visualRect(index).center());
    }
    void Click(const QModelIndex& index, Qt::KeyboardModifiers modifiers = {}) {
        Press(index, modifiers);
        Release(index, modifiers);
    }
    std::vector<QString> Selected() const {
        std::vector<QString> labels;
        for (const QModelIndex& index : control.SelectedInDisplayOrder())
            labels.push_back(index.data().toString());
        return labels;
    }

    CTreeCtrlEx control;
};

using Labels = std::vector<QString>;

TEST_F(TreeCtrlTest, ModelListsChildGroupsThenPhotosWithTheirParents) {
    const QAbstractItemModel* model = control.model();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->rowCount(Item(0)), 2);
    EXPECT_EQ(Item(1, 1).data().toString(), "b2");
    EXPECT_EQ(model->parent(Item(1, 1)), Item(1));
    EXPECT_FALSE(model->hasChildren(Item(1, 1)));
    EXPECT_EQ(control.Model()->LeafOf(Item(2, 0))->ref.idPic, 5);
}

TEST_F(TreeCtrlTest, PlainClickSelectsOnlyTheItemAndReportsIt) {
    QSignalSpy reports(&control, &CTreeCtrlEx::caretReported);
    QSignalSpy cleared(&control, &CTreeCtrlEx::selectionListCleared);
    Click(Item(0));
    Click(Item(1, 0));
    EXPECT_EQ(Selected(), Labels{"b1"});
    EXPECT_EQ(control.Caret(), Item(1, 0));
    EXPECT_EQ(reports.count(), 2);
    EXPECT_EQ(cleared.count(), 2);
}

TEST_F(TreeCtrlTest, CtrlAndShiftClicksChangeTheSelectionWithoutReports) {
    Click(Item(0));
    QSignalSpy reports(&control, &CTreeCtrlEx::caretReported);
    Click(Item(1), Qt::ControlModifier);
    EXPECT_EQ(Selected(), (Labels{"A", "B"}));
    Click(Item(0), Qt::ControlModifier);  // toggles off
    EXPECT_EQ(Selected(), Labels{"B"});
    Click(Item(2), Qt::ShiftModifier);  // from the anchor A to C, exactly
    EXPECT_EQ(Selected(), (Labels{"A", "a1", "a2", "B", "b1", "b2", "C"}));
    Click(Item(0, 1), Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Labels{"A", "a1", "a2"}));
    EXPECT_EQ(reports.count(), 0);
    EXPECT_TRUE(control.MultiSelectActive());
}

TEST_F(TreeCtrlTest, PressOnASelectedItemKeepsTheMultiSelectionUntilRelease) {
    Click(Item(0));
    Click(Item(1), Qt::ControlModifier);
    Press(Item(1));
    EXPECT_EQ(Selected(), (Labels{"A", "B"}));
    Release(Item(1));
    EXPECT_EQ(Selected(), Labels{"B"});
    EXPECT_FALSE(control.MultiSelectActive());
}

TEST_F(TreeCtrlTest, RightPressMovesTheCaretOnlyWhileFewerThanTwoAreSelected) {
    Click(Item(0));
    Press(Item(2), {}, Qt::RightButton);
    EXPECT_EQ(Selected(), Labels{"C"});
    Click(Item(0), Qt::ControlModifier);
    Press(Item(1), {}, Qt::RightButton);
    EXPECT_EQ(Selected(), (Labels{"A", "C"}));
}

TEST_F(TreeCtrlTest, CollapsingANodeDeselectsEverythingBeneathIt) {
    Click(Item(0, 0));
    Click(Item(0, 1), Qt::ControlModifier);
    Click(Item(1), Qt::ControlModifier);
    control.collapse(Item(0));
    EXPECT_EQ(Selected(), Labels{"B"});
}

TEST_F(TreeCtrlTest, ShiftArrowsExtendFromTheAnchorAndPlainArrowsDropTheRange) {
    Click(Item(1));
    QSignalSpy reports(&control, &CTreeCtrlEx::caretReported);
    QTest::keyClick(&control, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&control, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Labels{"B", "b1", "b2"}));
    QTest::keyClick(&control, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Labels{"B", "b1"}));
    EXPECT_EQ(reports.count(), 0);
    QTest::keyClick(&control, Qt::Key_Down);
    EXPECT_EQ(Selected(), Labels{"b2"});
    EXPECT_EQ(reports.count(), 1);
}

TEST_F(TreeCtrlTest, CaretInsideTheDuplicatesGroupIsRecognisedWithoutLetterCase) {
    auto tree = std::make_unique<CategoryTree>();
    const NodeIndex duplicates = tree->AddGroup(kRootNode, "*重复照片列表*[1]");
    const NodeIndex folder = tree->AddGroup(duplicates, "/photos[1]");
    tree->AddPhoto(folder, {9, true}, "x.jpg");
    tree->AddGroup(kRootNode, "2020年[0]");
    control.SetTree(std::move(tree));
    control.expandAll();
    control.SetCaret(control.model()->index(0, 0, control.model()->index(0, 0, Item(0))));
    EXPECT_TRUE(control.CaretInsideDuplicatesGroup());
    control.SetCaret(Item(1));
    EXPECT_FALSE(control.CaretInsideDuplicatesGroup());
}

}  // namespace
