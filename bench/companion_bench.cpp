// Companion benchmark: the whole `darazoz-cli import` of N generated photos
// with positions (default 10,000) while `zidevu --headless` runs, next to the
// same import without a companion (the photos are then only queued); the
// time from starting zidevu until it has answered a first region request;
// and region lookups per second in process, through the link (MapLink to the
// companion service, as the import asks from its worker) and without it (the
// companion's protocol and region data alone).
//
// usage: companion_bench [--photos N] [--runs R] [--dir DIR]

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "companion/companion_service.h"
#include "companion/region_atlas.h"
#include "database_file.h"
#include "maplink/map_link.h"
#include "maplink/map_records.h"
#include "test_jpeg_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Positions over mainland China and its neighbours, the same for every run.
std::pair<double, double> PositionOf(int i) {
    return {20.0 + (i * 7919 % 2500) / 100.0, 98.0 + (i * 104729 % 2400) / 100.0};
}

// N small photos with positions and their own thumbnails; made once.
void EnsurePhotos(const std::string& folder, int count) {
    const std::string done = folder + "/.complete-" + std::to_string(count);
    if (std::filesystem::exists(done)) return;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        TestJpegOptions o;
        o.seed = std::uint32_t(i + 1);
        o.embedThumbnail = true;
        o.thumbnailWidth = 32;
        o.thumbnailHeight = 24;
        o.dateTimeOriginal = "2020:05:01 10:00:00";
        const auto [latitude, longitude] = PositionOf(i);
        o.latitudeRef = "N";
        o.latitude = DmsFromDegrees(latitude);
        o.longitudeRef = "E";
        o.longitude = DmsFromDegrees(longitude);
        WriteTestJpeg(folder + "/IMG_" + std::to_string(i) + ".jpg", o);
    }
    std::FILE* marker = std::fopen(done.c_str(), "w");
    if (marker) std::fclose(marker);
    std::printf("generated %d photos in %.1f s\n", count, SecondsSince(start));
}

bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// zidevu --headless, waited for until it listens. The probe must not take
// the album's class, which the timed darazoz-cli needs for the replies.
std::unique_ptr<ChildProcess> StartZidevu() {
    static const auto probe = CreateLinkEndpoint({"companion-bench", {}, {}});
    auto zidevu =
        std::make_unique<ChildProcess>(std::vector<std::string>{ZIDEVU_PATH, "--headless"},
                                       ChildProcess::Input::Nothing, "/dev/null");
    const auto giveUp = Clock::now() + std::chrono::seconds(10);
    while (!probe->PeerExists(kCompanionLinkClass) && Clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return zidevu;
}

void ReportImport(const std::string& photos, const std::string& work, int count, int runs) {
    const std::string data = work + "/data";
    const std::string import =
        "'" DARAZOZ_CLI "' --data-dir '" + data + "' import '" + photos + "'";
    std::vector<double> alone, beside;
    int named = 0;
    for (int run = 0; run < runs; ++run) {
        std::filesystem::remove_all(data);
        auto start = Clock::now();
        if (Run(import)) alone.push_back(SecondsSince(start));

        std::filesystem::remove_all(data);
        auto zidevu = StartZidevu();
        start = Clock::now();
        if (Run(import)) beside.push_back(SecondsSince(start));
        zidevu->Terminate();
        const auto rows = QueryFileColumn(data + "/myJpgdb.db",
                                          "select count(*) from tJpgMsg where strArea0 <> ''");
        named = rows.empty() ? 0 : std::atoi(rows.front().c_str());
    }
    const double a = Median(alone), b = Median(beside);
    std::printf("\ndarazoz-cli import of %d photos with positions (median of %d)\n", count, runs);
    std::printf("  without a companion   %7.2f s  %8.0f photos/s  (photos queued)\n", a, count / a);
    std::printf("  with zidevu running   %7.2f s  %8.0f photos/s  (%d got region names)\n", b,
                count / b, named);
    std::printf("  speed with / without  %7.2f x  (target >= 0.5 x)\n", a / b);
}

void ReportStart(int runs) {
    RegionBuffer regions;
    MapLink link(regions);
    std::vector<double> listening, answered;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        auto zidevu = StartZidevu();
        listening.push_back(SecondsSince(start));
        if (link.RequestRegionNames(22.54, 114.06, 5)) answered.push_back(SecondsSince(start));
        zidevu->Terminate();
    }
    std::printf("\nzidevu --headless from start (median of %d)\n", runs);
    std::printf("  listening             %7.1f ms\n", Median(listening) * 1000);
    std::printf("  first region answer   %7.1f ms  (target < 500 ms)\n", Median(answered) * 1000);
}

void ReportInProcess(int lookups) {
    RegionAtlas atlas;
    const std::string dataFile =
        FindRegionDataFile(std::filesystem::path(ZIDEVU_PATH).parent_path());
    const bool haveData = !dataFile.empty() && atlas.Open(dataFile);
    const RegionNamer namer = [&atlas](double latitude, double longitude) {
        return atlas.Lookup(latitude, longitude);
    };
    std::printf("\nregion lookups in process (%s)\n",
                haveData ? dataFile.c_str() : "no region data file: every answer n = -2");

    CompanionProtocol protocol(namer, 5);
    std::vector<LinkMessage> toProgram;
    LinkMessage request;
    request.dwData = kCodeHandshake;
    request.data = PackHandshakeText();
    protocol.Handle(request, toProgram);
    auto start = Clock::now();
    for (int i = 0; i < lookups * 10; ++i) {
        RegionLookupBlock block;
        std::tie(block.latitude, block.longitude) = PositionOf(i);
        request.dwData = MakeDwData(kCodeRegionLookup, 5);
        request.data = PackRegionLookupBlock(block);
        toProgram.clear();
        protocol.Handle(request, toProgram);
    }
    std::printf("  protocol and data     %9.0f lookups/s  (target >= 20,000/s)\n",
                lookups * 10 / SecondsSince(start));

    CompanionService service(namer);
    RegionBuffer regions;
    MapLink link(regions);
    std::atomic<bool> done{false};
    start = Clock::now();
    std::thread worker([&] {
        for (int i = 0; i < lookups; ++i) {
            const auto [latitude, longitude] = PositionOf(i);
            link.RequestRegionNames(latitude, longitude, 5);
        }
        done = true;
        link.Endpoint().Interrupt();
    });
    while (!done) link.Endpoint().WaitAndProcess(std::chrono::milliseconds(100));
    worker.join();
    std::printf("  through the link      %9.0f lookups/s  (a worker asking, as the import does)\n",
                lookups / SecondsSince(start));
}

}  // namespace

int main(int argc, char** argv) {
    int photos = 10000, runs = 3;
    std::string dir = std::filesystem::temp_directory_path().string() + "/darazoz-companion-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--photos")
            photos = std::atoi(argv[i + 1]);
        else if (option == "--runs")
            runs = std::atoi(argv[i + 1]);
        else if (option == "--dir")
            dir = argv[i + 1];
    }
    // A link folder and settings of the benchmark's own.
    const std::string runtime = dir + "/runtime";
    std::filesystem::create_directories(runtime);
    chmod(runtime.c_str(), 0700);
    std::filesystem::create_directories(dir + "/config");
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);

    ReportInProcess(2000);
    ReportStart(std::max(runs, 5));
    EnsurePhotos(dir + "/photos", photos);
    ReportImport(dir + "/photos", dir, photos, runs);
    return 0;
}
