// Start-up benchmark: a fresh process over a catalogue of 10,000 and of
// 100,000 photos. Prints the time `darazoz-cli stats` takes; when the
// program (offscreen) first draws its window and its first grouping (shot
// time, with the duplicates group and the counts), and its whole run; a
// process that opens the catalogue, builds that grouping and waits until
// the catalogue holds no page of its file any more; each with its peak
// memory against the file's size, next to sqlite3's .restore of the same
// file into memory in the same run.
//
// usage: startup_bench [--photos N]... [--dir DIR] [--runs R]
// Catalogues are generated once into DIR/dN (default under the temporary
// folder) and reused; a catalogue put there by hand is used as it is.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench_process.h"
#include "catalogue/catalogue_save.h"
#include "catalogue/photo_catalogue.h"
#include "generated_library.h"
#include "platform/data_folder.h"
#include "platform/private_file_image.h"
#include "tree/category_tree_builder.h"

namespace {

struct Run {
    double seconds;
    double peakMiB;
    int status;
    // Seconds from the start to each "label <monotonic seconds>" line the
    // command printed.
    std::map<std::string, double> marks;
};

// Runs the command in a fresh process and reads its output for marks.
Run Measure(const std::vector<std::string>& command) {
    const ProcessRun process = RunProcess(command);
    Run run{process.seconds, process.peakMiB, process.status, {}};
    std::istringstream lines(process.output);
    std::string label;
    double when = 0;
    while (lines >> label >> when) run.marks[label] = when - process.start;
    return run;
}

// The median of runs by time, with the largest peak memory and the median
// of every mark.
Run Typical(const std::vector<std::string>& command, int runs) {
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i) all.push_back(Measure(command));
    const auto median = [&all](auto value) {
        std::vector<double> values;
        for (const Run& run : all) values.push_back(value(run));
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    Run typical{median([](const Run& run) { return run.seconds; }), 0, 0, {}};
    for (const Run& run : all) {
        typical.peakMiB = std::max(typical.peakMiB, run.peakMiB);
        typical.status = std::max(typical.status, run.status);
        for (const auto& [label, when] : run.marks) typical.marks[label] = 0;
    }
    for (auto& [label, when] : typical.marks) {
        when = median([&label](const Run& run) {
            const auto found = run.marks.find(label);
            return found == run.marks.end() ? -1.0 : found->second;
        });
    }
    return typical;
}

void Print(const char* what, double seconds, const Run& run, double fileMiB, const char* target) {
    std::printf("  %-28s %7.2f s  peak %7.1f MiB (%.2f x file)%s%s\n", what, seconds, run.peakMiB,
                run.peakMiB / fileMiB, target, run.status == 0 ? "" : "  FAILED");
}

// Child mode: opens the catalogue of the data folder, builds the first
// grouping as the pane does and waits until the catalogue no longer shares
// a page with its file, so that the peak memory is that of a program that
// has run for a while.
int HoldCatalogue(const std::string& folder) {
    SetDataFolder(folder);
    Library library;
    if (!OpenCatalogue(library)) return 1;
    auto tree = BuildCategoryTree(library, SortMode::ShotTime, nullptr);
    if (!tree) return 1;
    AppendDuplicatesGroup(library, *tree);
    ApplyGroupCounts(*tree);
    library.WaitUntilPrivate();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The catalogue every step of this run works on.
    Library library;
    if (argc == 3 && std::string(argv[1]) == "--hold-catalogue") return HoldCatalogue(argv[2]);

    std::vector<int> sizes;
    std::string dir = std::filesystem::temp_directory_path().string() + "/darazoz-startup-bench";
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--photos") sizes.push_back(std::atoi(argv[i + 1]));
        if (option == "--dir") dir = argv[i + 1];
        if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    }
    if (sizes.empty()) sizes = {10000, 100000};
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();

    for (int photos : sizes) {
        const std::string folder = dir + "/d" + std::to_string(photos);
        std::filesystem::create_directories(folder);
        EnsureGeneratedCatalogue(library, folder, photos);
        const std::string file = folder + "/myJpgdb.db";
        const double fileMiB = std::filesystem::file_size(file) / 1048576.0;
        // Warm the file cache so that every run reads from memory alike.
        Measure({"cat", file});
        std::printf("%d photos, catalogue file %.1f MiB, median of %d fresh processes\n", photos,
                    fileMiB, runs);
        const Run stats = Typical({DARAZOZ_CLI, "--data-dir", folder, "stats"}, runs);
        Print("darazoz-cli stats", stats.seconds, stats, fileMiB, "  (target < 1.5 s, <= 1.15 x)");
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        Run program = Typical({DARAZOZ_PROGRAM, "--data-dir", folder, "--report-startup"}, runs);
        Print("darazoz window drawn", program.marks["window"], program, fileMiB,
              "  (target < 0.5 s)");
        Print("darazoz first grouping drawn", program.marks["grouping"], program, fileMiB,
              "  (target < 1.5 s)");
        Print("darazoz whole process", program.seconds, program, fileMiB, "");
        const Run held = Typical({self, "--hold-catalogue", folder}, runs);
        Print("grouped, all pages copied", held.seconds, held, fileMiB, "  (target <= 1.15 x)");
        const Run floor = Typical(
            {"sqlite3", ":memory:", ".restore " + file, "select count(*) from tJpgMsg"}, runs);
        Print("sqlite3 .restore floor", floor.seconds, floor, fileMiB, "");
    }
    return 0;
}
