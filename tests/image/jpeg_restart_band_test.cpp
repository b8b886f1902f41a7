#include "image/jpeg_restart_band.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/raster_image.h"
#include "test_jpeg_writer.h"

namespace {

std::vector<std::uint8_t> FirstPart(const std::vector<std::uint8_t>& bytes, int tenths) {
    return {bytes.begin(), bytes.begin() + long(bytes.size()) * tenths / 10};
}

}  // namespace

// 2400 x 1600 in 4:2:0: 150 MCUs of 16 x 16 per row. A usable marker ends a
// row of MCUs and is RST7 (every 8th marker).
TEST(CutJpegAtRestart, TakesTheUsableMarkerNearestTheRowAndDecodesTheRowsBelowAsTheWhole) {
    const std::vector<std::uint8_t> plain = MakePlainJpeg(2400, 1600, 5, TestPattern::Noise);
    const std::vector<std::uint8_t> everyRow = WithRestartMarkers(plain, 150);
    struct Case {
        std::vector<std::uint8_t> bytes;
        int row;
        int start;  // 0: no band
    } const cases[] = {
        {everyRow, 800, 768},                       // every 8 MCU rows (128 pixel rows)
        {everyRow, 0, 128},                         // not above the first usable one
        {everyRow, 1600, 1536},                     // nor at the last MCU row
        {WithRestartMarkers(plain, 4), 800, 768},   // every 600 markers: 16 MCU rows
        {WithRestartMarkers(plain, 7), 800, 896},   // every 600 markers: 28 MCU rows
        {WithRestartMarkers(plain, 1000), 800, 0},  // none ends a row inside the picture
        {plain, 800, 0},                            // no markers
        {FirstPart(everyRow, 4), 800, 0},           // the data ends above the marker
        {{0xFF, 0xD8, 0xFF, 0xDD, 0x00}, 800, 0},   // headers cut off
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row) + ", start " + std::to_string(c.start));
        JpegRestartBand band;
        ASSERT_EQ(CutJpegAtRestart(c.bytes.data(), c.bytes.size(), c.row, band), c.start > 0);
        if (c.start == 0) continue;
        EXPECT_EQ(band.start, c.start);
        EXPECT_EQ(band.exactFrom, c.start + 16);
        Bitmap whole, lower;
        JpegBitmapDecode result;
        ASSERT_TRUE(DecodeJpegBitmap(c.bytes.data(), c.bytes.size(), 8, whole, result));
        ASSERT_TRUE(DecodeJpegBitmap(band.bytes.data(), band.bytes.size(), 8, lower, result));
        EXPECT_FALSE(result.truncated);
        ASSERT_EQ(lower.height, whole.height - band.start);
        const std::size_t stride = std::size_t(BitmapStride(whole.width, 32));
        const std::size_t exact = std::size_t(band.exactFrom - band.start);
        EXPECT_EQ(std::memcmp(lower.pixels.data() + exact * stride,
                              whole.pixels.data() + std::size_t(band.exactFrom) * stride,
                              lower.pixels.size() - exact * stride),
                  0);
    }
}
