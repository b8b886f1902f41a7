// JpegDecodes must give the verdict of a real 1/8-scale decode on every input, whatever it skips.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "image/raster_image.h"
#include "image_test_support.h"

using namespace image_test;

namespace {

bool DecodesAtOneEighth(const Bytes& bytes) {
    RasterImage image;
    return image.DecodeJpegScaled(bytes.data(), bytes.size(), 1, 1, nullptr, nullptr);
}

// Noise, so that the entropy-coded data holds 0xFF bytes (stuffed as FF 00) like a camera's.
Bytes NoiseJpeg(int components, bool progressive, int width = 160, int height = 120) {
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return std::uint8_t(state >> 16);
    };
    const Bytes pixels = components == 1 ? MakeGrey(width, height, [&](int, int) { return next(); })
                                         : MakeRgb(width, height, [&](int, int) {
                                               return RgbColor{next(), next(), next()};
                                           });
    return WriteJpeg(width, height, components, pixels, progressive, 90);
}

// Where the entropy-coded data of the first scan starts: after the SOS segment.
std::size_t ScanDataStart(const Bytes& jpeg) {
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const std::size_t length = std::size_t(jpeg[at + 2]) << 8 | jpeg[at + 3];
        if (jpeg[at + 1] == 0xDA) return at + 2 + length;
        at += 2 + length;
    }
    return 0;
}

Bytes Spliced(const Bytes& base, std::size_t at, std::size_t removed, const Bytes& inserted) {
    Bytes out(base.begin(), base.begin() + long(at));
    out.insert(out.end(), inserted.begin(), inserted.end());
    out.insert(out.end(), base.begin() + long(at + removed), base.end());
    return out;
}

TEST(JpegDecodes, givesTheVerdictOfARealDecodeOnNamedCases) {
    const Bytes good = NoiseJpeg(3, false);
    const std::size_t scan = ScanDataStart(good);
    ASSERT_GT(scan, 0u);
    const std::size_t eoi = good.size() - 2;
    struct Case {
        std::string name;
        Bytes bytes;
        bool decodes;
    };
    const Case cases[] = {
        {"a whole baseline thumbnail", good, true},
        {"a grey one", NoiseJpeg(1, false), true},
        {"a progressive one", NoiseJpeg(3, true), true},
        {"zero length", {}, false},
        {"28 zero bytes", Bytes(28, 0), false},
        {"SOI then EOI", {0xFF, 0xD8, 0xFF, 0xD9}, false},
        {"SOI only", {0xFF, 0xD8}, false},
        {"garbage after SOI", Spliced(Bytes(64, 0x5A), 0, 0, {0xFF, 0xD8}), false},
        {"a PNG signature", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, false},
        {"cut inside the headers", Bytes(good.begin(), good.begin() + 20), false},
        {"cut right after the scan header", Bytes(good.begin(), good.begin() + long(scan)), true},
        {"cut inside the scan", Bytes(good.begin(), good.begin() + long(scan + 100)), true},
        {"without EOI", Bytes(good.begin(), good.begin() + long(eoi)), true},
        {"garbage after EOI", Spliced(good, good.size(), 0, Bytes(50, 0xC0)), true},
        {"fill bytes before EOI", Spliced(good, eoi, 0, {0xFF, 0xFF, 0xFF}), true},
        {"a second frame header after the scan",
         Spliced(good, eoi, 0, {0xFF, 0xC0, 0x00, 0x0B, 8, 0, 8, 0, 8, 1, 1, 0x11, 0}), false},
        {"an unknown marker after the scan", Spliced(good, eoi, 0, {0xFF, 0x05}), false},
        {"a second scan in a single-scan image",
         Spliced(good, eoi, 0, {0xFF, 0xDA, 0x00, 0x08, 1, 1, 0x00, 0, 63, 0}), false},
        {"a comment after the scan", Spliced(good, eoi, 0, {0xFF, 0xFE, 0x00, 0x04, 'h', 'i'}),
         true},
        {"a restart marker without a restart interval", Spliced(good, eoi, 0, {0xFF, 0xD0}), true},
        {"a bad Huffman table after the scan",
         Spliced(good, eoi, 0, {0xFF, 0xC4, 0x00, 0x05, 0x7F, 0xFF}), false},
        {"a second SOI inside the scan", Spliced(good, scan + 40, 0, {0xFF, 0xD8}), false},
        {"the frame header's marker changed to an unsupported one",
         [&] {
             Bytes bytes = good;
             for (std::size_t i = 2; i + 1 < scan; ++i)
                 if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) bytes[i + 1] = 0xC3;
             return bytes;
         }(),
         false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JpegDecodes(c.bytes.data(), c.bytes.size()), c.decodes) << c.name;
        EXPECT_EQ(DecodesAtOneEighth(c.bytes), c.decodes) << c.name << " (the real decode)";
    }
}

// Every cut and every marker pair written over the data: the skipped decode agrees with the real
// one wherever the mutation lands (headers, scan data or the end).
TEST(JpegDecodes, agreesWithARealDecodeOnEveryCutAndOverwrittenMarker) {
    for (const Bytes& base :
         {NoiseJpeg(3, false, 48, 32), NoiseJpeg(1, false, 48, 32), NoiseJpeg(3, true, 48, 32)}) {
        for (std::size_t length = 0; length <= base.size(); ++length) {
            const Bytes cut(base.begin(), base.begin() + long(length));
            ASSERT_EQ(JpegDecodes(cut.data(), cut.size()), DecodesAtOneEighth(cut))
                << "cut at " << length;
        }
        for (const std::uint8_t second : {0x00, 0xFF, 0xD9, 0xD8, 0xC0, 0xC4, 0xD0, 0xDA, 0x05}) {
            for (std::size_t at = 0; at + 2 <= base.size(); at += 3) {
                const Bytes mutated = Spliced(base, at, 2, {0xFF, second});
                ASSERT_EQ(JpegDecodes(mutated.data(), mutated.size()), DecodesAtOneEighth(mutated))
                    << "FF " << int(second) << " at " << at;
            }
        }
    }
}

TEST(JpegDecodes, agreesWithARealDecodeOnTheSharedPhotos) {
    const std::string folder = PhotoTestdataDir();
    if (folder.empty()) GTEST_SKIP() << "shared photo set not found";
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(JpegDecodes(bytes.data(), bytes.size()), DecodesAtOneEighth(bytes))
            << entry.path();
        ++files;
    }
    EXPECT_GT(files, 0);
}

}  // namespace
