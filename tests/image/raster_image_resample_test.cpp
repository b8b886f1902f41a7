#include <gtest/gtest.h>

#include "image/raster_image.h"
#include "image_test_support.h"

using namespace image_test;

namespace {
RasterImage FromRows(int width, int height, const std::function<RgbColor(int, int)>& colour) {
    const Bytes rgb = MakeRgb(width, height, colour);
    return RasterImage::FromRgbTopDown(width, height, rgb.data());
}
}  // namespace

TEST(Resample, areaAveragesBlocksWhenShrinkingA24BitPhoto) {
    const RasterImage source = FromRows(4000, 3000, [](int x, int y) {
        return RgbColor{static_cast<std::uint8_t>((x * 7 + y * 13) & 0xFF),
                        static_cast<std::uint8_t>((x ^ y) & 0xFF),
                        static_cast<std::uint8_t>((x % 25) * 10)};
    });
    RasterImage thumb;
    ASSERT_TRUE(source.Resample(160, 120, thumb)) << source.LastError();
    EXPECT_EQ(thumb.Width(), 160);
    EXPECT_EQ(thumb.Height(), 120);
    EXPECT_EQ(thumb.BitDepth(), 24);
    // Every destination pixel is the mean of its 25 x 25 source block (rounded, +-1 for floats).
    for (int dy = 0; dy < 120; dy += 7) {
        for (int dx = 0; dx < 160; dx += 9) {
            long r = 0, g = 0, b = 0;
            for (int y = dy * 25; y < dy * 25 + 25; ++y) {
                for (int x = dx * 25; x < dx * 25 + 25; ++x) {
                    const RgbColor c = source.PixelColor(x, y);
                    r += c.r, g += c.g, b += c.b;
                }
            }
            const RgbColor t = thumb.PixelColor(dx, dy);
            EXPECT_NEAR(t.r, (r + 312) / 625, 1) << dx << "," << dy;
            EXPECT_NEAR(t.g, (g + 312) / 625, 1) << dx << "," << dy;
            EXPECT_NEAR(t.b, (b + 312) / 625, 1) << dx << "," << dy;  // 120: the block's x-average
        }
    }
}

TEST(Resample, weighsPartlyCoveredEdgePixelsByTheirCoveredFraction) {
    // 3 x 3 -> 2 x 2: each destination pixel covers 1.5 x 1.5 source pixels.
    const std::uint8_t v[3][3] = {
        {0, 90, 180}, {30, 120, 210}, {60, 150, 240}};  // [bottom-up y][x]
    const RasterImage source = FromRows(3, 3, [&](int x, int y) {
        const std::uint8_t g = v[2 - y][x];
        return RgbColor{g, g, g};
    });
    RasterImage destination;
    ASSERT_TRUE(source.Resample(2, 2, destination));
    // Bottom-left: (v00 + .5 v01 + .5 v10 + .25 v11) / 2.25 = (0 + 45 + 15 + 30) / 2.25 = 40.
    EXPECT_EQ(destination.PixelColor(0, 0).r, 40);
    // Top-right: (.25 v11 + .5 v12 + .5 v21 + v22) / 2.25 = (30 + 105 + 75 + 240) / 2.25 = 200.
    EXPECT_EQ(destination.PixelColor(1, 1).r, 200);
}

TEST(Resample, interpolatesBilinearlyWhenNotShrinkingBothWays) {
    const RasterImage source = FromRows(2, 1, [](int x, int) {
        return x == 0 ? RgbColor{0, 100, 200} : RgbColor{100, 200, 0};
    });
    RasterImage wide;
    ASSERT_TRUE(source.Resample(4, 1, wide));
    EXPECT_EQ(wide.PixelColor(0, 0), (RgbColor{0, 100, 200}));
    EXPECT_EQ(wide.PixelColor(1, 0), (RgbColor{50, 150, 100}));  // halfway
    EXPECT_EQ(wide.PixelColor(2, 0), (RgbColor{100, 200, 0}));
    EXPECT_EQ(wide.PixelColor(3, 0), (RgbColor{100, 200, 0}));  // clamped at the edge

    // Shrinking only horizontally is not "shrinking": samples, no averaging.
    const RasterImage row = FromRows(4, 2, [](int x, int) {
        return RgbColor{static_cast<std::uint8_t>(x * 60), 0, 0};
    });
    RasterImage narrow;
    ASSERT_TRUE(row.Resample(2, 2, narrow));
    EXPECT_EQ(narrow.PixelColor(0, 0).r, 0);
    EXPECT_EQ(narrow.PixelColor(1, 0).r, 120);
}

TEST(Resample, usesBilinearInterpolationFor8BitGrey) {
    // Top row 50 150 250 250, bottom row 0 100 200 240. Shrinking 4 x 2 -> 2 x 1 samples the
    // bottom row at x = 0 and 2; area averaging would give 75 and 222.
    const Bytes grey{50, 150, 250, 250, 0, 100, 200, 240};
    const RasterImage source = RasterImage::FromGreyTopDown(4, 2, grey.data());
    RasterImage destination;
    ASSERT_TRUE(source.Resample(2, 1, destination));
    EXPECT_EQ(destination.BitDepth(), 8);
    EXPECT_TRUE(destination.IsGreyscale());
    EXPECT_EQ(destination.PixelIndex(0, 0), 0);
    EXPECT_EQ(destination.PixelIndex(1, 0), 200);
}

TEST(Resample, keepsAPaletteAndPicksItsNearestEntries) {
    const std::vector<RgbColor> palette{{0, 0, 0}, {200, 0, 0}, {100, 0, 0}};
    const Bytes bmp = WriteBmp(2, 1, 8, {{0, 1}}, palette);
    RasterImage source;
    ASSERT_TRUE(source.Decode(bmp.data(), bmp.size(), ImageFormat::Bmp));
    RasterImage destination;
    ASSERT_TRUE(source.Resample(4, 1, destination));
    EXPECT_EQ(destination.Palette(), source.Palette());
    EXPECT_EQ(destination.PixelIndex(0, 0), 0);
    EXPECT_EQ(destination.PixelIndex(1, 0), 2);  // halfway colour (100,0,0) is entry 2
    EXPECT_EQ(destination.PixelIndex(2, 0), 1);
}

TEST(Resample, copiesAtTheSameSizeAndRefusesBadSizes) {
    const RasterImage source = FromRows(5, 4, [](int x, int y) {
        return RgbColor{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 9};
    });
    RasterImage copy;
    ASSERT_TRUE(source.Resample(5, 4, copy));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(copy.PixelColor(x, y), source.PixelColor(x, y));

    RasterImage untouched = FromRows(1, 1, [](int, int) { return RgbColor{1, 2, 3}; });
    EXPECT_FALSE(source.Resample(160, 0, untouched));
    EXPECT_FALSE(source.LastError().empty());
    EXPECT_EQ(untouched.PixelColor(0, 0), (RgbColor{1, 2, 3}));
    EXPECT_FALSE(RasterImage().Resample(10, 10, untouched));
    EXPECT_EQ(untouched.Width(), 1);
}

TEST(Resample, mayWriteIntoItsOwnSource) {
    RasterImage image = FromRows(8, 8, [](int, int) { return RgbColor{10, 20, 30}; });
    ASSERT_TRUE(image.Resample(2, 2, image));
    EXPECT_EQ(image.Width(), 2);
    EXPECT_EQ(image.PixelColor(1, 1), (RgbColor{10, 20, 30}));
}
