#include <gtest/gtest.h>

#include "image/raster_image.h"
#include "image_test_support.h"

using namespace image_test;

namespace {
// Every pixel distinct: r, g from x; b from y (top-down input).
RasterImage Distinct(int width, int height) {
    const Bytes rgb = MakeRgb(width, height, [](int x, int y) {
        return RgbColor{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(x >> 8),
                        static_cast<std::uint8_t>(y)};
    });
    return RasterImage::FromRgbTopDown(width, height, rgb.data());
}
}  // namespace

TEST(Rotate, aQuarterTurnClockwiseMakesTheLeftColumnTheTopRowReadBottomToTop) {
    const RasterImage source = Distinct(160, 120);
    RasterImage turned;
    ASSERT_TRUE(source.Rotate(90, turned)) << source.LastError();
    ASSERT_EQ(turned.Width(), 120);
    ASSERT_EQ(turned.Height(), 160);
    for (int i = 0; i < 120; ++i)
        EXPECT_EQ(turned.PixelColor(i, 159), source.PixelColor(0, i)) << i;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(turned.PixelColor(x, y), source.PixelColor(159 - y, x));
}

TEST(Rotate, minus90TurnsCounterClockwise) {
    const RasterImage source = Distinct(160, 120);
    RasterImage turned;
    ASSERT_TRUE(source.Rotate(-90, turned));
    ASSERT_EQ(turned.Width(), 120);
    ASSERT_EQ(turned.Height(), 160);
    // The right column becomes the top row, read top to bottom.
    for (int i = 0; i < 120; ++i)
        EXPECT_EQ(turned.PixelColor(i, 159), source.PixelColor(159, 119 - i));
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(turned.PixelColor(x, y), source.PixelColor(y, 119 - x));
}

TEST(Rotate, by180TurnsUpsideDownAnd270EqualsMinus90) {
    const RasterImage source = Distinct(31, 17);
    RasterImage half, threeQuarters, minusQuarter;
    ASSERT_TRUE(source.Rotate(180, half));
    ASSERT_EQ(half.Width(), 31);
    ASSERT_EQ(half.Height(), 17);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 31; ++x)
            ASSERT_EQ(half.PixelColor(x, y), source.PixelColor(30 - x, 16 - y));
    ASSERT_TRUE(source.Rotate(270, threeQuarters));
    ASSERT_TRUE(source.Rotate(-90, minusQuarter));
    ASSERT_EQ(threeQuarters.Width(), minusQuarter.Width());
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 17; ++x)
            ASSERT_EQ(threeQuarters.PixelColor(x, y), minusQuarter.PixelColor(x, y));
}

TEST(Rotate, anOddAngleGrowsToTheBoundingBoxAndFillsCornersWithTheBackground) {
    RasterImage source = Distinct(100, 50);
    source.SetBackgroundColor({1, 2, 3});
    RasterImage turned;
    ASSERT_TRUE(source.Rotate(30, turned));
    // Bounding box: 100 cos 30 + 50 sin 30 = 111.6, 100 sin 30 + 50 cos 30 = 93.3.
    EXPECT_EQ(turned.Width(), 112);
    EXPECT_EQ(turned.Height(), 93);
    EXPECT_EQ(turned.PixelColor(0, 0), (RgbColor{1, 2, 3}));
    EXPECT_EQ(turned.PixelColor(111, 92), (RgbColor{1, 2, 3}));
    // The centre stays (nearly) the centre.
    const RgbColor centre = turned.PixelColor(56, 46);
    EXPECT_NEAR(centre.r, 50, 2);
    EXPECT_NEAR(centre.b, 25, 2);
}

TEST(Rotate, keepsThePaletteOf8BitImages) {
    const Bytes grey{1, 2, 3, 4, 5, 6};
    RasterImage source = RasterImage::FromGreyTopDown(3, 2, grey.data());
    source.SetBackgroundColor({255, 255, 255});
    RasterImage turned;
    ASSERT_TRUE(source.Rotate(90, turned));
    EXPECT_EQ(turned.BitDepth(), 8);
    EXPECT_TRUE(turned.IsGreyscale());
    EXPECT_EQ(turned.Width(), 2);
    EXPECT_EQ(turned.Height(), 3);
    EXPECT_EQ(turned.PixelIndex(0, 2), 4);  // top-left is the source's bottom-left
    EXPECT_EQ(turned.PixelIndex(1, 2), 1);
    ASSERT_TRUE(source.Rotate(45, turned));
    EXPECT_EQ(turned.PixelIndex(0, 0), 255);  // background mapped to the nearest palette entry
}

TEST(Rotate, failsOnAnEmptyImageAndLeavesTheDestination) {
    RasterImage destination = Distinct(2, 2);
    EXPECT_FALSE(RasterImage().Rotate(90, destination));
    EXPECT_EQ(destination.Width(), 2);
}

TEST(Rotate, mayWriteIntoItsOwnSource) {
    RasterImage image = Distinct(4, 2);
    const RgbColor bottomLeft = image.PixelColor(0, 0);
    ASSERT_TRUE(image.Rotate(90, image));
    EXPECT_EQ(image.Width(), 2);
    EXPECT_EQ(image.PixelColor(0, 3), bottomLeft);
}

TEST(Mirror, reversesEveryRowOfColourAndGreyImagesAndKeepsTheSize) {
    const RasterImage colour = Distinct(7, 3);
    const std::uint8_t grey[] = {1, 2, 3, 4, 5, 6};
    const RasterImage greyImage = RasterImage::FromGreyTopDown(3, 2, grey);
    for (const RasterImage* source : {&colour, &greyImage}) {
        RasterImage mirrored;
        ASSERT_TRUE(source->Mirror(mirrored));
        ASSERT_EQ(mirrored.Width(), source->Width());
        ASSERT_EQ(mirrored.Height(), source->Height());
        for (int y = 0; y < source->Height(); ++y)
            for (int x = 0; x < source->Width(); ++x) {
                EXPECT_EQ(mirrored.PixelColor(x, y),
                          source->PixelColor(source->Width() - 1 - x, y));
                EXPECT_EQ(mirrored.PixelIndex(x, y),
                          source->PixelIndex(source->Width() - 1 - x, y));
            }
    }
    RasterImage empty, out;
    EXPECT_FALSE(empty.Mirror(out));
}
