#include "viewer/display_image.h"

#include <gtest/gtest.h>

#include <vector>

#include "image/raster_image.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"

namespace {

// A 32 x 16 photo, grey except for a red top-left quarter.
std::string WriteMarkedPhoto(const TempFolder& folder) {
    const std::string path = folder.File("marked.jpg");
    EXPECT_TRUE(WriteBytesFile(path, MakePlainJpeg(32, 16, 0, TestPattern::RedCorner)));
    return path;
}

enum class Corner { TopLeft, TopRight, BottomLeft, BottomRight };

bool RedAt(const QImage& picture, Corner corner) {
    const bool left = corner == Corner::TopLeft || corner == Corner::BottomLeft;
    const bool top = corner == Corner::TopLeft || corner == Corner::TopRight;
    const QColor c =
        picture.pixelColor(left ? 2 : picture.width() - 3, top ? 2 : picture.height() - 3);
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}

struct Case {
    const char* orientation;
    int fixedTurns;
    QSize size;
    Corner red;
};

class ViewerOrientation : public ::testing::TestWithParam<Case> {};

TEST_P(ViewerOrientation, MirrorsAndTurnsThePhotoUpright) {
    const Case& c = GetParam();
    TempFolder folder;
    DecodeRequest request;
    request.path = WriteMarkedPhoto(folder);
    request.orientation = c.orientation;
    request.autoOrient = true;
    request.fixedQuarterTurns = c.fixedTurns;
    const DisplayImage image = DecodeDisplayImage(request);
    ASSERT_FALSE(image.placeholder);
    EXPECT_EQ(image.picture.size(), c.size);
    EXPECT_EQ(image.fullSize, c.size);
    EXPECT_TRUE(RedAt(image.picture, c.red));
}

const QSize kWide(32, 16), kTall(16, 32);

INSTANTIATE_TEST_SUITE_P(
    AllEight, ViewerOrientation,
    ::testing::Values(Case{"Top-left", -1, kWide, Corner::TopLeft},
                      Case{"Top-right", -1, kWide, Corner::TopRight},
                      Case{"Bottom-right", -1, kWide, Corner::BottomRight},
                      Case{"Bottom-left", -1, kWide, Corner::BottomLeft},
                      Case{"Left-top", -1, kTall, Corner::TopLeft},
                      Case{"Right-top", -1, kTall, Corner::TopRight},
                      Case{"Right-bottom", -1, kTall, Corner::BottomRight},
                      Case{"Left-bottom", -1, kTall, Corner::BottomLeft},
                      // A redecode with the user's turns keeps the orientation's mirror.
                      Case{"Top-right", 1, kTall, Corner::BottomRight}));

}  // namespace
