#include <gtest/gtest.h>

#include "browsemodel/grid_selection.h"
#include "browsemodel/photo_list.h"
#include "catalogue/photo_catalogue.h"

namespace {

class GridSelectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        list.Reset(10);
        for (int i = 0; i < 10; ++i) list.Append({100 + i, false});
    }
    std::vector<std::int64_t> Listed() const {
        std::vector<std::int64_t> ids;
        for (const PhotoRef& ref : selection.list.Photos()) ids.push_back(ref.idPic);
        return ids;
    }
    std::vector<int> DrawnSelected() const {
        std::vector<int> drawn;
        for (int i = 0; i < list.Count(); ++i) {
            if (selection.IsSelected(list, i)) drawn.push_back(i);
        }
        return drawn;
    }

    Library library_;
    PhotoList list{library_};
    GridSelection selection;
    static constexpr ClickModifiers kPlain{};
    static constexpr ClickModifiers kCtrl{true, false};
    static constexpr ClickModifiers kShift{false, true};
};

}  // namespace

TEST_F(GridSelectionTest, PlainClickMakesThePhotoCurrentAndTheOnlyOneDrawnSelected) {
    const ClickOutcome outcome = selection.Click(list, 3, kPlain);
    EXPECT_EQ(outcome.oldIndex, 0);
    EXPECT_FALSE(outcome.repaintAll);
    EXPECT_EQ(list.currentIndex, 3);
    EXPECT_TRUE(selection.list.Empty());
    EXPECT_EQ(DrawnSelected(), std::vector<int>{3});
}

TEST_F(GridSelectionTest, ClickOutsideThePhotosKeepsTheCurrentPhoto) {
    selection.Click(list, 4, kPlain);
    selection.Click(list, -1, kPlain);
    selection.Click(list, 10, kPlain);
    EXPECT_EQ(list.currentIndex, 4);
}

TEST_F(GridSelectionTest, CtrlClickAfterAPlainClickSelectsBothPhotos) {
    selection.Click(list, 2, kPlain);
    selection.Click(list, 5, kCtrl);
    EXPECT_TRUE(selection.multiSelectActive);
    EXPECT_EQ(Listed(), (std::vector<std::int64_t>{102, 105}));
    EXPECT_EQ(DrawnSelected(), (std::vector<int>{2, 5}));
}

TEST_F(GridSelectionTest, CtrlClickOnASelectedPhotoDeselectsIt) {
    selection.Click(list, 2, kPlain);
    selection.Click(list, 5, kCtrl);
    selection.Click(list, 7, kCtrl);
    selection.Click(list, 5, kCtrl);
    EXPECT_EQ(Listed(), (std::vector<std::int64_t>{102, 107}));
    EXPECT_EQ(list.currentIndex, 5);
    EXPECT_EQ(DrawnSelected(), (std::vector<int>{2, 7}))
        << "the current photo is not drawn selected";
}

TEST_F(GridSelectionTest, ShiftClickSelectsTheRangeInListOrderWithBothEnds) {
    selection.Click(list, 6, kPlain);
    const ClickOutcome outcome = selection.Click(list, 3, kShift);
    EXPECT_TRUE(outcome.repaintAll);
    EXPECT_EQ(Listed(), (std::vector<std::int64_t>{103, 104, 105, 106}));
    selection.Click(list, 8, kShift);
    EXPECT_EQ(Listed(), (std::vector<std::int64_t>{103, 104, 105, 106, 107, 108}))
        << "the range runs from the previous current photo and replaces the old one";
}

TEST_F(GridSelectionTest, PlainClickAfterAMultiSelectionDropsIt) {
    selection.Click(list, 1, kPlain);
    selection.Click(list, 4, kCtrl);
    const ClickOutcome outcome = selection.Click(list, 6, kPlain);
    EXPECT_TRUE(outcome.repaintAll);
    EXPECT_FALSE(selection.multiSelectActive);
    EXPECT_TRUE(selection.list.Empty());
    EXPECT_EQ(DrawnSelected(), std::vector<int>{6});
}

TEST_F(GridSelectionTest, SelectAllListsEveryPhotoInOrderAndDrawsAllSelected) {
    selection.Click(list, 2, kPlain);
    selection.Click(list, 5, kCtrl);
    selection.SelectAll(list);
    EXPECT_FALSE(selection.multiSelectActive);
    EXPECT_EQ(selection.list.Size(), 10u);
    EXPECT_EQ(selection.list.Photos().front().idPic, 100);
    EXPECT_EQ(selection.list.Photos().back().idPic, 109);
    EXPECT_EQ(DrawnSelected().size(), 10u);
}

TEST_F(GridSelectionTest, PlainClickAfterSelectAllRepaintsEveryCellItDeselects) {
    selection.SelectAll(list);
    const ClickOutcome outcome = selection.Click(list, 4, kPlain);
    EXPECT_TRUE(outcome.repaintAll) << "nine other cells were drawn selected";
    EXPECT_EQ(DrawnSelected(), std::vector<int>{4});
}

TEST_F(GridSelectionTest, CtrlClickAfterSelectAllDeselectsOnlyTheClickedPhoto) {
    selection.Click(list, 2, kPlain);
    selection.SelectAll(list);
    selection.Click(list, 5, kCtrl);
    EXPECT_EQ(DrawnSelected(), (std::vector<int>{0, 1, 2, 3, 4, 6, 7, 8, 9}));
    selection.SelectAll(list);
    selection.Click(list, 5, kCtrl);
    EXPECT_FALSE(selection.list.Contains({105, false})) << "the current photo itself";
    EXPECT_EQ(selection.list.Size(), 9u);
}

TEST(ASelectionList, TellsACatalogedPhotoFromItsDuplicate) {
    SelectionList selection;
    selection.Toggle({7, false});
    selection.Toggle({7, true});
    EXPECT_EQ(selection.Size(), 2u);
    selection.Toggle({7, false});
    EXPECT_FALSE(selection.Contains({7, false}));
    EXPECT_TRUE(selection.Contains({7, true}));
}

TEST(ASelectionList, AppendsTwiceWithoutTheToggleTestAndForgetsOneCopyAtATime) {
    SelectionList selection;
    selection.Append({3, false});
    selection.Append({3, false});
    EXPECT_EQ(selection.Size(), 2u);
    selection.Toggle({3, false});
    EXPECT_TRUE(selection.Contains({3, false}));
    selection.Toggle({3, false});
    EXPECT_TRUE(selection.Empty());
}

TEST(APhotoList, IgnoresEntriesWrittenBeyondItsAllocation) {
    Library library;
    PhotoList list(library);
    list.Reset(2);
    list.Append({1, false});
    list.Append({2, true});
    list.Append({3, false});
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.AllocatedCount(), 2);
    EXPECT_TRUE(list.Entry(1).ref.fromDuplicates);
    list.Reset(0);
    EXPECT_EQ(list.AllocatedCount(), 0);
    EXPECT_FALSE(list.IsValid(0));
}
