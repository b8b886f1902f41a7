#include <gtest/gtest.h>

#include "browsemodel/letterbox.h"
#include "photo_catalogue_fixture.h"

TEST(LetterboxDetection, FindsBlackBarsAtTheSides) {
    EXPECT_TRUE(IsLetterboxed(SolidPicture(160, 120, 200, 180, 90, 20)));
}

TEST(LetterboxDetection, FindsBlackBarsAtTheTopAndBottom) {
    EXPECT_TRUE(IsLetterboxed(SolidPicture(160, 120, 200, 180, 90, 15, false)));
}

TEST(LetterboxDetection, IgnoresAnOrdinaryBrightPicture) {
    EXPECT_FALSE(IsLetterboxed(SolidPicture(160, 120, 200, 180, 90)));
}

TEST(LetterboxDetection, NeedsMoreThanTenDarkPixelsInTheCornerScan) {
    // Bars one pixel wide: the scan starts at x = 1, so it finds nothing.
    EXPECT_FALSE(IsLetterboxed(SolidPicture(160, 120, 200, 180, 90, 1)));
    // Bars two pixels wide: only column x = 1 is dark, 9 pixels.
    EXPECT_FALSE(IsLetterboxed(SolidPicture(160, 120, 200, 180, 90, 2)));
    // Three pixels: columns 1 and 2, 18 pixels.
    EXPECT_TRUE(IsLetterboxed(SolidPicture(160, 120, 200, 180, 90, 3)));
}

TEST(LetterboxDetection, TreatsAVeryDarkPictureAsLetterboxed) {
    EXPECT_TRUE(IsLetterboxed(SolidPicture(160, 120, 6, 6, 6)));
    EXPECT_FALSE(IsLetterboxed(SolidPicture(160, 120, 7, 7, 7))) << "R+G+B = 21 is not dark";
}

TEST(LetterboxDetection, ToleratesTinyAndEmptyImages) {
    EXPECT_TRUE(IsLetterboxed(RasterImage{})) << "out-of-range pixels read black";
    EXPECT_EQ(MeasureLetterboxBars(RasterImage{}).thickness, 1);
}

TEST(LetterboxBarsMeasure, ReportsSideBarsOnePixelWiderThanTheirBlackRun) {
    const LetterboxBars bars = MeasureLetterboxBars(SolidPicture(160, 120, 200, 180, 90, 12));
    EXPECT_TRUE(bars.vertical);
    EXPECT_EQ(bars.thickness, 13);
}

TEST(LetterboxBarsMeasure, ReportsTopAndBottomBars) {
    const LetterboxBars bars = MeasureLetterboxBars(SolidPicture(160, 120, 200, 180, 90, 8, false));
    EXPECT_FALSE(bars.vertical);
    EXPECT_EQ(bars.thickness, 9);
}

TEST(LetterboxBarsMeasure, CapsTheBarsAtTwentyPixels) {
    EXPECT_EQ(MeasureLetterboxBars(SolidPicture(160, 120, 200, 180, 90, 40)).thickness, 20);
}

TEST(LetterboxBarsMeasure, CountsGreyUpToTwentyNineAsBar) {
    RasterImage picture = SolidPicture(160, 120, 200, 180, 90, 10);
    // Lighten the bar pixels to R+G+B = 29 on the middle row: still bar.
    for (int x = 0; x < 10; ++x) {
        std::uint8_t* p = picture.MutableRow(60) + x * 3;
        p[0] = 9;
        p[1] = 10;
        p[2] = 10;
    }
    EXPECT_EQ(MeasureLetterboxBars(picture).thickness, 11);
}
