// Region lookup benchmark over the shipped region data file: time to open it,
// its size, lookups per second on one thread, and accuracy on random points
// inside the unsimplified district polygons (written by the converter), next
// to the nearest-centre method (the district whose label centre is nearest).
//
// usage: region_lookup_bench [--data FILE] [--samples FILE]

#include <sqlite3.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "companion/region_atlas.h"

namespace {

struct LabelledPoint {
    double latitude;
    double longitude;
    std::string names;
};

std::vector<LabelledPoint> ReadPoints(const std::string& path, const char* table) {
    std::vector<LabelledPoint> points;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        const std::string sql = std::string("SELECT lat, lon, names FROM ") + table;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW)
                points.push_back({sqlite3_column_double(st, 0), sqlite3_column_double(st, 1),
                                  reinterpret_cast<const char*>(sqlite3_column_text(st, 2))});
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return points;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) out += (out.empty() ? "" : "/") + name;
    return out;
}

// Squared distance on a local equirectangular projection: enough to rank
// centres near one point.
double Distance2(const LabelledPoint& a, const LabelledPoint& b) {
    const double dx = (a.longitude - b.longitude) * std::cos(a.latitude * M_PI / 180.0);
    const double dy = a.latitude - b.latitude;
    return dx * dx + dy * dy;
}

const std::string& NearestCentre(const LabelledPoint& p,
                                 const std::vector<LabelledPoint>& centres) {
    const LabelledPoint* best = &centres.front();
    double bestDistance = std::numeric_limits<double>::max();
    for (const LabelledPoint& c : centres) {
        const double d = Distance2(p, c);
        if (d < bestDistance) {
            bestDistance = d;
            best = &c;
        }
    }
    return best->names;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    std::string data = DARAZOZ_REGION_DATA;
    std::string samplesPath = DARAZOZ_REGION_SAMPLES;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--data") data = argv[i + 1];
        if (std::string(argv[i]) == "--samples") samplesPath = argv[i + 1];
    }
    RegionAtlas atlas;
    auto start = std::chrono::steady_clock::now();
    if (!atlas.Open(data)) {
        std::fprintf(stderr, "%s\n", atlas.ErrorText().c_str());
        return 1;
    }
    std::printf("data file              %8.1f MiB\n", std::filesystem::file_size(data) / 1048576.0);
    std::printf("open                   %8.2f ms\n", Seconds(start) * 1000.0);

    const auto samples = ReadPoints(samplesPath, "sample");
    const auto centres = ReadPoints(samplesPath, "centre");
    if (samples.empty() || centres.empty()) {
        std::fprintf(stderr, "no samples in %s\n", samplesPath.c_str());
        return 1;
    }

    // Lookups per second: the sample points, which all fall on land inside
    // China, then again over a spread of positions across the whole globe.
    std::size_t rounds = 0;
    start = std::chrono::steady_clock::now();
    std::size_t answered = 0;
    while (Seconds(start) < 2.0) {
        for (const LabelledPoint& p : samples)
            answered += !atlas.Lookup(p.latitude, p.longitude).empty();
        ++rounds;
    }
    const double inChina = rounds * samples.size() / Seconds(start);
    std::size_t globe = 0;
    start = std::chrono::steady_clock::now();
    for (double lat = -80; lat <= 80; lat += 1.0)
        for (double lon = -180; lon < 180; lon += 1.0, ++globe) atlas.Lookup(lat, lon);
    const double worldwide = globe / Seconds(start);
    std::printf("lookups, China         %8.0f per second (one thread)\n", inChina);
    std::printf("lookups, whole globe   %8.0f per second (one thread)\n", worldwide);

    std::size_t ours = 0;
    std::size_t nearest = 0;
    for (const LabelledPoint& p : samples) {
        ours += Joined(atlas.Lookup(p.latitude, p.longitude)) == p.names;
        nearest += NearestCentre(p, centres) == p.names;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory            %8.1f MiB\n", usage.ru_maxrss / 1024.0);
    std::printf("accuracy, %zu points inside %zu districts\n", samples.size(), centres.size());
    std::printf("  polygon lookup       %8.2f %%\n", 100.0 * ours / samples.size());
    std::printf("  nearest centre       %8.2f %%\n", 100.0 * nearest / samples.size());
    return answered == 0;
}
