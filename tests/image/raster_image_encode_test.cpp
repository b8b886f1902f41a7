#include <gtest/gtest.h>

#include "image/raster_image.h"
#include "image_test_support.h"

using namespace image_test;

namespace {
RasterImage Gradient(int width, int height) {
    const Bytes rgb = MakeRgb(width, height, [](int x, int y) {
        return RgbColor{static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>(y * 4), 128};
    });
    return RasterImage::FromRgbTopDown(width, height, rgb.data());
}
}  // namespace

TEST(EncodeJpeg, failsWithoutTouchingANonEmptyBuffer) {
    const RasterImage image = Gradient(16, 16);
    std::vector<std::uint8_t> output{1, 2, 3};
    const auto* data = output.data();
    EXPECT_FALSE(image.EncodeJpeg(output));
    EXPECT_EQ(output, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(output.data(), data);
    EXPECT_FALSE(image.LastError().empty());
}

TEST(EncodeJpeg, failsForAnEmptyImage) {
    RasterImage image;
    std::vector<std::uint8_t> output;
    EXPECT_FALSE(image.EncodeJpeg(output));
    EXPECT_TRUE(output.empty());
}

TEST(EncodeJpeg, writesBaseline420) {
    const RasterImage image = Gradient(40, 30);
    std::vector<std::uint8_t> output;
    ASSERT_TRUE(image.EncodeJpeg(output)) << image.LastError();
    ASSERT_GE(output.size(), 4u);
    EXPECT_EQ(output[0], 0xFF);
    EXPECT_EQ(output[1], 0xD8);
    EXPECT_EQ(output[output.size() - 2], 0xFF);
    EXPECT_EQ(output[output.size() - 1], 0xD9);
    const JpegHeader h = ReadJpegHeader(output);
    ASSERT_TRUE(h.ok);
    EXPECT_EQ(h.sofMarker, 0xC0);  // baseline DCT
    EXPECT_FALSE(h.progressive);
    EXPECT_FALSE(h.arithmetic);
    EXPECT_EQ(h.width, 40);
    EXPECT_EQ(h.height, 30);
    ASSERT_EQ(h.components, 3);
    EXPECT_EQ(h.hSamp[0], 2);
    EXPECT_EQ(h.vSamp[0], 2);
    EXPECT_EQ(h.hSamp[1], 1);
    EXPECT_EQ(h.vSamp[1], 1);
    EXPECT_EQ(h.hSamp[2], 1);
    EXPECT_EQ(h.vSamp[2], 1);
}

// Quality 90 is visible in the bytes: libjpeg's own output at quality 90 from the same pixels.
TEST(EncodeJpeg, matchesLibjpegAtQuality90) {
    const Bytes rgb = MakeRgb(33, 17, [](int x, int y) {
        return RgbColor{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 13),
                        static_cast<std::uint8_t>(x * y)};
    });
    const RasterImage image = RasterImage::FromRgbTopDown(33, 17, rgb.data());
    std::vector<std::uint8_t> output;
    ASSERT_TRUE(image.EncodeJpeg(output));
    EXPECT_EQ(output, WriteJpeg(33, 17, 3, rgb, false, 90));
}

TEST(EncodeJpeg, roundTripsThePicture) {
    const RasterImage image = Gradient(48, 32);
    std::vector<std::uint8_t> output;
    ASSERT_TRUE(image.EncodeJpeg(output));
    RasterImage decoded;
    ASSERT_TRUE(decoded.Decode(output.data(), output.size(), ImageFormat::Jpeg));
    for (int y : {2, 16, 29}) {
        for (int x : {3, 20, 44}) {
            const RgbColor a = image.PixelColor(x, y), b = decoded.PixelColor(x, y);
            EXPECT_NEAR(a.r, b.r, 6);
            EXPECT_NEAR(a.g, b.g, 6);
            EXPECT_NEAR(a.b, b.b, 6);
        }
    }
}

TEST(EncodeJpeg, writesGreyImagesAsOneComponentAndPaletteImagesInColour) {
    const Bytes grey =
        MakeGrey(16, 8, [](int x, int) { return static_cast<std::uint8_t>(x * 16); });
    RasterImage image = RasterImage::FromGreyTopDown(16, 8, grey.data());
    std::vector<std::uint8_t> output;
    ASSERT_TRUE(image.EncodeJpeg(output));
    EXPECT_EQ(ReadJpegHeader(output).components, 1);

    // A BMP palette image (red and blue) must stay in colour.
    const Bytes bmp =
        WriteBmp(16, 16, 8, std::vector<Bytes>(16, Bytes(16, 1)), {{0, 0, 255}, {255, 0, 0}});
    ASSERT_TRUE(image.Decode(bmp.data(), bmp.size(), ImageFormat::Bmp));
    output.clear();
    ASSERT_TRUE(image.EncodeJpeg(output));
    EXPECT_EQ(ReadJpegHeader(output).components, 3);
    RasterImage decoded;
    ASSERT_TRUE(decoded.Decode(output.data(), output.size(), ImageFormat::Jpeg));
    EXPECT_GT(decoded.PixelColor(8, 8).r, 240);
    EXPECT_LT(decoded.PixelColor(8, 8).b, 16);
}

TEST(Light, minus150OnWhiteGives105Grey) {
    const Bytes white(3 * 4, 255);
    RasterImage image = RasterImage::FromRgbTopDown(2, 2, white.data());
    ASSERT_TRUE(image.Light(-150));
    EXPECT_EQ(image.PixelColor(1, 1), (RgbColor{105, 105, 105}));
}

TEST(Light, clampsEachChannelAndTheArgument) {
    const Bytes rgb{10, 200, 250};
    RasterImage image = RasterImage::FromRgbTopDown(1, 1, rgb.data());
    ASSERT_TRUE(image.Light(100));
    EXPECT_EQ(image.PixelColor(0, 0), (RgbColor{110, 255, 255}));
    ASSERT_TRUE(image.Light(-1000));
    EXPECT_EQ(image.PixelColor(0, 0), (RgbColor{0, 0, 0}));
}

TEST(Light, changesThePaletteOf8BitImages) {
    const Bytes grey{200, 10};
    RasterImage image = RasterImage::FromGreyTopDown(2, 1, grey.data());
    ASSERT_TRUE(image.Light(-50));
    EXPECT_EQ(image.PixelIndex(0, 0), 200);
    EXPECT_EQ(image.PixelColor(0, 0), (RgbColor{150, 150, 150}));
    EXPECT_EQ(image.PixelColor(1, 0), (RgbColor{0, 0, 0}));
    RasterImage empty;
    EXPECT_FALSE(empty.Light(10));
}

TEST(FromRgbTopDown, refusesInvalidArguments) {
    const Bytes rgb(3, 0);
    EXPECT_TRUE(RasterImage::FromRgbTopDown(0, 1, rgb.data()).IsEmpty());
    EXPECT_TRUE(RasterImage::FromRgbTopDown(1, 1, nullptr).IsEmpty());
    EXPECT_TRUE(RasterImage::FromRgbTopDown(70000, 70000, rgb.data()).IsEmpty());  // > 1 GiB
}
