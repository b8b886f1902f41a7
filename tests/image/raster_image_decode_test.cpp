#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <png.h>

#include "image/raster_image.h"
#include "image_test_support.h"

using namespace image_test;

namespace {

// Quadrants (top-down): red | green over blue | white.
RgbColor Quadrant(int x, int y, int width, int height) {
    const bool left = x < width / 2, top = y < height / 2;
    if (top) return left ? RgbColor{255, 0, 0} : RgbColor{0, 255, 0};
    return left ? RgbColor{0, 0, 255} : RgbColor{255, 255, 255};
}

Bytes QuadrantJpeg(int width, int height, bool progressive = false) {
    return WriteJpeg(
        width, height, 3,
        MakeRgb(width, height, [&](int x, int y) { return Quadrant(x, y, width, height); }),
        progressive);
}

void ExpectNear(RgbColor actual, RgbColor expected, int tolerance) {
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
}

void ExpectCleanFailure(RasterImage& image, const Bytes& data, ImageFormat format) {
    EXPECT_FALSE(image.Decode(data.data(), data.size(), format));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Height(), 0);
    EXPECT_EQ(image.BitDepth(), 0);
    EXPECT_FALSE(image.LastError().empty());
}

// Changes the frame size in the SOF0 segment of a JPEG written by libjpeg.
Bytes WithFrameSize(Bytes jpeg, int width, int height) {
    for (std::size_t i = 2; i + 8 < jpeg.size();) {
        if (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            return jpeg;
        }
        i += 2 + (static_cast<std::size_t>(jpeg[i + 2]) << 8 | jpeg[i + 3]);
    }
    ADD_FAILURE() << "no SOF marker";
    return jpeg;
}

}  // namespace

TEST(ARasterImage, isEmptyUntilSomethingIsDecoded) {
    RasterImage image;
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.BitDepth(), 0);
    EXPECT_EQ(image.Stride(), 0);
    EXPECT_EQ(image.Row(0), nullptr);
    EXPECT_EQ(image.PixelColor(0, 0), RgbColor{});
    EXPECT_EQ(image.JpegQuality(), 90);
}

TEST(AColourJpeg, decodesTo24BitBottomUpBgrRows) {
    const Bytes jpeg = QuadrantJpeg(64, 48);
    RasterImage image;
    ASSERT_TRUE(image.Decode(jpeg.data(), jpeg.size(), ImageFormat::Jpeg)) << image.LastError();
    EXPECT_EQ(image.Width(), 64);
    EXPECT_EQ(image.Height(), 48);
    EXPECT_EQ(image.BitDepth(), 24);
    EXPECT_EQ(image.Stride(), 192);
    ExpectNear(image.PixelColor(8, 40), {255, 0, 0}, 6);      // top left
    ExpectNear(image.PixelColor(56, 40), {0, 255, 0}, 6);     // top right
    ExpectNear(image.PixelColor(8, 8), {0, 0, 255}, 6);       // bottom left
    ExpectNear(image.PixelColor(56, 8), {255, 255, 255}, 6);  // bottom right
    const std::uint8_t* bottom = image.Row(0);
    EXPECT_GT(bottom[8 * 3], 240);  // B of the blue pixel comes first
    EXPECT_LT(bottom[8 * 3 + 2], 16);
}

TEST(AProgressiveJpeg, decodesLikeABaselineOne) {
    const Bytes jpeg = QuadrantJpeg(64, 48, true);
    RasterImage image;
    ASSERT_TRUE(image.Decode(jpeg.data(), jpeg.size(), ImageFormat::Jpeg)) << image.LastError();
    ExpectNear(image.PixelColor(8, 40), {255, 0, 0}, 6);
    ExpectNear(image.PixelColor(8, 8), {0, 0, 255}, 6);
}

TEST(AGreyJpeg, decodesTo8BitWithAGreyRampPalette) {
    const Bytes grey =
        MakeGrey(32, 16, [](int x, int) { return static_cast<std::uint8_t>(x < 16 ? 40 : 200); });
    const Bytes jpeg = WriteJpeg(32, 16, 1, grey, false);
    RasterImage image;
    ASSERT_TRUE(image.Decode(jpeg.data(), jpeg.size(), ImageFormat::Jpeg)) << image.LastError();
    EXPECT_EQ(image.BitDepth(), 8);
    EXPECT_TRUE(image.IsGreyscale());
    ASSERT_EQ(image.Palette().size(), 256u);
    EXPECT_NEAR(image.PixelIndex(4, 8), 40, 3);
    EXPECT_NEAR(image.PixelIndex(28, 8), 200, 3);
    EXPECT_EQ(image.PixelColor(28, 8).r, image.PixelIndex(28, 8));
}

TEST(ACmykJpeg, decodesToRgb) {
    // Adobe CMYK stores 255 - ink: full magenta and yellow, no cyan and no black is red.
    Bytes cmyk;
    for (int i = 0; i < 16 * 16; ++i) cmyk.insert(cmyk.end(), {255, 0, 0, 255});
    const Bytes jpeg = WriteJpeg(16, 16, 4, cmyk, false);
    RasterImage image;
    ASSERT_TRUE(image.Decode(jpeg.data(), jpeg.size(), ImageFormat::Jpeg)) << image.LastError();
    EXPECT_EQ(image.BitDepth(), 24);
    ExpectNear(image.PixelColor(8, 8), {255, 0, 0}, 6);
}

TEST(AJpegBlob, decodesWithTheCataloguesTrailingZeroByte) {
    Bytes jpeg = QuadrantJpeg(16, 16);
    jpeg.push_back(0);
    RasterImage image;
    EXPECT_TRUE(image.Decode(jpeg.data(), jpeg.size(), ImageFormat::Jpeg)) << image.LastError();
}

TEST(AJpegCutInsideItsHeaders, failsCleanlyAndEmptiesTheImage) {
    const Bytes jpeg = QuadrantJpeg(64, 48);
    RasterImage image;
    ASSERT_TRUE(image.Decode(jpeg.data(), jpeg.size(), ImageFormat::Jpeg));
    ExpectCleanFailure(image, Bytes(jpeg.begin(), jpeg.begin() + 20), ImageFormat::Jpeg);
    ExpectCleanFailure(image, Bytes(jpeg.begin(), jpeg.begin() + 200), ImageFormat::Jpeg);
}

// As in libjpeg: what arrived is shown, the rest is grey.
TEST(AJpegCutInsideItsImageData, decodesThePartThatArrivedAndSaysItIsTruncated) {
    const Bytes jpeg = QuadrantJpeg(512, 384);
    RasterImage image;
    ASSERT_TRUE(image.Decode(jpeg.data(), jpeg.size(), ImageFormat::Jpeg));
    EXPECT_FALSE(image.IsTruncated());
    const Bytes cut(jpeg.begin(), jpeg.begin() + jpeg.size() * 6 / 10);
    ASSERT_TRUE(image.Decode(cut.data(), cut.size(), ImageFormat::Jpeg)) << image.LastError();
    EXPECT_TRUE(image.IsTruncated());
    EXPECT_EQ(image.Width(), 512);
    ExpectNear(image.PixelColor(40, 370), {255, 0, 0}, 6);  // the top rows arrived
    const RgbColor missing = image.PixelColor(500, 10);     // the bottom rows did not
    EXPECT_NEAR(missing.r, missing.b, 8);
    EXPECT_LT(missing.r, 200);
}

TEST(AGarbageJpeg, failsCleanly) {
    RasterImage image;
    ExpectCleanFailure(image, Bytes(1000, 0x5A), ImageFormat::Jpeg);
    ExpectCleanFailure(image, Bytes{0xFF, 0xD8, 0xFF, 0xD9}, ImageFormat::Jpeg);
    EXPECT_FALSE(image.Decode(nullptr, 0, ImageFormat::Jpeg));
    EXPECT_FALSE(image.LastError().empty());
}

TEST(AJpegWithAbsurdDimensions, isRefusedBeforeAllocating) {
    const Bytes jpeg = WithFrameSize(QuadrantJpeg(16, 16), 65000, 65000);
    RasterImage image;
    ExpectCleanFailure(image, jpeg, ImageFormat::Jpeg);
    EXPECT_EQ(image.LastError(), "image too large");
}

TEST(DecodeJpegScaled, picksTheSmallestEighthThatCoversTheMinimum) {
    const Bytes jpeg = QuadrantJpeg(1600, 1200);
    RasterImage image;
    int w = 0, h = 0;
    ASSERT_TRUE(image.DecodeJpegScaled(jpeg.data(), jpeg.size(), 160, 120, &w, &h))
        << image.LastError();
    EXPECT_EQ(w, 1600);
    EXPECT_EQ(h, 1200);
    EXPECT_EQ(image.Width(), 200);  // 1/8
    EXPECT_EQ(image.Height(), 150);
    ExpectNear(image.PixelColor(20, 130), {255, 0, 0}, 8);
    ExpectNear(image.PixelColor(20, 20), {0, 0, 255}, 8);

    ASSERT_TRUE(image.DecodeJpegScaled(jpeg.data(), jpeg.size(), 250, 120, &w, &h));
    EXPECT_EQ(image.Width(), 400);  // 1/8 gives 200 < 250; 2/8 is the smallest that covers it
    EXPECT_EQ(image.Height(), 300);
    ASSERT_TRUE(image.DecodeJpegScaled(jpeg.data(), jpeg.size(), 1000, 10, nullptr, nullptr));
    EXPECT_EQ(image.Width(), 1000);  // 5/8
    ASSERT_TRUE(image.DecodeJpegScaled(jpeg.data(), jpeg.size(), 1601, 1, nullptr, nullptr));
    EXPECT_EQ(image.Width(), 1600);  // nothing covers it: full size
}

TEST(DecodeJpegScaled, scalesProgressiveAndGreyJpegsToo) {
    RasterImage image;
    const Bytes progressive = QuadrantJpeg(800, 600, true);
    ASSERT_TRUE(
        image.DecodeJpegScaled(progressive.data(), progressive.size(), 160, 120, nullptr, nullptr));
    EXPECT_EQ(image.Width(), 200);
    const Bytes grey = WriteJpeg(
        800, 600, 1, MakeGrey(800, 600, [](int, int) { return std::uint8_t{77}; }), false);
    ASSERT_TRUE(image.DecodeJpegScaled(grey.data(), grey.size(), 100, 75, nullptr, nullptr));
    EXPECT_EQ(image.Width(), 100);
    EXPECT_EQ(image.BitDepth(), 8);
    EXPECT_NEAR(image.PixelIndex(50, 30), 77, 2);
}

TEST(DecodeJpegScaled, reportsTheHeaderSizeEvenWhenTheDecodeFails) {
    const Bytes jpeg = WithFrameSize(QuadrantJpeg(16, 16), 65000, 60000);
    RasterImage image;
    int w = 0, h = 0;
    EXPECT_FALSE(image.DecodeJpegScaled(jpeg.data(), jpeg.size(), 65000, 60000, &w, &h));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.LastError(), "image too large");
    EXPECT_EQ(w, 65000);
    EXPECT_EQ(h, 60000);
}

TEST(APng, decodesRgbExactlyAndBottomUp) {
    const Bytes rgb = MakeRgb(5, 3, [](int x, int y) {
        return RgbColor{static_cast<std::uint8_t>(x * 50), static_cast<std::uint8_t>(y * 100), 7};
    });
    const Bytes png = WritePng(5, 3, PNG_FORMAT_RGB, rgb);
    RasterImage image;
    ASSERT_TRUE(image.Decode(png.data(), png.size(), ImageFormat::Png)) << image.LastError();
    EXPECT_EQ(image.BitDepth(), 24);
    EXPECT_FALSE(image.HasAlpha());
    EXPECT_EQ(image.Stride(), 16);
    EXPECT_EQ(image.PixelColor(4, 2), (RgbColor{200, 0, 7}));  // top row of the picture
    EXPECT_EQ(image.PixelColor(1, 0), (RgbColor{50, 200, 7}));
}

TEST(APng, withTransparencyKeepsAnAlphaPlane) {
    Bytes rgba;
    for (int i = 0; i < 4; ++i)
        rgba.insert(rgba.end(), {10, 20, 30, static_cast<std::uint8_t>(i * 80)});
    const Bytes png = WritePng(2, 2, PNG_FORMAT_RGBA, rgba);
    RasterImage image;
    ASSERT_TRUE(image.Decode(png.data(), png.size(), ImageFormat::Png)) << image.LastError();
    EXPECT_EQ(image.BitDepth(), 24);
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(image.PixelColor(0, 1), (RgbColor{10, 20, 30}));
    EXPECT_EQ(image.AlphaRow(1)[0], 0);    // top-left
    EXPECT_EQ(image.AlphaRow(0)[1], 240);  // bottom-right
}

TEST(APng, greyAndPaletteImagesDecodeTo8Bit) {
    RasterImage image;
    const Bytes grey = WritePng(3, 1, PNG_FORMAT_GRAY, Bytes{0, 128, 255});
    ASSERT_TRUE(image.Decode(grey.data(), grey.size(), ImageFormat::Png)) << image.LastError();
    EXPECT_EQ(image.BitDepth(), 8);
    EXPECT_TRUE(image.IsGreyscale());
    EXPECT_EQ(image.PixelIndex(1, 0), 128);

    const Bytes colormap{255, 0, 0, 0, 0, 255};  // RGB entries: red, blue
    const Bytes mapped = WritePng(2, 1, PNG_FORMAT_RGB_COLORMAP, Bytes{1, 0}, colormap, 2);
    ASSERT_TRUE(image.Decode(mapped.data(), mapped.size(), ImageFormat::Png)) << image.LastError();
    EXPECT_EQ(image.BitDepth(), 8);
    EXPECT_EQ(image.Palette().size(), 256u);
    EXPECT_EQ(image.PixelColor(0, 0), (RgbColor{0, 0, 255}));
    EXPECT_EQ(image.PixelColor(1, 0), (RgbColor{255, 0, 0}));
}

TEST(ATruncatedOrGarbagePng, failsCleanly) {
    const Bytes png = WritePng(
        64, 64, PNG_FORMAT_RGB, MakeRgb(64, 64, [](int x, int y) {
            return RgbColor{static_cast<std::uint8_t>(x * y), static_cast<std::uint8_t>(x), 3};
        }));
    RasterImage image;
    ExpectCleanFailure(image, Bytes(png.begin(), png.begin() + png.size() / 2), ImageFormat::Png);
    ExpectCleanFailure(image, Bytes(png.begin(), png.begin() + 30), ImageFormat::Png);
    ExpectCleanFailure(image, Bytes(500, 0x33), ImageFormat::Png);
    ExpectCleanFailure(image, QuadrantJpeg(8, 8), ImageFormat::Png);
}

TEST(ABmp, decodes24BitFilesBottomUpAndTopDown) {
    const std::vector<Bytes> rows{{1, 2, 3, 4, 5, 6, 7, 8, 9},
                                  {10, 11, 12, 13, 14, 15, 16, 17, 18}};  // BGR
    RasterImage image;
    for (bool topDown : {false, true}) {
        const Bytes bmp = WriteBmp(3, 2, 24, rows, {}, topDown);
        ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), ImageFormat::Bmp)) << image.LastError();
        EXPECT_EQ(image.BitDepth(), 24);
        EXPECT_EQ(image.PixelColor(0, 1), (RgbColor{3, 2, 1}));  // first row given is the top
        EXPECT_EQ(image.PixelColor(2, 0), (RgbColor{18, 17, 16}));
    }
}

TEST(ABmp, decodesPalette1And4And8BitImages) {
    const std::vector<RgbColor> palette{{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    RasterImage image;
    Bytes bmp = WriteBmp(3, 1, 8, {{3, 1, 2}}, palette);
    ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), ImageFormat::Bmp)) << image.LastError();
    EXPECT_EQ(image.BitDepth(), 8);
    EXPECT_EQ(image.PixelIndex(0, 0), 3);
    EXPECT_EQ(image.PixelColor(2, 0), (RgbColor{0, 255, 0}));

    bmp = WriteBmp(3, 1, 4, {{0x31, 0x20}}, palette);
    ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), ImageFormat::Bmp)) << image.LastError();
    EXPECT_EQ(image.PixelIndex(0, 0), 3);
    EXPECT_EQ(image.PixelIndex(1, 0), 1);
    EXPECT_EQ(image.PixelIndex(2, 0), 2);

    bmp = WriteBmp(10, 1, 1, {{0xA0, 0x40}}, {{0, 0, 0}, {255, 255, 255}});
    ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), ImageFormat::Bmp)) << image.LastError();
    EXPECT_EQ(image.PixelIndex(0, 0), 1);
    EXPECT_EQ(image.PixelIndex(1, 0), 0);
    EXPECT_EQ(image.PixelIndex(2, 0), 1);
    EXPECT_EQ(image.PixelIndex(9, 0), 1);
}

TEST(ABmp, decodes16And32BitImages) {
    RasterImage image;
    Bytes bmp = WriteBmp(1, 1, 32, {{30, 20, 10, 0}});
    ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), ImageFormat::Bmp)) << image.LastError();
    EXPECT_EQ(image.PixelColor(0, 0), (RgbColor{10, 20, 30}));
    bmp = WriteBmp(1, 1, 16, {{0x1F, 0x7C}});  // 0x7C1F: red 31, green 0, blue 31 (5-5-5)
    ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), ImageFormat::Bmp)) << image.LastError();
    EXPECT_EQ(image.PixelColor(0, 0), (RgbColor{255, 0, 255}));
}

TEST(ABmp, decodesRle8) {
    // Bottom row: run of 2 x index 1, then absolute 3 (2, 3, 2, padded); end of line; top row:
    // 5 x index 2; end of bitmap.
    const Bytes rle{2, 1, 0, 3, 2, 3, 2, 0, 0, 0, 5, 2, 0, 1};
    const Bytes bmp =
        WriteBmp(5, 2, 8, {}, {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {3, 3, 3}}, false, 1, rle);
    RasterImage image;
    ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), ImageFormat::Bmp)) << image.LastError();
    EXPECT_EQ(image.PixelIndex(0, 0), 1);
    EXPECT_EQ(image.PixelIndex(2, 0), 2);
    EXPECT_EQ(image.PixelIndex(3, 0), 3);
    EXPECT_EQ(image.PixelIndex(4, 0), 2);
    EXPECT_EQ(image.PixelIndex(4, 1), 2);
}

TEST(ABmp, decodesAPackedDibWithoutFileHeader) {
    const Bytes bmp = WriteBmp(2, 1, 24, {{1, 2, 3, 4, 5, 6}});
    const Bytes dib(bmp.begin() + 14, bmp.end());
    RasterImage image;
    ASSERT_TRUE(image.Decode(dib.data(), dib.size(), ImageFormat::Bmp)) << image.LastError();
    EXPECT_EQ(image.PixelColor(1, 0), (RgbColor{6, 5, 4}));
}

TEST(ATruncatedOrGarbageBmp, failsCleanly) {
    std::vector<Bytes> rows(40, Bytes(120, 9));
    const Bytes bmp = WriteBmp(40, 40, 24, rows);
    RasterImage image;
    ExpectCleanFailure(image, Bytes(bmp.begin(), bmp.begin() + bmp.size() / 2), ImageFormat::Bmp);
    ExpectCleanFailure(image, Bytes(bmp.begin(), bmp.begin() + 20), ImageFormat::Bmp);
    ExpectCleanFailure(image, Bytes(300, 0xEE), ImageFormat::Bmp);
    Bytes huge = bmp;  // claims 2^31-1 x 2^31-1
    for (int i : {18, 22})
        huge[i] = 0xFF, huge[i + 1] = 0xFF, huge[i + 2] = 0xFF, huge[i + 3] = 0x7F;
    ExpectCleanFailure(image, huge, ImageFormat::Bmp);
}

// Bounded, deterministic byte mutations of valid files: any outcome but a crash is acceptable,
// and a failure must leave the image empty. Most useful under the sanitizer build.
TEST(MutatedImages, neverCrashTheDecoders) {
    const Bytes seeds[3] = {
        QuadrantJpeg(48, 32, true),
        WritePng(24, 24, PNG_FORMAT_RGBA, Bytes(24 * 24 * 4, 99)),
        WriteBmp(4, 4, 8, std::vector<Bytes>(4, Bytes{1, 2, 3, 0}),
                 {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {9, 9, 9}}),
    };
    const ImageFormat formats[3] = {ImageFormat::Jpeg, ImageFormat::Png, ImageFormat::Bmp};
    std::uint32_t state = 12345;
    auto next = [&] { return state = state * 1664525u + 1013904223u; };
    for (int f = 0; f < 3; ++f) {
        for (int round = 0; round < 300; ++round) {
            Bytes data = seeds[f];
            const int edits = 1 + next() % 8;
            for (int e = 0; e < edits; ++e)
                data[next() % data.size()] = static_cast<std::uint8_t>(next() >> 24);
            if (round % 5 == 0) data.resize(next() % data.size() + 1);
            RasterImage image;
            if (!image.Decode(data.data(), data.size(), formats[f])) {
                EXPECT_TRUE(image.IsEmpty());
            } else {
                EXPECT_GT(image.Width(), 0);
            }
            int w = 0, h = 0;
            if (f == 0) image.DecodeJpegScaled(data.data(), data.size(), 16, 16, &w, &h);
        }
    }
}

// The shared real-world photo set: every file either decodes to its header's size or fails
// cleanly; the scaled decode agrees with the full one.
TEST(RealWorldPhotos, decodeOrFailCleanly) {
    const std::string dir = PhotoTestdataDir();
    if (dir.empty()) GTEST_SKIP() << "shared photo test data not present";
    int decoded = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".jpg" && ext != ".JPG" && ext != ".jpeg") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const Bytes data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        RasterImage full, scaled;
        int w = 0, h = 0;
        const bool scaledOk = scaled.DecodeJpegScaled(data.data(), data.size(), 160, 120, &w, &h);
        const bool ok = full.Decode(data.data(), data.size(), ImageFormat::Jpeg);
        if (entry.path().filename() == "truncated-DSCN0010.jpg") {
            // README: a viewer should show the top part of this cut-off photo.
            EXPECT_TRUE(ok);
            EXPECT_TRUE(full.IsTruncated());
        }
        if (ok) {
            ++decoded;
            EXPECT_TRUE(scaledOk) << entry.path();
            EXPECT_EQ(full.Width(), w) << entry.path();
            EXPECT_EQ(full.Height(), h) << entry.path();
            EXPECT_TRUE(full.BitDepth() == 24 || full.BitDepth() == 8);
        } else {
            EXPECT_TRUE(full.IsEmpty()) << entry.path();
            EXPECT_FALSE(full.LastError().empty()) << entry.path();
        }
    }
    EXPECT_GT(decoded, 20);
}

namespace {

// The B,G,R,X pixel at (x, y) of a 32-bit top-down bitmap, X checked to be 255.
RgbColor BitmapColor(const Bitmap& bitmap, int x, int y) {
    const std::uint8_t* p =
        bitmap.pixels.data() + static_cast<std::size_t>(y) * BitmapStride(bitmap.width, 32) + x * 4;
    EXPECT_EQ(p[3], 255) << "at " << x << "," << y;
    return {p[2], p[1], p[0]};
}

}  // namespace

TEST(DecodeJpegBitmap, writesTopDownDisplayPixelsAtTheScaleAskedForInEveryColourSpace) {
    struct Case {
        const char* what;
        Bytes jpeg;
        int scale;
        int width, height;
        RgbColor topLeft, bottomRight;
    };
    Bytes cmyk;
    for (int i = 0; i < 64 * 48; ++i) cmyk.insert(cmyk.end(), {255, 0, 0, 255});
    const Case cases[] = {
        {"baseline", QuadrantJpeg(1600, 1200), 2, 400, 300, {255, 0, 0}, {255, 255, 255}},
        {"full size", QuadrantJpeg(160, 120), 8, 160, 120, {255, 0, 0}, {255, 255, 255}},
        {"progressive", QuadrantJpeg(800, 600, true), 1, 100, 75, {255, 0, 0}, {255, 255, 255}},
        {"grey",
         WriteJpeg(64, 48, 1, MakeGrey(64, 48, [](int, int) { return std::uint8_t{77}; }), false),
         4,
         32,
         24,
         {77, 77, 77},
         {77, 77, 77}},
        {"cmyk", WriteJpeg(64, 48, 4, cmyk, false), 8, 64, 48, {255, 0, 0}, {255, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bitmap bitmap;
        JpegBitmapDecode result;
        ASSERT_TRUE(DecodeJpegBitmap(c.jpeg.data(), c.jpeg.size(), c.scale, bitmap, result))
            << result.error;
        EXPECT_EQ(bitmap.width, c.width);
        EXPECT_EQ(bitmap.height, c.height);
        EXPECT_EQ(bitmap.bitDepth, 32);
        EXPECT_FALSE(result.truncated);
        ExpectNear(BitmapColor(bitmap, 2, 2), c.topLeft, 8);
        ExpectNear(BitmapColor(bitmap, c.width - 3, c.height - 3), c.bottomRight, 8);
        int width = 0, height = 0;
        ASSERT_TRUE(ReadJpegSize(c.jpeg.data(), c.jpeg.size(), width, height));
        EXPECT_EQ(width, c.width * 8 / c.scale);
    }
}

TEST(FastJpegScaleCovering, agreesWithLibjpegsOwnRoundingOnOddSizes) {
    // Odd sides round up at every scale; the scale chosen must cover the minimum and the next
    // faster one must not.
    const Bytes jpeg = QuadrantJpeg(1001, 603);
    const int minimums[][2] = {{126, 1}, {1, 76}, {125, 75}, {251, 10}, {501, 302}, {1001, 603}};
    for (const auto& minimum : minimums) {
        const int scale = FastJpegScaleCovering(1001, 603, minimum[0], minimum[1]);
        Bitmap bitmap;
        JpegBitmapDecode result;
        ASSERT_TRUE(DecodeJpegBitmap(jpeg.data(), jpeg.size(), scale, bitmap, result));
        EXPECT_GE(bitmap.width, minimum[0]);
        EXPECT_GE(bitmap.height, minimum[1]);
        if (scale > 1) {
            ASSERT_TRUE(DecodeJpegBitmap(jpeg.data(), jpeg.size(), scale / 2, bitmap, result));
            EXPECT_TRUE(bitmap.width < minimum[0] || bitmap.height < minimum[1]) << scale;
        }
    }
    EXPECT_EQ(FastJpegScaleCovering(100, 100, 200, 200), 8);  // smaller than the minimum
}

TEST(DecodeJpegBitmap, cutHostileOrGarbageDataGivesAClearResult) {
    const Bytes jpeg = QuadrantJpeg(512, 384);
    Bitmap bitmap;
    JpegBitmapDecode result;
    const Bytes cut(jpeg.begin(), jpeg.begin() + jpeg.size() * 6 / 10);
    ASSERT_TRUE(DecodeJpegBitmap(cut.data(), cut.size(), 8, bitmap, result)) << result.error;
    EXPECT_TRUE(result.truncated);
    ExpectNear(BitmapColor(bitmap, 40, 10), {255, 0, 0}, 6);  // the top rows arrived

    const Bytes absurd = WithFrameSize(QuadrantJpeg(16, 16), 65000, 65000);
    const Bytes failing[] = {Bytes(jpeg.begin(), jpeg.begin() + 200), Bytes(1000, 0x5A), absurd};
    for (const Bytes& data : failing) {
        EXPECT_FALSE(DecodeJpegBitmap(data.data(), data.size(), 8, bitmap, result));
        EXPECT_TRUE(bitmap.pixels.empty());
        EXPECT_EQ(bitmap.width, 0);
        EXPECT_FALSE(result.error.empty());
    }
    EXPECT_EQ(result.error, "image too large");
    int width = 0, height = 0;
    EXPECT_TRUE(ReadJpegSize(absurd.data(), absurd.size(), width, height));  // the header is fine
    EXPECT_EQ(width, 65000);
    EXPECT_FALSE(ReadJpegSize(failing[1].data(), failing[1].size(), width, height));
    EXPECT_FALSE(DecodeJpegBitmap(jpeg.data(), jpeg.size(), 3, bitmap, result));  // a slow eighth
    EXPECT_FALSE(DecodeJpegBitmap(nullptr, 0, 8, bitmap, result));
}
