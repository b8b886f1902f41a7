// Start-up benchmark: a fresh process over a catalogue of 10,000 and of
// 100,000 photos. Prints the time until `darazoz-cli stats` has loaded the
// catalogue and counted its tables, the time until the first grouping (shot
// time, with the duplicates group and the counts) is built, and each one's
// peak memory against the file's size, next to sqlite3's .restore of the
// same file into memory in the same run.
//
// usage: startup_bench [--photos N]... [--dir DIR] [--runs R]
// Catalogues are generated once into DIR/dN (default under the temporary
// folder) and reused; a catalogue put there by hand is used as it is.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/catalogue_save.h"
#include "catalogue/photo_catalogue.h"
#include "generated_library.h"
#include "platform/data_folder.h"
#include "tree/category_tree_builder.h"

namespace {

struct Run {
    double seconds;
    double peakMiB;
    int status;
};

// Runs the command in a fresh process with its output discarded.
Run Measure(const std::vector<std::string>& command) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        std::vector<char*> argv;
        for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {seconds, usage.ru_maxrss / 1024.0, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The median of runs by time, with the largest peak memory seen.
Run Typical(const std::vector<std::string>& command, int runs) {
    std::vector<Run> all;
    for (int i = 0; i < runs; ++i) all.push_back(Measure(command));
    std::sort(all.begin(), all.end(),
              [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
    Run typical = all[all.size() / 2];
    for (const Run& run : all) typical.peakMiB = std::max(typical.peakMiB, run.peakMiB);
    for (const Run& run : all) typical.status = std::max(typical.status, run.status);
    return typical;
}

void Print(const char* what, const Run& run, double fileMiB, const char* target) {
    std::printf("  %-22s %7.2f s  peak %7.1f MiB (%.2f x file)%s%s\n", what, run.seconds,
                run.peakMiB, run.peakMiB / fileMiB, target, run.status == 0 ? "" : "  FAILED");
}

// Child mode: opens the catalogue of the data folder and builds the first
// grouping as the pane does at start-up.
int FirstGrouping(const std::string& folder) {
    SetDataFolder(folder);
    if (!OpenCatalogue()) return 1;
    auto tree = BuildCategoryTree(SortMode::ShotTime, nullptr);
    if (!tree) return 1;
    AppendDuplicatesGroup(*tree);
    ApplyGroupCounts(*tree);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--first-grouping") return FirstGrouping(argv[2]);

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
        EnsureGeneratedCatalogue(folder, photos);
        const std::string file = folder + "/myJpgdb.db";
        const double fileMiB = std::filesystem::file_size(file) / 1048576.0;
        // Warm the file cache so that every run reads from memory alike.
        Measure({"cat", file});
        std::printf("%d photos, catalogue file %.1f MiB, median of %d fresh processes\n", photos,
                    fileMiB, runs);
        Print("darazoz-cli stats", Typical({DARAZOZ_CLI, "--data-dir", folder, "stats"}, runs),
              fileMiB, "  (target < 1.5 s, <= 1.15 x)");
        Print("first grouping", Typical({self, "--first-grouping", folder}, runs), fileMiB,
              "  (target < 1.5 s)");
        Print("sqlite3 .restore floor",
              Typical({"sqlite3", ":memory:", ".restore " + file, "select count(*) from tJpgMsg"},
                      runs),
              fileMiB, "");
    }
    return 0;
}
