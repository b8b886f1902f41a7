// The track readers over files the tests write: each format as loggers and
// map programs write it, then damaged, cut and hostile ones.
#include <gtest/gtest.h>

#include <clocale>
#include <fstream>

#include "companion/track_reader.h"
#include "companion/track_time.h"
#include "temp_folder.h"
#include "track_file_writer.h"

namespace {

const std::int64_t kDay = UtcDayStartMs(2026, 5, 1);  // 2026-05-01T00:00:00Z
const std::int64_t kNoon = kDay + 12 * 3600'000;

struct Expected {
    TrackFormat format;
    std::vector<std::size_t> segmentSizes;
    TrackFix first;  // of the first segment
    TrackFix last;   // of the last segment
};

struct ReadCase {
    const char* what;
    std::string text;
    Expected expected;
};

// A logger's GPX 1.1: two segments with a pause between them, a point
// without a time, and extensions that hold a "time" of their own.
std::string TwoSegmentGpx() {
    std::string gpx = GpxText({{{kNoon, 22.5, 114.0}, {kNoon + 1000, 22.5001, 114.0001}},
                               {{kNoon + 3600'000, 22.6, 114.1},
                                {kNoon + 3601'000, 22.6001, 114.1001},
                                {kNoon + 3602'500, 22.6002, 114.1002}}});
    const std::string noTime = "   <trkpt lat=\"22.55\" lon=\"114.05\"></trkpt>\n";
    const std::string extension =
        "<extensions><x:meta xmlns:x=\"urn:x\"><x:time>1999-01-01T00:00:00Z</x:time></x:meta>"
        "</extensions>";
    gpx.insert(gpx.find("  </trkseg>"), noTime);
    gpx.insert(gpx.find("</trkpt>"), extension);
    return gpx;
}

std::string Gpx10RouteAndWaypoints() {
    return "<?xml version=\"1.0\"?>\n"
           "<gpx version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\"><name>trip</name>\n"
           "<wpt lat=\"31.2\" lon=\"121.4\"><time>2026-05-01T12:30:00+08:00</time></wpt>\n"
           "<wpt lat=\"31.3\" lon=\"121.5\"><name>no time</name></wpt>\n"
           "<rte><rtept lat=\"-33.9\" lon=\"18.4\"><time>2026-05-01T10:00:00Z</time></rtept>\n"
           "<rtept lat=\"-33.8\" lon=\"18.5\"><time>2026-05-01T10:01:00.5Z</time></rtept></rte>\n"
           "</gpx>\n";
}

std::string KmlGxTrackAndPlacemarks() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\" "
           "xmlns:gx=\"http://www.google.com/kml/ext/2.2\"><Document><Folder>\n"
           "<Placemark><name>ride</name><gx:Track>\n"
           "<when>2026-05-01T12:00:00Z</when><when>2026-05-01T12:00:05Z</when>"
           "<when>2026-05-01T12:00:10Z</when>\n"
           "<gx:coord>114.0 22.5 10</gx:coord><gx:coord>114.001 22.501 11</gx:coord>"
           "<gx:coord>114.002 22.502 12</gx:coord>\n"
           "</gx:Track></Placemark>\n"
           "<Placemark><TimeStamp><when>2026-05-01T13:00:00Z</when></TimeStamp>"
           "<Point><coordinates>116.4,39.9,50</coordinates></Point></Placemark>\n"
           "<Placemark><Point><coordinates>116.5,39.8</coordinates></Point></Placemark>\n"
           "</Folder></Document></kml>\n";
}

// A log over midnight UTC and the turn of a year: GGA takes the date of the
// last RMC and rolls over with the clock; a GGA before the first RMC waits
// for its date; one sentence lost its checksum's agreement.
std::string NmeaOverMidnight() {
    return NmeaSentence("GPGGA,235957,3954.0000,N,11624.0000,E,1,08,0.9,50.0,M,0,M,,") +
           NmeaSentence("GPRMC,235958,A,3954.0010,N,11624.0010,E,1.0,90.0,311226,,,A") +
           NmeaSentence("GPGSV,3,1,12,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45") +
           NmeaSentence("GPGGA,235959,3954.0020,N,11624.0020,E,1,08,0.9,50.0,M,0,M,,") +
           NmeaSentence("GNGGA,000000.5,3954.0030,N,11624.0030,E,1,08,0.9,50.0,M,0,M,,") +
           "$GPGGA,000001,3954.0040,N,11624.0040,E,1,08,0.9,50.0,M,0,M,,*00\r\n" +
           NmeaSentence("GPRMC,000002,A,3954.0050,S,11624.0050,W,1.0,90.0,010127,,,A") +
           NmeaSentence("GPRMC,000003,V,,,,,,,010127,,,N");
}

TEST(TheTrackReaders, readEachFormatAsLoggersWriteIt) {
    const std::int64_t newYear = UtcDayStartMs(2027, 1, 1);
    const double lat0 = 39 + 54.0 / 60, lon0 = 116 + 24.0 / 60;
    const double lat5 = -(39 + 54.005 / 60), lon5 = -(116 + 24.005 / 60);
    const ReadCase cases[] = {
        {"GPX 1.1 with two segments",
         TwoSegmentGpx(),
         {TrackFormat::Gpx, {2, 3}, {kNoon, 22.5, 114.0}, {kNoon + 3602'500, 22.6002, 114.1002}}},
        {"GPX 1.0 route and waypoints",
         Gpx10RouteAndWaypoints(),
         {TrackFormat::Gpx,
          {2, 1},
          {kDay + 10 * 3600'000, -33.9, 18.4},
          {kDay + 4 * 3600'000 + 30 * 60'000, 31.2, 121.4}}},
        {"KML gx:Track and a timed placemark",
         KmlGxTrackAndPlacemarks(),
         {TrackFormat::Kml, {3, 1}, {kNoon, 22.5, 114.0}, {kNoon + 3600'000, 39.9, 116.4}}},
        {"NMEA over midnight UTC",
         NmeaOverMidnight(),
         {TrackFormat::Nmea, {5}, {newYear - 3000, lat0, lon0}, {newYear + 2000, lat5, lon5}}},
    };
    // The same under a locale whose decimal point is a comma.
    std::vector<const char*> locales = {"C"};
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) locales.push_back("de_DE.UTF-8");
    for (const char* locale : locales)
        for (const ReadCase& c : cases) {
            std::setlocale(LC_ALL, locale);
            SCOPED_TRACE(std::string(c.what) + " under " + locale);
            const TrackReadResult r = ReadTrackBytes(c.text);
            ASSERT_EQ(r.status, TrackReadStatus::Ok) << r.detail;
            EXPECT_EQ(r.format, c.expected.format);
            std::vector<std::size_t> sizes;
            for (const TrackSegment& s : r.track.segments) sizes.push_back(s.size());
            ASSERT_EQ(sizes, c.expected.segmentSizes);
            for (const auto& [got, want] :
                 {std::pair{r.track.segments.front().front(), c.expected.first},
                  std::pair{r.track.segments.back().back(), c.expected.last}}) {
                EXPECT_EQ(got.timeMs, want.timeMs) << IsoUtcText(got.timeMs);
                EXPECT_NEAR(got.latitude, want.latitude, 1e-9);
                EXPECT_NEAR(got.longitude, want.longitude, 1e-9);
            }
        }
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(ReadTrackBytes(TwoSegmentGpx()).track.name, "walk");
    EXPECT_EQ(ReadTrackBytes(KmlGxTrackAndPlacemarks()).track.name, "ride");
    EXPECT_EQ(ReadTrackBytes(NmeaOverMidnight()).droppedSentences, 1);
}

TEST(TheTrackReaders, keepEveryNmeaFixInTimeOrderAcrossMidnight) {
    const TrackReadResult r = ReadTrackBytes(NmeaOverMidnight());
    ASSERT_EQ(r.status, TrackReadStatus::Ok);
    const std::int64_t newYear = UtcDayStartMs(2027, 1, 1);
    std::vector<std::int64_t> times;
    for (const TrackFix& f : r.track.segments.front()) times.push_back(f.timeMs - newYear);
    EXPECT_EQ(times, (std::vector<std::int64_t>{-3000, -2000, -1000, 500, 2000}));
}

TEST(TheTrackReaders, sayWhyAFileImportsNothing) {
    const std::string good = TwoSegmentGpx();
    const std::string noTimes =
        "<gpx version=\"1.1\"><trk><trkseg><trkpt lat=\"1\" lon=\"2\"/><trkpt lat=\"1.1\" "
        "lon=\"2.1\"><ele>3</ele></trkpt></trkseg></trk></gpx>";
    // Entities that expand to ten to the ninth letters.
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE gpx [<!ENTITY a \"aaaaaaaaaa\">";
    for (char e = 'b'; e <= 'j'; ++e) {
        laughs += std::string("<!ENTITY ") + e + " \"";
        for (int i = 0; i < 10; ++i) laughs += std::string("&") + static_cast<char>(e - 1) + ";";
        laughs += "\">";
    }
    laughs += "]><gpx><wpt lat=\"1\" lon=\"2\"><name>&j;</name></wpt></gpx>";
    std::string deep = "<kml>";
    for (int i = 0; i < 20000; ++i) deep += "<Folder>";
    const struct {
        const char* what;
        std::string text;
        TrackReadStatus status;
    } cases[] = {
        {"empty", "", TrackReadStatus::NotATrack},
        {"plain text", "hello, world\n", TrackReadStatus::NotATrack},
        {"other XML", "<html><body/></html>", TrackReadStatus::NotATrack},
        {"GPX without points", "<gpx version=\"1.1\"><metadata/></gpx>",
         TrackReadStatus::NotATrack},
        {"GPX cut short", good.substr(0, good.size() / 2), TrackReadStatus::Truncated},
        {"GPX without times", noTimes, TrackReadStatus::NoTimes},
        {"GPX latitude 95",
         "<gpx><wpt lat=\"95\" lon=\"2\"><time>2026-05-01T12:00:00Z</time></wpt></gpx>",
         TrackReadStatus::Damaged},
        {"GPX longitude not a number", "<gpx><wpt lat=\"5\" lon=\"east\"/></gpx>",
         TrackReadStatus::Damaged},
        {"GPX 30 February",
         "<gpx><wpt lat=\"5\" lon=\"2\"><time>2026-02-30T12:00:00Z</time></wpt></gpx>",
         TrackReadStatus::Damaged},
        {"GPX tags that do not nest",
         "<gpx><trk><trkseg><trkpt lat=\"1\" lon=\"2\"></trkseg></trk></gpx>",
         TrackReadStatus::Damaged},
        {"GPX after its end", good + "<gpx>", TrackReadStatus::Damaged},
        {"KML when and coord counts differ",
         "<kml><Placemark><Track><when>2026-05-01T12:00:00Z</when></Track></Placemark></kml>",
         TrackReadStatus::Damaged},
        {"KML placemarks without times",
         "<kml><Placemark><Point><coordinates>116.5,39.8</coordinates></Point></Placemark></kml>",
         TrackReadStatus::NoTimes},
        {"KML nested without end", deep, TrackReadStatus::Truncated},
        {"NMEA with wrong checksums only", "$GPRMC,120000,A,3954.0,N,11624.0,E,0,0,010526,,,A*00\n",
         TrackReadStatus::NotATrack},
        {"NMEA GGA without any RMC",
         NmeaSentence("GPGGA,120000,3954.0,N,11624.0,E,1,08,1,5,M,0,M,,"),
         TrackReadStatus::NoTimes},
        {"NMEA latitude past the pole",
         NmeaSentence("GPRMC,120000,A,9130.0,N,11624.0,E,0,0,010526,,,A"),
         TrackReadStatus::NotATrack},
        {"NMEA time of day as an exponent",
         NmeaSentence("GPRMC,1e+300,A,3954.0,N,11624.0,E,0,0,010526,,,A"),
         TrackReadStatus::NotATrack},
        {"NMEA date as an exponent",
         NmeaSentence("GPRMC,120000,A,3954.0,N,11624.0,E,0,0,1e+300,,,A"),
         TrackReadStatus::NotATrack},
        {"a line of dollars", std::string(100000, '$'), TrackReadStatus::NotATrack},
        {"binary after a dollar", "$" + std::string("\0\xff\x01\x80\n\n*", 7),
         TrackReadStatus::NotATrack},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TrackReadResult r = ReadTrackBytes(c.text);
        EXPECT_EQ(r.status, c.status) << r.detail;
        EXPECT_TRUE(r.track.segments.empty());
        EXPECT_FALSE(r.detail.empty());
    }
    const TrackReadResult hostile = ReadTrackBytes(laughs);
    EXPECT_NE(hostile.status, TrackReadStatus::Ok) << "an entity bomb is not a track";
}

TEST(TheTrackReaders, readAFileAndSayWhenItCannot) {
    TempFolder folder;
    std::ofstream(folder.File("walk.gpx")) << TwoSegmentGpx();
    EXPECT_EQ(ReadTrackFile(folder.File("walk.gpx")).track.FixCount(), 5u);
    const TrackReadResult missing = ReadTrackFile(folder.File("absent.gpx"));
    EXPECT_EQ(missing.status, TrackReadStatus::Unreadable);
    EXPECT_FALSE(missing.detail.empty());
}

TEST(ATrackTime, isReadAsUtcWithItsFractionAndOffset) {
    const std::int64_t t = UtcDayStartMs(2026, 10, 25) + (13 * 3600 + 5 * 60 + 7) * 1000LL;
    const struct {
        const char* text;
        std::optional<std::int64_t> ms;
    } cases[] = {
        {"2026-10-25T13:05:07Z", t},
        {" 2026-10-25T13:05:07Z\n", t},
        {"2026-10-25T13:05:07", t},
        {"2026-10-25T13:05:07.25Z", t + 250},
        {"2026-10-25T21:05:07+08:00", t},
        {"2026-10-25T08:05:07-0500", t},
        {"2026-10-25 13:05:07Z", std::nullopt},
        {"2026-13-25T13:05:07Z", std::nullopt},
        {"2026-10-25T24:00:00Z", std::nullopt},
        {"2026-10-25T13:05:07.Z", std::nullopt},
        {"2026-10-25T13:05:07+25:00", std::nullopt},
        {"2026-10-25T13:05:07Zjunk", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseTrackTime(c.text), c.ms) << c.text;
}

}  // namespace
