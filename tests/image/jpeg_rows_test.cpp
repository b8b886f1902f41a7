// Decoding a JPEG's rows in bands, as the viewer does on two threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

#include "image/raster_image.h"
#include "image_test_support.h"

using namespace image_test;

namespace {

// Detail in every 8 x 8 block, so that a wrong seam would show.
std::uint8_t Texture(int x, int y, int channel) {
    return static_cast<std::uint8_t>((x * 37 + y * 91 + channel * 53 + (x ^ y) * 13) & 0xFF);
}

Bytes TexturedJpeg(int width, int height, int components, bool progressive = false) {
    Bytes pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c) pixels.push_back(Texture(x, y, c));
    return WriteJpeg(width, height, components, pixels, progressive);
}

Bytes WholePicture(const Bytes& jpeg, int scale) {
    Bitmap bitmap;
    JpegBitmapDecode result;
    EXPECT_TRUE(DecodeJpegBitmap(jpeg.data(), jpeg.size(), scale, bitmap, result)) << result.error;
    return bitmap.pixels;
}

// Decodes rows [first, end) into picture, which holds the whole output.
bool DecodeBand(const Bytes& jpeg, int scale, const JpegLayout& layout, Bytes& picture, int first,
                int end, JpegBitmapDecode& result, const std::atomic<bool>* cancel = nullptr) {
    const int stride = BitmapStride(layout.width, 32);
    JpegRows rows;
    rows.pixels = picture.data() + static_cast<std::size_t>(first) * stride;
    rows.stride = stride;
    rows.width = layout.width;
    rows.firstRow = first;
    rows.endRow = end;
    rows.cancel = cancel;
    return DecodeJpegRows(jpeg.data(), jpeg.size(), scale, rows, result);
}

}  // namespace

TEST(DecodeJpegRows, adjacentBandsGiveExactlyTheWholeDecode) {
    struct Case {
        const char* what;
        Bytes jpeg;
        int scale;
    };
    const Bytes colour = TexturedJpeg(803, 611, 3);
    const Case cases[] = {
        {"colour, 4:2:0", colour, 8},
        {"colour, halved", colour, 4},
        {"colour, an eighth", colour, 1},
        {"grey", TexturedJpeg(421, 333, 1), 8},
        {"cmyk", TexturedJpeg(301, 203, 4), 2},
        {"progressive", TexturedJpeg(402, 300, 3, true), 8},
        {"cut in its image data", Bytes(colour.begin(), colour.begin() + colour.size() / 2), 8},
    };
    for (const Case& c : cases) {
        JpegLayout layout;
        ASSERT_TRUE(ReadJpegLayout(c.jpeg.data(), c.jpeg.size(), c.scale, layout)) << c.what;
        const Bytes whole = WholePicture(c.jpeg, c.scale);
        ASSERT_EQ(whole.size(), static_cast<std::size_t>(BitmapStride(layout.width, 32)) *
                                    static_cast<std::size_t>(layout.height));
        // A seam on the first row, inside and on the edge of a block row, and on the last row.
        for (const int cut : {1, 7, 16, layout.height / 2 + 3, layout.height - 1}) {
            SCOPED_TRACE(std::string(c.what) + ", cut at " + std::to_string(cut));
            Bytes banded(whole.size(), 0);
            JpegBitmapDecode upper, lower;
            ASSERT_TRUE(DecodeBand(c.jpeg, c.scale, layout, banded, 0, cut, upper)) << upper.error;
            ASSERT_TRUE(DecodeBand(c.jpeg, c.scale, layout, banded, cut, layout.height, lower))
                << lower.error;
            EXPECT_TRUE(banded == whole);
        }
    }
}

TEST(DecodeJpegRows, reportsTheLayoutAndRefusesRowsOutsideIt) {
    const Bytes jpeg = TexturedJpeg(803, 611, 3);
    JpegLayout layout;
    ASSERT_TRUE(ReadJpegLayout(jpeg.data(), jpeg.size(), 2, layout));
    EXPECT_EQ(layout.width, 201);  // libjpeg rounds up
    EXPECT_EQ(layout.height, 153);
    EXPECT_FALSE(layout.progressive);
    const Bytes progressive = TexturedJpeg(64, 48, 3, true);
    ASSERT_TRUE(ReadJpegLayout(progressive.data(), progressive.size(), 8, layout));
    EXPECT_TRUE(layout.progressive);
    EXPECT_FALSE(ReadJpegLayout(jpeg.data(), jpeg.size(), 3, layout));  // a slow eighth
    EXPECT_FALSE(ReadJpegLayout(jpeg.data(), 200, 8, layout));          // cut in its headers

    ASSERT_TRUE(ReadJpegLayout(jpeg.data(), jpeg.size(), 8, layout));
    Bytes picture(static_cast<std::size_t>(BitmapStride(layout.width, 32)) * layout.height);
    JpegBitmapDecode result;
    const int outside[][2] = {{-1, 10}, {10, 10}, {600, 612}, {20, 10}};
    for (const auto& rows : outside)
        EXPECT_FALSE(DecodeBand(jpeg, 8, layout, picture, rows[0], rows[1], result)) << rows[0];
    JpegLayout narrower = layout;
    narrower.width -= 1;  // the caller's rows would be too short
    EXPECT_FALSE(DecodeBand(jpeg, 8, narrower, picture, 0, 10, result));
    const Bytes garbage(1000, 0x5A);
    EXPECT_FALSE(DecodeBand(garbage, 8, layout, picture, 0, 10, result));
    EXPECT_FALSE(result.error.empty());
}

TEST(DecodeJpegRows, stopsWhenCancelled) {
    const Bytes jpeg = TexturedJpeg(803, 611, 3);
    JpegLayout layout;
    ASSERT_TRUE(ReadJpegLayout(jpeg.data(), jpeg.size(), 8, layout));
    Bytes picture(static_cast<std::size_t>(BitmapStride(layout.width, 32)) * layout.height);
    const std::atomic<bool> cancel{true};
    for (const int first : {0, 300}) {  // before the first row and after passing over rows
        JpegBitmapDecode result;
        EXPECT_FALSE(DecodeBand(jpeg, 8, layout, picture, first, layout.height, result, &cancel));
        EXPECT_TRUE(result.cancelled) << first;
    }
}
