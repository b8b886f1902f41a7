// The viewer's area-averaging reduction, whole and in bands decoded as rows arrive.
#include <gtest/gtest.h>

#include <string>

#include "image/area_reduction.h"
#include "image/jpeg_row_sink.h"
#include "image/reducing_row_sink.h"
#include "image_test_support.h"

using namespace image_test;

namespace {

// B,G,R,255 rows, tightly packed.
Bytes Bgrx(int width, int height, std::uint8_t (*value)(int x, int y, int channel)) {
    Bytes pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c) pixels.push_back(c == 3 ? 255 : value(x, y, c));
    return pixels;
}

Bytes Reduced(const Bytes& source, int sourceWidth, int sourceHeight, int width, int height) {
    Bytes out(static_cast<std::size_t>(width) * height * 4, 0);
    ReduceArea(source.data(), sourceWidth * 4, sourceWidth, sourceHeight, out.data(), width * 4,
               width, height);
    return out;
}

std::uint8_t Detail(int x, int y, int c) {
    return static_cast<std::uint8_t>((x * 37 + y * 91 + c * 53 + (x ^ y) * 13) & 0xFF);
}

}  // namespace

TEST(AreaReduction, averagesEachCoveredAreaExactly) {
    // 4 x 2 to 2 x 1: each pixel is the mean of a 2 x 2 block.
    const Bytes source = Bgrx(4, 2, [](int x, int y, int c) {
        return static_cast<std::uint8_t>(c == 0 ? (x < 2 ? 0 : 200) + 20 * y : 77);
    });
    const Bytes out = Reduced(source, 4, 2, 2, 1);
    EXPECT_EQ(out, (Bytes{10, 77, 77, 255, 210, 77, 77, 255}));
    // Three columns onto two: the middle column is shared half and half.
    const Bytes row = Bgrx(3, 1, [](int x, int, int) { return std::uint8_t(x == 1 ? 90 : 0); });
    EXPECT_EQ(Reduced(row, 3, 1, 2, 1), (Bytes{30, 30, 30, 255, 30, 30, 30, 255}));
}

TEST(AreaReduction, keepsFlatColoursAndWalksTheSourceRowsDownwards) {
    struct Case {
        int sourceWidth, sourceHeight, width, height;
    };
    // Mild and far reductions, one side kept, and one source pixel per 300.
    const Case cases[] = {{6000, 40, 3240, 21},
                          {1013, 777, 1013, 500},
                          {3000, 5, 10, 1},
                          {7, 9, 7, 9},
                          {1, 600, 1, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sourceWidth) + "x" + std::to_string(c.sourceHeight) + " to " +
                     std::to_string(c.width) + "x" + std::to_string(c.height));
        const Bytes flat = Bgrx(c.sourceWidth, c.sourceHeight, [](int, int, int channel) {
            return std::uint8_t(channel == 1 ? 255 : 201);
        });
        EXPECT_EQ(Reduced(flat, c.sourceWidth, c.sourceHeight, c.width, c.height),
                  Bgrx(c.width, c.height, [](int, int, int channel) {
                      return std::uint8_t(channel == 1 ? 255 : 201);
                  }));
        // What a band's ring of rows relies on.
        const AreaReduction plan(c.sourceWidth, c.sourceHeight, c.width, c.height);
        int first = 0, end = 0;
        for (int y = 0; y < c.height; ++y) {
            EXPECT_GE(plan.FirstSourceRow(y), first);
            EXPECT_GE(plan.FirstSourceRow(y) + plan.SourceRowCount(y), end);
            EXPECT_LE(plan.SourceRowCount(y), plan.MostSourceRows());
            first = plan.FirstSourceRow(y);
            end = first + plan.SourceRowCount(y);
        }
        EXPECT_LE(end, c.sourceHeight);
    }
}

// Bands of destination rows, each decoded from its own source rows into a
// ring of rows, give the bytes of the whole decode reduced at once, whatever
// the cut.
TEST(ReducingRowSink, bandsGiveTheBytesOfTheWholeDecodeReducedAtOnce) {
    struct Case {
        const char* what;
        Bytes jpeg;
        int scale;
        int width, height;
    };
    const auto texturedJpeg = [](int components, bool progressive = false) {
        Bytes pixels;
        for (int y = 0; y < 611; ++y)
            for (int x = 0; x < 803; ++x)
                for (int c = 0; c < components; ++c) pixels.push_back(Detail(x, y, c));
        return WriteJpeg(803, 611, components, pixels, progressive);
    };
    const Bytes textured = texturedJpeg(3);
    const Case cases[] = {
        {"mild, full scale", textured, 8, 433, 329},
        {"almost none", textured, 8, 802, 610},
        {"halved scale", textured, 4, 300, 211},
        {"far", textured, 1, 13, 7},
        {"one side", textured, 8, 803, 400},
        // Grey rows come a whole block row (8) per read, filling the ring.
        {"grey", texturedJpeg(1), 8, 433, 329},
        {"progressive", texturedJpeg(3, true), 8, 433, 329},
        {"cut in its image data", Bytes(textured.begin(), textured.begin() + textured.size() / 2),
         8, 433, 329},
    };
    for (const Case& c : cases) {
        Bitmap whole;
        JpegBitmapDecode result;
        ASSERT_TRUE(DecodeJpegBitmap(c.jpeg.data(), c.jpeg.size(), c.scale, whole, result));
        const Bytes expected = Reduced(whole.pixels, whole.width, whole.height, c.width, c.height);
        const AreaReduction plan(whole.width, whole.height, c.width, c.height);
        for (const int cut : {1, 2, c.height / 3, c.height - 1, c.height}) {
            SCOPED_TRACE(std::string(c.what) + ", cut at " + std::to_string(cut));
            Bytes banded(expected.size(), 0);
            for (const auto& [first, end] : {std::pair{0, cut}, std::pair{cut, c.height}}) {
                if (first == end) continue;
                ReducingRowSink sink(plan, first, end, banded.data(), c.width * 4);
                ASSERT_TRUE(DecodeJpegRowsTo(c.jpeg.data(), c.jpeg.size(), c.scale,
                                             sink.FirstSourceRow(), sink.EndSourceRow(), nullptr,
                                             sink, result))
                    << result.error;
                EXPECT_TRUE(sink.Complete());
            }
            EXPECT_TRUE(banded == expected);
        }
    }
}
