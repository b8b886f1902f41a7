#include "metadata/display_thumbnail.h"

#include <vector>

#include <gtest/gtest.h>

#include "image/raster_image.h"
#include "test_jpeg_writer.h"

namespace {

const RgbColor kRed{255, 0, 0};

// A landscape 32 x 16 thumbnail, grey except for a red top-left quarter, as
// stored in the catalogue (JPEG bytes plus one zero byte).
std::vector<std::uint8_t> LandscapeBlob() {
    std::vector<std::uint8_t> blob = MakePlainJpeg(32, 16, 0, TestPattern::RedCorner);
    blob.push_back(0);
    return blob;
}

bool IsRed(RgbColor c) {
    return c.r > 200 && c.g < 60 && c.b < 60;
}

enum class Corner { TopLeft, TopRight, BottomLeft, BottomRight };

// Where the red quarter ended up (checked near each corner).
bool RedAt(const RasterImage& image, Corner corner) {
    int x = corner == Corner::TopLeft || corner == Corner::BottomLeft ? 2 : image.Width() - 3;
    int y = corner == Corner::BottomLeft || corner == Corner::BottomRight ? 2 : image.Height() - 3;
    return IsRed(image.PixelColor(x, y));
}

struct Case {
    const char* name;
    int nWidth, nHeight;
    const char* orientation;
    bool autoOrient;
    int width, height;
    Corner red;
};

class DisplayThumbnail : public ::testing::TestWithParam<Case> {};

TEST_P(DisplayThumbnail, TurnsTheThumbnailUpright) {
    const Case& c = GetParam();
    std::vector<std::uint8_t> blob = LandscapeBlob();
    RasterImage image;
    ASSERT_TRUE(DecodeDisplayThumbnail(blob.data(), blob.size(), c.nWidth, c.nHeight, c.orientation,
                                       c.autoOrient, image));
    EXPECT_EQ(image.Width(), c.width);
    EXPECT_EQ(image.Height(), c.height);
    EXPECT_TRUE(RedAt(image, c.red));
}

// The red corner and the size tell all eight orientations apart: a mirror
// moves the corner sideways, a quarter turn swaps the sides.
INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayThumbnail,
    ::testing::Values(
        Case{"TopLeftAsStored", 4000, 3000, "Top-left", true, 32, 16, Corner::TopLeft},
        Case{"TopRightMirrored", 4000, 3000, "Top-right", true, 32, 16, Corner::TopRight},
        Case{"BottomRightHalfTurn", 4000, 3000, "Bottom-right", true, 32, 16, Corner::BottomRight},
        Case{"BottomLeftMirroredUpsideDown", 4000, 3000, "Bottom-left", true, 32, 16,
             Corner::BottomLeft},
        Case{"LeftTopTransposed", 4000, 3000, "Left-top", true, 16, 32, Corner::TopLeft},
        Case{"RightTopQuarterClockwise", 4000, 3000, "Right-top", true, 16, 32, Corner::TopRight},
        Case{"RightBottomTransverse", 4000, 3000, "Right-bottom", true, 16, 32,
             Corner::BottomRight},
        Case{"LeftBottomQuarterCounterClockwise", 4000, 3000, "Left-bottom", true, 16, 32,
             Corner::BottomLeft},
        Case{"UnknownOrientationIsNotTurned", 4000, 3000, "Unknown value 0", true, 32, 16,
             Corner::TopLeft},
        Case{"MirroredAsStoredWithAutoOrientOff", 4000, 3000, "Top-right", false, 32, 16,
             Corner::TopLeft},
        Case{"QuarterClockwiseWhenThePhotoIsPortrait", 3000, 4000, "", false, 16, 32,
             Corner::TopRight},
        Case{"BothTurnsAddUp", 3000, 4000, "Right-top", true, 32, 16, Corner::BottomRight},
        // Aspect turn, then mirror, then a quarter: the turns cancel, the mirror stays.
        Case{"AMirrorAfterTheAspectTurn", 3000, 4000, "Right-bottom", true, 32, 16,
             Corner::TopRight}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DisplayThumbnailFailure, LeavesTheImageEmptyForAMissingOrBrokenBlob) {
    RasterImage image = RasterImage::FromGreyTopDown(1, 1, std::vector<std::uint8_t>{7}.data());
    EXPECT_FALSE(DecodeDisplayThumbnail(nullptr, 0, 100, 100, "", true, image));
    EXPECT_TRUE(image.IsEmpty());
    std::vector<std::uint8_t> blob = LandscapeBlob();
    blob.resize(blob.size() / 3);
    EXPECT_FALSE(DecodeDisplayThumbnail(blob.data(), blob.size(), 100, 100, "", true, image));
    EXPECT_TRUE(image.IsEmpty());
}

}  // namespace
