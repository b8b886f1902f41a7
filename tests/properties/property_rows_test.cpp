// The grid's value texts for a record: one table of field values and the
// text each row must show.

#include <gtest/gtest.h>

#include <QList>
#include <functional>

#include "properties/property_rows.h"

namespace {

using namespace PropertyRow;

// 2014-03-03 09:05:07 in Asia/Shanghai (the suites run with that zone).
constexpr std::int32_t kMarchMorning = 1393808707;

struct FormatCase {
    const char* what;
    std::function<void(PhotoRecord&)> set;
    int row;
    const char* shown;
};

TEST(PropertyValues, ShowEachFieldInItsRowFormat) {
    const FormatCase cases[] = {
        {"short exposure", [](PhotoRecord& r) { r.fExposureTime = 0.004f; }, Exposure, "1/250 s"},
        {"half second", [](PhotoRecord& r) { r.fExposureTime = 0.5f; }, Exposure, "1/2 s"},
        {"two seconds", [](PhotoRecord& r) { r.fExposureTime = 2.0f; }, Exposure, "2 s"},
        {"1.3 seconds", [](PhotoRecord& r) { r.fExposureTime = 1.3f; }, Exposure, "1.3 s"},
        {"0.8 s is no 1/1 s", [](PhotoRecord& r) { r.fExposureTime = 0.8f; }, Exposure, "0.8 s"},
        {"no exposure", [](PhotoRecord&) {}, Exposure, ""},
        {"negative exposure", [](PhotoRecord& r) { r.fExposureTime = -1; }, Exposure, ""},
        {"tiny exposure", [](PhotoRecord& r) { r.fExposureTime = 1e-12f; }, Exposure, ""},
        {"aperture", [](PhotoRecord& r) { r.fApertureFNumber = 2.8f; }, Aperture, "f/2.8"},
        {"no aperture", [](PhotoRecord&) {}, Aperture, ""},
        {"iso", [](PhotoRecord& r) { r.nISOequivalent = 100; }, Iso, "ISO-100"},
        {"no iso", [](PhotoRecord&) {}, Iso, ""},
        {"focal length", [](PhotoRecord& r) { r.nFocalLength = 35; }, FocalLength, "35 毫米"},
        {"no focal length", [](PhotoRecord&) {}, FocalLength, ""},
        {"size", [](PhotoRecord& r) { r.fSize = 3.456f; }, Size, "3.46 M"},
        {"width 0 is shown", [](PhotoRecord&) {}, Width, "0"},
        {"resolution", [](PhotoRecord& r) { r.nFocalplaneXRes = 300; }, XResolution, "300 dpi"},
        {"longitude", [](PhotoRecord& r) { r.fGPSLongitude = 116.4f; }, Longitude, "116.4000"},
        {"west longitude", [](PhotoRecord& r) { r.fGPSLongitude = -0.1275f; }, Longitude,
         "-0.1275"},
        {"no position", [](PhotoRecord&) {}, Latitude, "0.0000"},
        {"altitude", [](PhotoRecord& r) { r.nGPSAlititude = -12; }, Altitude, "-12"},
        {"created padded", [](PhotoRecord& r) { r.dwCTime = kMarchMorning; }, Created,
         "2014-03-03 09:05:07"},
        {"modified padded", [](PhotoRecord& r) { r.dwMTime = kMarchMorning; }, Modified,
         "2014-03-03 09:05:07"},
        {"shot time padded", [](PhotoRecord& r) { r.dwDateTime = kMarchMorning; }, ShotTime,
         "2014-03-03 09:05:07"},
        {"time past 2038 (unsigned)", [](PhotoRecord& r) { r.dwDateTime = -1; }, ShotTime,
         "2106-02-07 14:28:15"},
        {"no comment", [](PhotoRecord&) {}, Comment, ""},
        {"comment", [](PhotoRecord& r) { r.strXpComent = "海边\r\n日落"; }, Comment,
         "海边\r\n日落"},
        {"name", [](PhotoRecord& r) { SetField(r.strName, "IMG_1.jpeg"); }, Name, "IMG_1.jpeg"},
        {"keywords as stored", [](PhotoRecord& r) { SetField(r.strXpKeyword, "家人;旅游;"); },
         Keywords, "家人;旅游;"},
        {"group rows stay empty", [](PhotoRecord& r) { r.fGPSLatitude = 1; }, GpsGroup, ""},
    };
    for (const FormatCase& c : cases) {
        PhotoRecord record;
        c.set(record);
        EXPECT_EQ(FormatPropertyValues(record)[c.row], QString::fromUtf8(c.shown)) << c.what;
    }
}

TEST(PropertyRows, GreyRowsAreTheReadOnlyInformation) {
    QList<int> grey;
    for (int row = 0; row < Count; ++row)
        if (IsGreyPropertyRow(row)) grey.append(row);
    EXPECT_EQ(grey, (QList<int>{5, 6, 7, 8, 9, 10, 11, 12, 13, 17, 21, 22, 23, 24}));
    EXPECT_EQ(PropertyRowIcon(0), PropertyIcon::ImageGroup);
    EXPECT_EQ(PropertyRowIcon(13), PropertyIcon::GpsGroup);
    EXPECT_EQ(PropertyRowIcon(17), PropertyIcon::CameraGroup);
    EXPECT_EQ(PropertyRowLabel(16), QStringLiteral("海拔高度(m)"));
}

}  // namespace
