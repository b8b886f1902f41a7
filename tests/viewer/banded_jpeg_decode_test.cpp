#include "viewer/banded_jpeg_decode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

#include "image/area_reduction.h"
#include "image/raster_image.h"
#include "photo_corpus.h"
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

std::vector<std::uint8_t> FirstPart(const std::vector<std::uint8_t>& bytes, int tenths) {
    return {bytes.begin(), bytes.begin() + long(bytes.size()) * tenths / 10};
}

// The whole decode at the scale, reduced to `reduced` when that is given.
Bitmap Expected(const std::vector<std::uint8_t>& bytes, int scale, QSize reduced) {
    Bitmap whole;
    JpegBitmapDecode result;
    if (!DecodeJpegBitmap(bytes.data(), bytes.size(), scale, whole, result) || reduced.isEmpty())
        return whole;
    Bitmap expected{reduced.width(), reduced.height(), 32, {}, {}};
    const int stride = BitmapStride(expected.width, 32);
    expected.pixels.resize(std::size_t(stride) * expected.height);
    ReduceArea(whole.pixels.data(), BitmapStride(whole.width, 32), whole.width, whole.height,
               expected.pixels.data(), stride, expected.width, expected.height);
    return expected;
}

}  // namespace

// Large enough to be cut into two bands at the full and the halved scale,
// too small at an eighth; the picture must not tell which way it was made.
TEST(DecodeJpegInBands, GivesThePixelsOfOneWholeDecodeAtEveryScale) {
    const std::vector<std::uint8_t> jpeg = MakePlainJpeg(2400, 1600, 7, TestPattern::Noise);
    // With restart markers the lower band decodes from the one near the
    // middle: every MCU row (150 MCUs), an interval that ends rows only now
    // and then (7), and a file cut off below the middle.
    const std::vector<std::uint8_t> everyRow = WithRestartMarkers(jpeg, 150);
    const std::vector<std::uint8_t> files[] = {jpeg, FirstPart(jpeg, 7), everyRow,
                                               WithRestartMarkers(jpeg, 7), FirstPart(everyRow, 7)};
    for (std::size_t f = 0; f < std::size(files); ++f) {
        for (const int scale : {8, 4, 1}) {
            SCOPED_TRACE("file " + std::to_string(f) + ", scale " + std::to_string(scale));
            const BandedDecode banded = DecodeJpegInBands(files[f], scale);
            EXPECT_FALSE(banded.cancelled);
            EXPECT_EQ(banded.picture.format(), QImage::Format_RGB32);
            EXPECT_TRUE(SamePixels(banded.picture, Expected(files[f], scale, {})));
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
    const std::vector<std::uint8_t> cut = FirstPart(jpeg, 4);
    const std::vector<std::uint8_t> restarts = WithRestartMarkers(jpeg, 4);
    struct Case {
        const std::vector<std::uint8_t>* bytes;
        int scale;
        QSize reduced;
    };
    const Case cases[] = {{&jpeg, 8, {1296, 864}},     {&jpeg, 8, {2399, 1599}},
                          {&jpeg, 4, {1100, 733}},     {&jpeg, 8, {2400, 1000}},
                          {&cut, 8, {1296, 864}},      {&restarts, 8, {1296, 864}},
                          {&restarts, 4, {1100, 733}}, {&restarts, 8, {2399, 1599}}};
    for (const Case& c : cases) {
        SCOPED_TRACE("scale " + std::to_string(c.scale) + ", " + std::to_string(c.reduced.width()) +
                     "x" + std::to_string(c.reduced.height()) + (c.bytes == &cut ? ", cut" : "") +
                     (c.bytes == &restarts ? ", restarts" : ""));
        const BandedDecode banded = DecodeJpegInBands(*c.bytes, c.scale, nullptr, c.reduced);
        EXPECT_TRUE(SamePixels(banded.picture, Expected(*c.bytes, c.scale, c.reduced)));
    }
    // Larger than the decode on a side: not reduced.
    EXPECT_EQ(DecodeJpegInBands(jpeg, 4, nullptr, {1300, 700}).picture.size(), QSize(1200, 800));
}

// Camera files with restart markers in 4:2:0, 4:2:2 and 1x2 chroma, at
// intervals of a row of MCUs and of 4 MCUs.
TEST(DecodeJpegInBands, CameraFilesWithRestartMarkersGiveOneWholeDecode) {
    if (!PhotoCorpusPresent()) GTEST_SKIP() << "no photo corpus";
    for (const char* name :
         {"exif-samples/hdr/iphone_hdr_NO.jpg", "metadata-extractor-images/Olympus PEN E-P3.jpg",
          "exif-samples/tests/67-0_length_string.jpg"}) {
        const std::vector<std::uint8_t> bytes = ReadBytesFile(PhotoCorpusFolder() + "/" + name);
        ASSERT_FALSE(bytes.empty()) << name;
        for (const int scale : {8, 4}) {
            const Bitmap whole = Expected(bytes, scale, {});
            for (const QSize reduced :
                 {QSize(), QSize(whole.width * 2 / 3, whole.height * 2 / 3)}) {
                SCOPED_TRACE(std::string(name) + ", scale " + std::to_string(scale) +
                             (reduced.isEmpty() ? "" : ", reduced"));
                const BandedDecode banded = DecodeJpegInBands(bytes, scale, nullptr, reduced);
                EXPECT_TRUE(SamePixels(banded.picture, Expected(bytes, scale, reduced)));
            }
        }
    }
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
