// Cost at scale, as whole darazoz-cli processes: the per-photo cost of an
// import into a 100,000-photo catalogue next to one into an empty catalogue,
// with the fixed cost of each process (start-up, load, folder list, save)
// apart, and the update over the unchanged 100,000-photo library.
//
// usage: scale_bench [--photos N] [--new N] [--base N] [--rounds R] [--dir DIR]
//                    [--cli PATH]
// Each import runs twice per round, with base and with base + new small
// photos; the difference over new is the cost per photo, and what is left of
// the smaller run is the fixed cost. The smaller run is long enough that the
// working image's move off the catalogue file (it starts a second after the
// catalogue opens and copies the whole file) ends within it too: it is a
// fixed cost, and a short run would leave it to the longer one alone. Every run starts from a fresh
// copy of its data folder. The library (catalogue and files) and the photos stay in DIR and are
// reused. --cli times another build of darazoz-cli (an older one, to compare with).

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_process.h"
#include "catalogue/photo_catalogue.h"
#include "generated_library.h"
#include "platform/data_folder.h"
#include "test_jpeg_writer.h"

namespace {

constexpr std::int32_t kFileTime = 1500000000;

std::string cli = DARAZOZ_CLI;

struct Cost {
    double wallMs = 0;
    double cpuMs = 0;  // user + system of the process
};

// Runs darazoz-cli with the data folder and arguments.
Cost RunCli(const std::string& dataFolder, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {cli, "--data-dir", dataFolder});
    const ProcessRun run = RunProcess(arguments);
    if (run.status != 0)
        std::printf("  (darazoz-cli %s exited with %d)\n", arguments[3].c_str(), run.status);
    return {run.seconds * 1e3, run.cpuSeconds * 1e3};
}

// count small photos (320 x 240 with their own 160 x 120 thumbnail and two
// keywords) in folder, made once.
void MakeSmallPhotos(const std::string& folder, int count, std::uint32_t firstSeed) {
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        const std::string path = folder + "/small_" + std::to_string(i) + ".jpg";
        if (std::filesystem::exists(path)) continue;
        TestJpegOptions options;
        options.width = 320;
        options.height = 240;
        options.seed = firstSeed + static_cast<std::uint32_t>(i);
        options.embedThumbnail = true;
        options.model = "Camera";
        options.dateTimeOriginal = "2021:05:01 10:00:00";
        options.xpKeywords = u"旅行;家人";
        WriteTestJpeg(path, options);
    }
}

// A fresh copy of the data folder source (empty: none) at target.
void FreshDataFolder(const std::string& source, const std::string& target) {
    std::filesystem::remove_all(target);
    std::filesystem::create_directories(target);
    if (!source.empty())
        std::filesystem::copy(source, target, std::filesystem::copy_options::recursive);
    // The copy's pages reach the disk now, not during the timed run's save.
    sync();
}

void PrintSpread(const char* label, const std::vector<double>& values, const char* unit) {
    const Spread s = SpreadOf(values);
    std::printf("  %-34s %9.3f %9.3f %9.3f %s\n", label, s.min, s.median, s.max, unit);
}

// One round's import costs into one catalogue.
struct ImportRound {
    Cost small;
    Cost large;
};

ImportRound ImportInto(const std::string& source, const std::string& work,
                       const std::string& smallFolder, const std::string& largeFolder) {
    ImportRound round;
    FreshDataFolder(source, work);
    round.small = RunCli(work, {"import", smallFolder});
    FreshDataFolder(source, work);
    round.large = RunCli(work, {"import", largeFolder});
    return round;
}

}  // namespace

int main(int argc, char** argv) {
    int photos = 100000;
    int added = 10000;
    int base = 15000;
    int rounds = 5;
    std::string dir = std::filesystem::temp_directory_path().string() + "/darazoz-scale-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--photos") photos = std::atoi(argv[i + 1]);
        if (option == "--new") added = std::atoi(argv[i + 1]);
        if (option == "--base") base = std::atoi(argv[i + 1]);
        if (option == "--rounds") rounds = std::atoi(argv[i + 1]);
        if (option == "--dir") dir = argv[i + 1];
        if (option == "--cli") cli = argv[i + 1];
    }
    const std::string library = dir + "/library-" + std::to_string(photos);
    const std::string libraryData = library + "/data";
    if (!std::filesystem::exists(libraryData + "/myJpgdb.db")) {
        std::printf("generating %d photos and their files ...\n", photos);
        Library generating;
        SetDataFolder(libraryData);
        GenerateLibraryWithFiles(generating, photos, library + "/photos", kFileTime);
    }
    // Two folders whose photos differ from each other's and from the library's.
    const std::string smallFolder = dir + "/new-" + std::to_string(base);
    const std::string largeFolder = dir + "/new-" + std::to_string(base + added);
    MakeSmallPhotos(smallFolder, base, 1000000);
    MakeSmallPhotos(largeFolder, base + added, 2000000);
    const std::string work = dir + "/work";

    std::printf("catalogue %d photos, %.1f MiB; imports of %d and %d small photos, %d rounds\n",
                photos, std::filesystem::file_size(libraryData + "/myJpgdb.db") / 1048576.0, base,
                base + added, rounds);
    ImportInto(libraryData, work, smallFolder, largeFolder);  // warms the file cache

    std::vector<double> perPhoto[2][2], fixed[2][2], ratio[2], update[2];
    // The whole runs' times, [target][small, large][wall, processor].
    std::vector<double> runs[2][2][2];
    for (int r = 0; r < rounds; ++r) {
        const ImportRound rounds2[2] = {ImportInto("", work, smallFolder, largeFolder),
                                        ImportInto(libraryData, work, smallFolder, largeFolder)};
        double cost[2][2];
        for (int target = 0; target < 2; ++target) {
            const ImportRound& run = rounds2[target];
            for (int kind = 0; kind < 2; ++kind) {
                runs[target][0][kind].push_back(kind ? run.small.cpuMs : run.small.wallMs);
                runs[target][1][kind].push_back(kind ? run.large.cpuMs : run.large.wallMs);
            }
            const double wall = (run.large.wallMs - run.small.wallMs) / added;
            const double cpu = (run.large.cpuMs - run.small.cpuMs) / added;
            cost[target][0] = wall;
            cost[target][1] = cpu;
            perPhoto[target][0].push_back(wall);
            perPhoto[target][1].push_back(cpu);
            fixed[target][0].push_back(run.small.wallMs - base * wall);
            fixed[target][1].push_back(run.small.cpuMs - base * cpu);
        }
        for (int kind = 0; kind < 2; ++kind) ratio[kind].push_back(cost[1][kind] / cost[0][kind]);
        FreshDataFolder(libraryData, work);
        const Cost updated = RunCli(work, {"update"});
        update[0].push_back(updated.wallMs);
        update[1].push_back(updated.cpuMs);
    }

    const char* kinds[2] = {"wall", "processor"};
    for (int kind = 0; kind < 2; ++kind) {
        std::printf("\n%s time, min median max over %d rounds\n", kinds[kind], rounds);
        PrintSpread("import per photo, empty catalogue", perPhoto[0][kind], "ms");
        PrintSpread("import per photo, large catalogue", perPhoto[1][kind], "ms");
        PrintSpread("  ratio large / empty (target <= 1.2)", ratio[kind], "x");
        PrintSpread("import fixed cost, empty catalogue", fixed[0][kind], "ms");
        PrintSpread("import fixed cost, large catalogue", fixed[1][kind], "ms");
        PrintSpread("update, unchanged large library", update[kind], "ms (target < 1000)");
        // The save's time varies by seconds from run to run; the fastest run
        // of each import is the one least disturbed.
        double fastest[2];
        for (int target = 0; target < 2; ++target)
            fastest[target] =
                (SpreadOf(runs[target][1][kind]).min - SpreadOf(runs[target][0][kind]).min) / added;
        std::printf(
            "  per photo from the fastest runs: empty %.3f ms, large %.3f ms, ratio %.3f x\n",
            fastest[0], fastest[1], fastest[1] / fastest[0]);
    }
    std::filesystem::remove_all(work);
    return 0;
}
