// Recorded tracks in the companion: a 100 MB GPX file, generated, imported
// streamed (read and stored) next to reading the same file in 1 MiB pieces,
// and to Qt's XML reader going over its tokens alone, with the peak memory; then 1,000,000 fixes
// matched at 100,000 photos' shot times next to as many bare binary searches over the fixes' times.
//
// usage: track_bench [--megabytes N] [--fixes N] [--photos N] [--dir DIR]

#include <sys/resource.h>

#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "companion/track_matcher.h"
#include "companion/track_positions.h"
#include "companion/track_store.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Seconds of processor time this process used, which the other builds on a
// shared machine disturb less than the wall clock.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

constexpr std::int64_t kStartMs = 1777636800'000;  // 2026-05-01T12:00:00Z

// A 1 Hz walk, one segment per ten thousand fixes, written until the file
// holds the given size.
void WriteGpx(const std::string& path, std::size_t bytes) {
    FILE* out = std::fopen(path.c_str(), "w");
    if (!out) return;
    std::fputs(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"bench\" "
        "xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><name>bench</name><trkseg>\n",
        out);
    std::size_t written = 0;
    char line[200];
    for (std::int64_t i = 0; written < bytes; ++i) {
        if (i > 0 && i % 10000 == 0) written += std::fprintf(out, "</trkseg><trkseg>\n");
        const std::int64_t t = kStartMs / 1000 + i;
        const std::time_t tt = t;
        std::tm utc{};
        gmtime_r(&tt, &utc);
        const int n = std::snprintf(
            line, sizeof line,
            "  <trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele><time>%04d-%02d-%02dT%02d:%02d:%02dZ"
            "</time></trkpt>\n",
            22.5 + 1e-5 * static_cast<double>(i % 50000),
            114.0 + 2e-5 * static_cast<double>(i % 30000), 10.0 + static_cast<double>(i % 100) / 10,
            utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
        std::fwrite(line, 1, static_cast<std::size_t>(n), out);
        written += static_cast<std::size_t>(n);
    }
    std::fputs("</trkseg></trk>\n</gpx>\n", out);
    std::fclose(out);
}

double ReadInPieces(const std::string& path) {
    const auto start = Clock::now();
    FILE* in = std::fopen(path.c_str(), "rb");
    std::vector<char> piece(1 << 20);
    std::size_t total = 0;
    while (in) {
        const std::size_t n = std::fread(piece.data(), 1, piece.size(), in);
        if (n == 0) break;
        total += n;
    }
    if (in) std::fclose(in);
    std::printf("  (read %zu bytes)\n", total);
    return Seconds(start);
}

// Every token of the file through Qt's XML stream reader and nothing else:
// what any import built on it costs at least.
double TokeniseOnly(const std::string& path) {
    const double cpuStart = CpuSeconds();
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) xml.readNext();
    return CpuSeconds() - cpuStart;
}

void ImportBench(const std::string& dir, std::size_t megabytes) {
    const std::string gpx = dir + "/bench.gpx";
    if (!std::filesystem::exists(gpx) ||
        std::filesystem::file_size(gpx) < megabytes * 1000 * 1000) {
        std::printf("writing %s ...\n", gpx.c_str());
        WriteGpx(gpx, megabytes * 1000 * 1000);
    }
    const double mb = static_cast<double>(std::filesystem::file_size(gpx)) / 1e6;
    ReadInPieces(gpx);  // warms the file cache
    const double floor = ReadInPieces(gpx);
    std::filesystem::remove(dir + "/bench-tracks.db");
    TrackStore store;
    if (!store.Open(dir + "/bench-tracks.db")) {
        std::printf("cannot open the store: %s\n", store.ErrorText().c_str());
        return;
    }
    const long before = PeakMiB();
    const auto start = Clock::now();
    const double cpuStart = CpuSeconds();
    const TrackImport r = ImportTrackFile(store, gpx);
    const double took = Seconds(start), cpu = CpuSeconds() - cpuStart;
    std::printf(
        "GPX import of %.0f MB: %zu fixes in %zu segments, %.2f s = %.0f MB/s (target >= 50); "
        "processor time %.2f s = %.0f MB/s\n",
        mb, r.fixes, r.segments, took, mb / took, cpu, mb / cpu);
    std::printf("  floor, reading the file in 1 MiB pieces: %.3f s = %.0f MB/s\n", floor,
                mb / floor);
    const double tokens = TokeniseOnly(gpx);
    std::printf(
        "  floor, Qt's XML reader over its tokens alone: processor time %.2f s = %.0f MB/s\n",
        tokens, mb / tokens);
    std::printf("  peak resident memory: %ld MiB (%ld MiB before the import)\n", PeakMiB(), before);
}

void MatchBench(std::size_t fixCount, std::size_t photoCount) {
    std::vector<Track> tracks(1);
    std::mt19937_64 random(3);
    TrackSegment segment;
    for (std::size_t i = 0; i < fixCount; ++i) {
        if (i > 0 && i % 10000 == 0) {
            tracks[0].segments.push_back(std::move(segment));
            segment.clear();
        }
        segment.push_back({kStartMs + static_cast<std::int64_t>(i) * 1000,
                           22.5 + 1e-5 * static_cast<double>(i % 50000), 114.0});
    }
    tracks[0].segments.push_back(std::move(segment));
    const std::int64_t span = static_cast<std::int64_t>(fixCount);
    std::vector<MapPhotoRecord> photos;
    for (std::size_t i = 0; i < photoCount; ++i)
        photos.push_back({static_cast<std::int64_t>(i),
                          static_cast<std::int32_t>(kStartMs / 1000 +
                                                    static_cast<std::int64_t>(random() % span)),
                          0, 0, 0});

    auto start = Clock::now();
    const TrackMatcher matcher(tracks);
    const double build = Seconds(start);
    start = Clock::now();
    const auto rows = MatchRecords(matcher, photos, {});
    const double match = Seconds(start);
    const auto found = std::count_if(rows.begin(), rows.end(), [](const PositionRow& r) {
        return r.match.kind != MatchKind::None;
    });

    std::vector<std::int64_t> times;
    for (const TrackSegment& s : tracks[0].segments)
        for (const TrackFix& f : s) times.push_back(f.timeMs);
    start = Clock::now();
    std::int64_t sum = 0;
    for (const MapPhotoRecord& p : photos)
        sum += *std::lower_bound(times.begin(), times.end(), std::int64_t{p.dwDateTime} * 1000 - 1);
    const double floor = Seconds(start);
    std::printf(
        "matching %zu fixes x %zu photos: %.3f s (index %.3f s + matching %.3f s), %td found "
        "(target < 2 s)\n",
        fixCount, photoCount, build + match, build, match, found);
    std::printf("  floor, one binary search per photo over the fixes' times: %.3f s (%lld)\n",
                floor, static_cast<long long>(sum % 10));
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t megabytes = 100, fixes = 1'000'000, photos = 100'000;
    std::string dir = (std::filesystem::temp_directory_path() / "darazoz-track-bench").string();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--megabytes")
            megabytes = std::strtoul(argv[i + 1], nullptr, 10);
        else if (option == "--fixes")
            fixes = std::strtoul(argv[i + 1], nullptr, 10);
        else if (option == "--photos")
            photos = std::strtoul(argv[i + 1], nullptr, 10);
        else if (option == "--dir")
            dir = argv[i + 1];
    }
    std::filesystem::create_directories(dir);
    ImportBench(dir, megabytes);
    MatchBench(fixes, photos);
    return 0;
}
