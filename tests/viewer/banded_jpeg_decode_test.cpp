#include "viewer/banded_jpeg_decode.h"

#include <gtest/gtest.h>

#include <cstring>

#include "image/area_reduction.h"
#include "image/raster_image.h"
#include "test_jpeg_writer.h"

namespace {

bool SamePixels(const QImage& picture, const Bitmap& whole) {
    if (picture.width() != whole.width || picture.height() != whole.height) return false;
    const int stride = BitmapStride(whole.width, 32);
    for (int y = 0; y < whole.height; ++y)
        if (std::memcmp(picture.constScanLine(y), whole.pixels.data() + std::size_t(y) * stride,
                        std::size_t(whole.width) * 4) != 0)
            return false;
    return true;
}

}  // namespace

// Large enough to be cut into two bands at the full and the halved scale,
// too small at an eighth; the picture must not tell which way it was made.
TEST(DecodeJpegInBands, GivesThePixelsOfOneWholeDecodeAtEveryScale) {
    const std::vector<std::uint8_t> jpeg = MakePlainJpeg(2400, 1600, 7, TestPattern::Noise);
    const std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.begin() + jpeg.size() * 7 / 10);
    for (const auto* bytes : {&jpeg, &cut}) {
        for (const int scale : {8, 4, 1}) {
            SCOPED_TRACE("scale " + std::to_string(scale) + (bytes == &cut ? ", cut" : ""));
            Bitmap whole;
            JpegBitmapDecode result;
            ASSERT_TRUE(DecodeJpegBitmap(bytes->data(), bytes->size(), scale, whole, result));
            const BandedDecode banded = DecodeJpegInBands(*bytes, scale);
            EXPECT_FALSE(banded.cancelled);
            EXPECT_EQ(banded.picture.format(), QImage::Format_RGB32);
            EXPECT_TRUE(SamePixels(banded.picture, whole));
        }
    }
    EXPECT_GT(LowerBandStart(2400, 1600, 8, false), 0);
    EXPECT_EQ(LowerBandStart(2400, 1600, 8, true), 0);  // progressive: whole
    EXPECT_EQ(LowerBandStart(300, 200, 1, false), 0);   // small: whole
}

// Each band reduces its own rows to screen size; the seam between the bands
// must not show next to one whole decode reduced at once.
TEST(DecodeJpegInBands, ReducedGivesTheWholeDecodeReducedAtOnce) {
    const std::vector<std::uint8_t> jpeg = MakePlainJpeg(2400, 1600, 3, TestPattern::Noise);
    const std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.begin() + jpeg.size() * 4 / 10);
    struct Case {
        const std::vector<std::uint8_t>* bytes;
        int scale;
        QSize reduced;
    };
    const Case cases[] = {{&jpeg, 8, {1296, 864}},
                          {&jpeg, 8, {2399, 1599}},
                          {&jpeg, 4, {1100, 733}},
                          {&jpeg, 8, {2400, 1000}},
                          {&cut, 8, {1296, 864}}};
    for (const Case& c : cases) {
        SCOPED_TRACE("scale " + std::to_string(c.scale) + ", " + std::to_string(c.reduced.width()) +
                     "x" + std::to_string(c.reduced.height()) + (c.bytes == &cut ? ", cut" : ""));
        Bitmap whole;
        JpegBitmapDecode result;
        ASSERT_TRUE(DecodeJpegBitmap(c.bytes->data(), c.bytes->size(), c.scale, whole, result));
        Bitmap expected{c.reduced.width(), c.reduced.height(), 32, {}, {}};
        const int stride = BitmapStride(expected.width, 32);
        expected.pixels.resize(std::size_t(stride) * expected.height);
        ReduceArea(whole.pixels.data(), BitmapStride(whole.width, 32), whole.width, whole.height,
                   expected.pixels.data(), stride, expected.width, expected.height);
        const BandedDecode banded = DecodeJpegInBands(*c.bytes, c.scale, nullptr, c.reduced);
        EXPECT_TRUE(SamePixels(banded.picture, expected));
    }
    // Larger than the decode on a side: not reduced.
    EXPECT_EQ(DecodeJpegInBands(jpeg, 4, nullptr, {1300, 700}).picture.size(), QSize(1200, 800));
}

TEST(DecodeJpegInBands, CancelledOrHostileDataGivesNoPicture) {
    const std::vector<std::uint8_t> jpeg = MakePlainJpeg(2400, 1600, 7, TestPattern::Noise);
    const std::atomic<bool> cancel{true};
    for (const QSize reduced : {QSize(), QSize(1296, 864)}) {
        const BandedDecode cancelled = DecodeJpegInBands(jpeg, 8, &cancel, reduced);
        EXPECT_TRUE(cancelled.cancelled);
        EXPECT_TRUE(cancelled.picture.isNull());
    }
    for (const auto& bad : {std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 300),
                            std::vector<std::uint8_t>(4000, 0x5A), std::vector<std::uint8_t>{}}) {
        const BandedDecode decoded = DecodeJpegInBands(bad, 8);
        EXPECT_TRUE(decoded.picture.isNull());
        EXPECT_FALSE(decoded.cancelled);
    }
    EXPECT_TRUE(DecodeJpegInBands(jpeg, 3).picture.isNull());  // not a fast scale
}
