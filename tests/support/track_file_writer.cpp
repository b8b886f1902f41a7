#include "track_file_writer.h"

#include <charconv>
#include <chrono>
#include <cstdio>

std::string IsoUtcText(std::int64_t timeMs) {
    using namespace std::chrono;
    const sys_time<milliseconds> t{milliseconds(timeMs)};
    const auto day = floor<days>(t);
    const year_month_day ymd{day};
    const hh_mm_ss<milliseconds> hms{t - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", int(ymd.year()),
                  unsigned(ymd.month()), unsigned(ymd.day()), int(hms.hours().count()),
                  int(hms.minutes().count()), int(hms.seconds().count()));
    std::string out = text;
    if (const auto ms = hms.subseconds().count(); ms != 0) {
        std::snprintf(text, sizeof text, ".%03d", int(ms));
        out += text;
    }
    return out + "Z";
}

namespace {

// With a decimal point whatever the locale, as GPX writes it.
std::string Degrees(double value) {
    char text[40];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 8);
    return std::string(text, end.ptr);
}

}  // namespace

std::string GpxText(const std::vector<std::vector<TestFix>>& segments, const std::string& name) {
    std::string gpx =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
        " <trk><name>" +
        name + "</name>\n";
    for (const auto& segment : segments) {
        gpx += "  <trkseg>\n";
        for (const TestFix& f : segment) {
            gpx += "   <trkpt lat=\"" + Degrees(f.latitude) + "\" lon=\"" + Degrees(f.longitude) +
                   "\"><ele>12.5</ele><time>" + IsoUtcText(f.timeMs) + "</time></trkpt>\n";
        }
        gpx += "  </trkseg>\n";
    }
    return gpx + " </trk>\n</gpx>\n";
}

std::string NmeaSentence(const std::string& body) {
    unsigned sum = 0;
    for (const char c : body) sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}
