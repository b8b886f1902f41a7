#include "viewer/display_image.h"

#include <gtest/gtest.h>

#include <atomic>
#include <tuple>
#include <vector>

#include "image/raster_image.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"

namespace {

// A 320 x 160 photo, grey except for a red top-left quarter.
std::string WriteMarkedPhoto(const TempFolder& folder) {
    const std::string path = folder.File("marked.jpg");
    EXPECT_TRUE(WriteBytesFile(path, MakePlainJpeg(320, 160, 0, TestPattern::RedCorner)));
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

// Each orientation whole and reduced for a small screen (80 x 60): the
// reduction happens before the turn and must not undo the mirror.
class ViewerOrientation : public ::testing::TestWithParam<std::tuple<Case, bool>> {};

TEST_P(ViewerOrientation, MirrorsAndTurnsThePhotoUpright) {
    const auto& [c, reduced] = GetParam();
    TempFolder folder;
    DecodeRequest request;
    request.path = WriteMarkedPhoto(folder);
    request.orientation = c.orientation;
    request.autoOrient = true;
    request.fixedQuarterTurns = c.fixedTurns;
    if (reduced) request.screen = QSize(80, 60);
    const DisplayImage image = DecodeDisplayImage(request);
    ASSERT_FALSE(image.placeholder);
    // Fitted at 250 (wide) or 187 (tall).
    const QSize shown = !reduced                           ? c.size
                        : c.size.width() > c.size.height() ? QSize(80, 40)
                                                           : QSize(29, 59);
    EXPECT_EQ(image.picture.size(), shown);
    EXPECT_EQ(image.fullSize, c.size);
    EXPECT_EQ(image.Reduced(), reduced);
    EXPECT_TRUE(RedAt(image.picture, c.red));
}

const QSize kWide(320, 160), kTall(160, 320);

INSTANTIATE_TEST_SUITE_P(
    AllEight, ViewerOrientation,
    ::testing::Combine(
        ::testing::Values(Case{"Top-left", -1, kWide, Corner::TopLeft},
                          Case{"Top-right", -1, kWide, Corner::TopRight},
                          Case{"Bottom-right", -1, kWide, Corner::BottomRight},
                          Case{"Bottom-left", -1, kWide, Corner::BottomLeft},
                          Case{"Left-top", -1, kTall, Corner::TopLeft},
                          Case{"Right-top", -1, kTall, Corner::TopRight},
                          Case{"Right-bottom", -1, kTall, Corner::BottomRight},
                          Case{"Left-bottom", -1, kTall, Corner::BottomLeft},
                          // A redecode with the user's turns keeps the orientation's mirror.
                          Case{"Top-right", 1, kTall, Corner::BottomRight}),
        ::testing::Bool()));

struct ScaleCase {
    QSize photo;  // as stored
    int quarterTurns;
    QSize screen;
    qreal devicePixelRatio;
    QSize fitted;  // upright, device pixels
    int scale;     // n/8
};

class DecodeScale : public ::testing::TestWithParam<ScaleCase> {};

// The picture is made at the fitted size from the smallest of 1/8, 1/4,
// 1/2 and 1/1 that still covers it, never from less.
TEST_P(DecodeScale, IsTheSmallestFastScaleCoveringTheFittedSize) {
    const ScaleCase& c = GetParam();
    const QSize shown = c.quarterTurns % 2 ? c.photo.transposed() : c.photo;
    EXPECT_EQ(FittedDeviceSize(shown, c.screen, c.devicePixelRatio), c.fitted);
    EXPECT_EQ(DisplayDecodeScale(c.photo, c.quarterTurns, c.screen, c.devicePixelRatio), c.scale);
}

INSTANTIATE_TEST_SUITE_P(
    PhotosAndScreens, DecodeScale,
    ::testing::Values(
        // 24 MP: 1/2 covers 1080p; 4K needs the whole photo (5/8 is no faster).
        ScaleCase{{6000, 4000}, 0, {1920, 1080}, 1, {1620, 1080}, 4},
        ScaleCase{{6000, 4000}, 0, {3840, 2160}, 1, {3240, 2160}, 8},
        ScaleCase{{4000, 3000}, 0, {1920, 1080}, 1, {1440, 1080}, 4},
        ScaleCase{{4000, 3000}, 0, {3840, 2160}, 1, {2880, 2160}, 8},
        ScaleCase{{8000, 6000}, 0, {1920, 1080}, 1, {1440, 1080}, 2},
        ScaleCase{{12000, 9000}, 0, {1024, 768}, 1, {1020, 765}, 1},
        // Turned upright: a portrait picture needs less of the file.
        ScaleCase{{6000, 4000}, 1, {1920, 1080}, 1, {720, 1080}, 2},
        ScaleCase{{6000, 4000}, 3, {3840, 2160}, 1, {1440, 2160}, 4},
        // Device pixels count: a ratio of 2 needs what the doubled screen needs.
        ScaleCase{{6000, 4000}, 0, {1920, 1080}, 2, {3240, 2160}, 8},
        ScaleCase{{8000, 6000}, 0, {1920, 1080}, 2, {2880, 2160}, 4},
        ScaleCase{{6000, 4000}, 0, {2560, 1440}, 1.5, {3240, 2160}, 8},
        // Smaller than the screen, or no screen: whole.
        ScaleCase{{1600, 1200}, 0, {1920, 1080}, 1, {1440, 1080}, 8},
        ScaleCase{{1024, 768}, 0, {1920, 1080}, 1, {1024, 768}, 8},
        ScaleCase{{1024, 768}, 0, {1920, 1080}, 2, {2048, 1536}, 8},
        ScaleCase{{6000, 4000}, 0, {}, 1, {}, 8}));

TEST(DecodeDisplayImage, ACutOrHostileFileGivesThePartThatArrivedOrThePlaceholder) {
    TempFolder folder;
    const std::vector<std::uint8_t> jpeg = MakePlainJpeg(640, 480, 3, TestPattern::RedCorner);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool placeholder;
    };
    const Case cases[] = {
        {"cut in its image data", {jpeg.begin(), jpeg.begin() + jpeg.size() * 6 / 10}, false},
        {"cut in its headers", {jpeg.begin(), jpeg.begin() + 100}, true},
        {"garbage", std::vector<std::uint8_t>(5000, 0x5A), true},
        {"empty", {}, true},
    };
    for (const bool reduced : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (reduced ? ", reduced" : ""));
            DecodeRequest request;
            request.path = folder.File(std::string(c.name) + ".jpg");
            ASSERT_TRUE(WriteBytesFile(request.path, c.bytes));
            if (reduced) request.screen = QSize(320, 240);
            const DisplayImage image = DecodeDisplayImage(request);
            EXPECT_EQ(image.placeholder, c.placeholder);
            EXPECT_FALSE(image.picture.isNull());
            if (!c.placeholder) {
                EXPECT_EQ(image.fullSize, QSize(640, 480));
                EXPECT_TRUE(RedAt(image.picture, Corner::TopLeft));  // the top arrived
            }
        }
    }
    DecodeRequest missing;
    missing.path = folder.File("missing.jpg");
    EXPECT_TRUE(DecodeDisplayImage(missing).placeholder);
}

TEST(DecodeDisplayImage, ACancelledDecodeGivesNoPictureRatherThanThePlaceholder) {
    TempFolder folder;
    DecodeRequest request;
    request.path = WriteMarkedPhoto(folder);
    const std::atomic<bool> cancel{true};
    request.cancel = &cancel;
    const DisplayImage image = DecodeDisplayImage(request);
    EXPECT_TRUE(image.cancelled);
    EXPECT_FALSE(image.placeholder);
    EXPECT_TRUE(image.picture.isNull());
}

}  // namespace
