#include "metadata/thumbnail_maker.h"

#include "image/raster_image.h"
#include "reader_test_fixture.h"

namespace {

TEST(ThumbnailTarget, MakesTheLongerSide160ByIntegerDivision) {
    auto expectTarget = [](int w, int h, int tw, int th) {
        ThumbnailSize t = ThumbnailTarget(w, h);
        EXPECT_EQ(t.width, tw) << w << "x" << h;
        EXPECT_EQ(t.height, th) << w << "x" << h;
    };
    expectTarget(4000, 3000, 160, 120);
    expectTarget(3000, 4000, 120, 160);
    expectTarget(3000, 3000, 160, 160);  // square: the width is the computed side
    expectTarget(5000, 20, 160, 0);      // degenerate: no thumbnail pixels
    expectTarget(20, 5000, 0, 160);
    expectTarget(100, 68, 160, 108);  // small images are enlarged
    expectTarget(2147483647, 2147483646, 160, 159);
    expectTarget(0, 100, 0, 0);
    expectTarget(100, 0, 0, 0);
}

class GeneratedThumbnail : public ReaderTest {
  protected:
    RasterImage Generate(int width, int height) {
        TestJpegOptions options;
        options.withExif = false;
        options.width = width;
        options.height = height;
        options.pattern = TestPattern::Gradient;
        std::string path = Write("image.jpg", options);
        PhotoRecord record;
        auto bytes = GenerateThumbnail(path, record);
        EXPECT_TRUE(bytes.has_value());
        EXPECT_EQ(record.nWidth, width);
        EXPECT_EQ(record.nHeight, height);
        RasterImage image;
        if (bytes && !bytes->empty()) {
            EXPECT_TRUE(image.Decode(bytes->data(), bytes->size(), ImageFormat::Jpeg));
        }
        return image;
    }
};

TEST_F(GeneratedThumbnail, HasTheTargetSizeForLandscapePortraitAndSquareImages) {
    RasterImage landscape = Generate(2000, 1500);
    EXPECT_EQ(landscape.Width(), 160);
    EXPECT_EQ(landscape.Height(), 120);
    RasterImage portrait = Generate(1500, 2000);
    EXPECT_EQ(portrait.Width(), 120);
    EXPECT_EQ(portrait.Height(), 160);
    RasterImage square = Generate(1000, 1000);
    EXPECT_EQ(square.Width(), 160);
    EXPECT_EQ(square.Height(), 160);
}

TEST_F(GeneratedThumbnail, KeepsTheImageContentInPlace) {
    // Gradient: red grows to the right, green downwards.
    RasterImage image = Generate(1200, 900);
    ASSERT_FALSE(image.IsEmpty());
    RgbColor topLeft = image.PixelColor(2, image.Height() - 3);
    RgbColor bottomRight = image.PixelColor(image.Width() - 3, 2);
    EXPECT_LT(topLeft.r + 100, bottomRight.r);
    EXPECT_LT(topLeft.g + 100, bottomRight.g);
}

TEST_F(GeneratedThumbnail, IsEmptyForADegenerateImageAndAbsentForAnUnreadableOne) {
    TestJpegOptions options;
    options.withExif = false;
    options.width = 5000;
    options.height = 20;
    PhotoRecord record;
    auto bytes = GenerateThumbnail(Write("strip.jpg", options), record);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(bytes->empty());

    std::string broken = folder.File("broken.jpg");
    ASSERT_TRUE(WriteBytesFile(broken, {0xFF, 0xD8, 0xFF, 0xDB, 0x00}));
    EXPECT_FALSE(GenerateThumbnail(broken, record).has_value());
    EXPECT_FALSE(GenerateThumbnail(folder.File("missing.jpg"), record).has_value());
}

// What some cameras store as the EXIF thumbnail instead of a picture.
std::vector<std::vector<std::uint8_t>> PlaceholderThumbnails() {
    std::vector<std::uint8_t> headerOnly = MakePlainJpeg(16, 12, 3);
    headerOnly.resize(20);  // SOI and part of the first segment
    return {std::vector<std::uint8_t>(28, 0), {0xFF, 0xD8, 0xFF, 0xD9}, headerOnly};
}

TEST_F(ReaderTest, ReplacesAnEmbeddedThumbnailThatDoesNotDecodeByOneOfTheImage) {
    std::vector<std::vector<std::uint8_t>> seen;
    std::uint32_t seed = 1;
    for (const std::vector<std::uint8_t>& placeholder : PlaceholderThumbnails()) {
        TestJpegOptions options = CameraOptions();
        options.width = 200;
        options.height = 150;
        options.seed = seed++;
        options.thumbnailBytes = placeholder;
        ASSERT_TRUE(ReadPhotoFile(reader, Write("placeholder.jpg", options), true));
        auto thumb = reader.Thumbnail();
        std::vector<std::uint8_t> bytes(thumb.begin(), thumb.end());
        RasterImage decoded;
        ASSERT_TRUE(decoded.Decode(bytes.data(), bytes.size(), ImageFormat::Jpeg));
        EXPECT_EQ(decoded.Width(), 160);
        EXPECT_EQ(decoded.Height(), 120);
        EXPECT_STREQ(reader.Record().strMake, "Canon") << "the tags are read all the same";
        for (const auto& other : seen) EXPECT_NE(bytes, other) << "distinct images, one thumbnail";
        seen.push_back(bytes);
    }
}

TEST(DecodesAsJpeg, AcceptsPicturesEvenCutShortAndRefusesPlaceholders) {
    std::vector<std::uint8_t> picture = MakePlainJpeg(40, 30, 5);
    EXPECT_TRUE(DecodesAsJpeg(picture));
    picture.resize(picture.size() - 2);  // no end-of-image marker
    EXPECT_TRUE(DecodesAsJpeg(picture));
    for (const auto& placeholder : PlaceholderThumbnails())
        EXPECT_FALSE(DecodesAsJpeg(placeholder));
    EXPECT_FALSE(DecodesAsJpeg({}));
}

}  // namespace
