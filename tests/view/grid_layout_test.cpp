#include <gtest/gtest.h>

#include "view/grid_layout.h"

namespace {

GridLayout Laid(int cellSize, int width, int height, int count) {
    GridLayout layout;
    layout.cellSize = cellSize;
    layout.Lay(width, height, count);
    return layout;
}

}  // namespace

TEST(AGridLayout, MakesTheDocumentOneRowTallerThanTheListWhenThePhotosDoNotFit) {
    const GridLayout layout = Laid(180, 800, 600, 13);  // 4 columns, 3 rows fit = 12
    EXPECT_EQ(layout.columns, 4);
    EXPECT_EQ(layout.documentHeight, 180 * (13 / 4 + 1));
}

TEST(AGridLayout, KeepsTheDocumentAtTheClientHeightWhenEveryPhotoFits) {
    EXPECT_EQ(Laid(180, 800, 600, 12).documentHeight, 600);
    EXPECT_EQ(Laid(100, 800, 600, 48).documentHeight, 600);
}

TEST(AGridLayout, KeepsOneColumnInAWindowNarrowerThanACell) {
    const GridLayout layout = Laid(180, 100, 600, 5);
    EXPECT_EQ(layout.columns, 1);
    EXPECT_EQ(layout.HitTest(50, 190, 0, 0, 5), 1);
    EXPECT_EQ(layout.documentHeight, 180 * 6);
}

TEST(AGridLayout, HitTestsCellsWithTheScrollOffset) {
    const GridLayout layout = Laid(180, 800, 600, 40);
    EXPECT_EQ(layout.HitTest(0, 0, 0, 0, 40), 0);
    EXPECT_EQ(layout.HitTest(179, 179, 0, 0, 40), 0);
    EXPECT_EQ(layout.HitTest(180, 0, 0, 0, 40), 1);
    EXPECT_EQ(layout.HitTest(365, 10, 0, 360, 40), 2 * 4 + 2);
}

TEST(AGridLayout, FindsNoPhotoRightOfTheLastColumnOrBeyondTheList) {
    const GridLayout layout = Laid(180, 800, 600, 6);  // columns end at x 720
    EXPECT_EQ(layout.HitTest(725, 10, 0, 0, 6), -1);
    EXPECT_EQ(layout.HitTest(400, 200, 0, 0, 6), -1) << "index 6 of 6 photos";
    EXPECT_EQ(layout.HitTest(10, -5, 0, 0, 6), -1);
}

TEST(AGridLayout, ListsTheEntriesOfTheRowsInAPaintBand) {
    const GridLayout layout = Laid(100, 500, 300, 23);
    EXPECT_EQ(layout.VisibleRange(0, 300, 23), std::make_pair(0, 15));
    EXPECT_EQ(layout.VisibleRange(150, 151, 23), std::make_pair(5, 10));
    EXPECT_EQ(layout.VisibleRange(300, 600, 23), std::make_pair(15, 23));
    EXPECT_EQ(layout.FirstScreenCount(23), 15);
    EXPECT_EQ(Laid(100, 500, 250, 23).FirstScreenCount(23), 15) << "a partly visible row counts";
}

TEST(AThumbnailInALargeCell, FillsOneHundredSixtyPixelsFromTheCellTopWhenPortrait) {
    const GridRect cell{180, 360, 360, 540};
    const GridRect image = ImageRect(cell, 180, 120, 160);
    EXPECT_EQ(image, (GridRect{180 + 90 - 60, 360, 360 - 90 + 60, 520}));
    EXPECT_EQ(image.bottom - image.top, 160);
}

TEST(AThumbnailInALargeCell, IsOneHundredSixtyPixelsWideOnTheCaptionLineWhenLandscape) {
    const GridRect cell{0, 0, 180, 180};
    const GridRect image = ImageRect(cell, 180, 160, 120);
    EXPECT_EQ(image, (GridRect{10, 180 - 20 - 120, 170, 160}));
}

TEST(AThumbnailInASmallCell, KeepsItsAspect) {
    const GridRect cell{100, 0, 200, 100};
    EXPECT_EQ(ImageRect(cell, 100, 160, 90), (GridRect{110, 80 - 45, 190, 80}));
    EXPECT_EQ(ImageRect(cell, 100, 160, 160), (GridRect{110, 0, 190, 80}))
        << "square counts as portrait";
}
