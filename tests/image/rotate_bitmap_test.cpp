#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "image/raster_image.h"

namespace {
// 24-bit top-down bitmap whose pixel (x, y) is B = x, G = y, R = 7.
Bitmap Distinct24(int width, int height) {
    Bitmap b;
    b.width = width;
    b.height = height;
    b.bitDepth = 24;
    const int stride = BitmapStride(width, 24);
    b.pixels.assign(static_cast<std::size_t>(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &b.pixels[static_cast<std::size_t>(y) * stride + x * 3];
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = 7;
        }
    return b;
}

// (source x, source y) stored in a pixel of Distinct24, or (-1, -1) for an unfilled pixel.
std::pair<int, int> At(const Bitmap& b, int x, int y) {
    const std::uint8_t* p =
        &b.pixels[static_cast<std::size_t>(y) * BitmapStride(b.width, b.bitDepth) + x * 3];
    if (p[2] != 7) return {-1, -1};
    return {p[0], p[1]};
}
}  // namespace

TEST(BitmapStride, isDwordAligned) {
    EXPECT_EQ(BitmapStride(161, 24), 484);
    EXPECT_EQ(BitmapStride(3, 8), 4);
    EXPECT_EQ(BitmapStride(3, 32), 12);
    EXPECT_EQ(BitmapStride(3, 16), 0);  // unsupported depth
}

TEST(RotateBitmap, turnsAnOddSizedBitmapAQuarterClockwiseBy90) {
    const Bitmap source = Distinct24(161, 121);
    Bitmap turned;
    ASSERT_TRUE(RotateBitmap(source, turned, 90));
    EXPECT_EQ(turned.width, 121);
    EXPECT_EQ(turned.height, 161);
    EXPECT_EQ(turned.bitDepth, 24);
    ASSERT_EQ(turned.pixels.size(), static_cast<std::size_t>(BitmapStride(121, 24)) * 161);
    // The rotation's arithmetic maps destination (col, row) to source (row, 121 - col): the left
    // column lands in the top row, read bottom to top (one pixel off at the edge, as specified).
    for (int row = 0; row < 160; ++row)
        for (int col = 2; col < 120; ++col)
            ASSERT_EQ(At(turned, col, row), std::make_pair(row, 121 - col)) << col << "," << row;
    EXPECT_EQ(At(turned, 0, 50), std::make_pair(-1, -1));  // no source pixel: stays 0
}

TEST(RotateBitmap, turnsAnOddSizedBitmapAQuarterCounterClockwiseBy270) {
    const Bitmap source = Distinct24(161, 121);
    Bitmap turned;
    ASSERT_TRUE(RotateBitmap(source, turned, 270));
    EXPECT_EQ(turned.width, 121);
    EXPECT_EQ(turned.height, 161);
    // Destination (col, row) shows source (160 - row, col - 1): the right column on top.
    for (int row = 1; row < 161; ++row)
        for (int col = 1; col < 121; ++col)
            ASSERT_EQ(At(turned, col, row), std::make_pair(160 - row, col - 1))
                << col << "," << row;
}

TEST(RotateBitmap, givesEvenSidedBitmapsOneMorePixel) {
    Bitmap turned;
    ASSERT_TRUE(RotateBitmap(Distinct24(160, 120), turned, 90));
    EXPECT_EQ(turned.width, 121);
    EXPECT_EQ(turned.height, 161);
    ASSERT_TRUE(RotateBitmap(Distinct24(160, 120), turned, 180));
    EXPECT_EQ(turned.width, 161);
    EXPECT_EQ(turned.height, 121);
}

TEST(RotateBitmap, interpolatesGreyscaleButNotOtherPalettes) {
    Bitmap grey;
    grey.width = 21;
    grey.height = 21;
    grey.bitDepth = 8;
    for (int i = 0; i < 256; ++i)
        grey.colorTable.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i),
                                   static_cast<std::uint8_t>(i)});
    const int stride = BitmapStride(21, 8);
    grey.pixels.assign(static_cast<std::size_t>(stride) * 21, 0);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x)
            grey.pixels[static_cast<std::size_t>(y) * stride + x] = ((x + y) % 2) ? 200 : 0;
    auto values = [](const Bitmap& b) {
        std::set<int> seen(b.pixels.begin(), b.pixels.end());
        return seen;
    };
    Bitmap turned;
    ASSERT_TRUE(RotateBitmap(grey, turned, 30));
    EXPECT_EQ(turned.colorTable, grey.colorTable);
    EXPECT_GT(values(turned).size(), 3u);  // in-between grey levels

    Bitmap palette = grey;
    palette.colorTable[1] = {9, 9, 1};  // no longer a grey ramp
    ASSERT_TRUE(RotateBitmap(palette, turned, 30));
    EXPECT_EQ(values(turned), (std::set<int>{0, 200}));
}

TEST(RotateBitmap, supports32BitAndRefusesBadInput) {
    Bitmap b;
    b.width = 3;
    b.height = 3;
    b.bitDepth = 32;
    b.pixels.assign(36, 0);
    b.pixels[4 * 4] = 99;  // centre pixel, blue
    Bitmap turned;
    ASSERT_TRUE(RotateBitmap(b, turned, 90));
    EXPECT_EQ(turned.bitDepth, 32);
    EXPECT_EQ(turned.width, 3);

    Bitmap untouched = b;
    Bitmap shortPixels = b;
    shortPixels.pixels.resize(20);
    EXPECT_FALSE(RotateBitmap(shortPixels, untouched, 90));
    EXPECT_FALSE(RotateBitmap(Bitmap{}, untouched, 90));
    Bitmap sixteen = b;
    sixteen.bitDepth = 16;
    EXPECT_FALSE(RotateBitmap(sixteen, untouched, 90));
    EXPECT_EQ(untouched.pixels, b.pixels);
}
