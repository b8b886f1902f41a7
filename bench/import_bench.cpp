// Import benchmark: photos per second and peak memory of the import over
// (a) camera-like 12-megapixel files with embedded EXIF thumbnails and
// (b) 12-megapixel files without EXIF, side by side with the reference floor
// program and, when installed, exiftool -fast on the same files.
//
// usage: import_bench [--camera N] [--plain N] [--dir DIR]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "catalogue/pending_region_queue.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "import/folder_walk.h"
#include "platform/data_folder.h"

namespace {

struct RunFigures {
    double seconds = 0;
    int imported = 0;
    long peakKiB = 0;
    double catalogueMiB = 0;  // SQLite's memory in use at the end: the catalogue itself
};

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Imports the folder in a child process, so that its peak memory is the
// import's own; the child reports its timing through a pipe.
RunFigures TimeImport(const std::string& folder, const std::string& dataFolder) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {};
    pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        std::filesystem::remove_all(dataFolder);
        SetDataFolder(dataFolder);
        OpenCatalogue();
        double start = Now();
        BeginTransaction();
        int imported = 0;
        ImportProgress progress;
        PendingRegionQueue regions;  // no companion: photos with a position wait here
        ImportFolderTree(folder, imported, progress, {nullptr, regions});
        CommitTransaction();
        double seconds = Now() - start;
        char line[128];
        int n = std::snprintf(line, sizeof line, "%.6f %d %.3f\n", seconds, imported,
                              double(CatalogueMemoryUsed()) / 1048576.0);
        if (write(pipeFds[1], line, std::size_t(n)) < 0) _exit(1);
        _exit(0);
    }
    close(pipeFds[1]);
    char line[128] = {};
    ssize_t got = read(pipeFds[0], line, sizeof line - 1);
    close(pipeFds[0]);
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    RunFigures figures;
    if (got > 0)
        std::sscanf(line, "%lf %d %lf", &figures.seconds, &figures.imported, &figures.catalogueMiB);
    figures.peakKiB = usage.ru_maxrss;
    return figures;
}

std::string WriteList(const std::string& path, const std::vector<std::string>& files) {
    std::ofstream out(path);
    for (const std::string& f : files) out << f << '\n';
    return path;
}

// Builds the reference floor program next to this benchmark; empty when it
// is not there or does not build.
std::string BuildFloor(const std::string& workDir) {
    const std::string source = IMPORT_FLOOR_SOURCE;
    if (!std::filesystem::exists(source)) return {};
    const std::string binary = workDir + "/import_floor";
    const std::string command = "cc -O2 -pthread -o '" + binary + "' '" + source +
                                "' -lexif -ljpeg -lsqlite3 -lcrypto 2>/dev/null";
    return std::system(command.c_str()) == 0 ? binary : std::string();
}

// Runs a command that prints "..., N files/s" (the floor) and returns N.
double FilesPerSecondOf(const std::string& command) {
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return 0;
    char line[512];
    double rate = 0;
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text = line;
        std::size_t at = text.rfind(" files/s");
        if (at == std::string::npos) continue;
        std::size_t start = text.rfind(' ', at - 1);
        rate = std::atof(text.substr(start + 1, at - start - 1).c_str());
    }
    pclose(pipe);
    return rate;
}

double ExiftoolRate(const std::string& list, std::size_t files) {
    if (std::system("command -v exiftool >/dev/null 2>&1") != 0) return 0;
    double start = Now();
    std::string command = "exiftool -fast -q -q -m -@ '" + list + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return 0;
    return double(files) / (Now() - start);
}

void Report(const char* name, const std::string& folder, const std::vector<std::string>& files,
            const std::string& workDir, const std::string& floor, double targetRate) {
    WarmFileCache(files);
    RunFigures run = TimeImport(folder, workDir + "/data");
    const double rate = run.imported / run.seconds;
    std::printf("\n%s: %zu files\n", name, files.size());
    std::printf("  import        %9.1f photos/s  (%d imported in %.3f s; target >= %.0f)\n", rate,
                run.imported, run.seconds, targetRate);
    std::printf("  peak memory   %9.1f MiB (whole import process; the catalogue itself %.1f MiB)\n",
                run.peakKiB / 1024.0, run.catalogueMiB);
    const std::string list = WriteList(workDir + "/" + name + ".list", files);
    if (!floor.empty()) {
        double floorRate = FilesPerSecondOf("'" + floor + "' '" + list + "'");
        if (floorRate > 0)
            std::printf("  floor         %9.1f files/s   import/floor = %.2f\n", floorRate,
                        rate / floorRate);
    } else {
        std::printf("  floor         (reference program not found or not built)\n");
    }
    if (double exiftool = ExiftoolRate(list, files.size()); exiftool > 0)
        std::printf("  exiftool -fast%9.1f files/s   import/exiftool = %.1f\n", exiftool,
                    rate / exiftool);
    else
        std::printf("  exiftool      (not installed)\n");
}

double WallSeconds(const std::string& command) {
    const double start = Now();
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) return -1;
    return Now() - start;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// What a user runs: the whole `darazoz-cli import` process on n files with a
// fresh data folder, next to the floor program as a whole process on the same
// files, medians of five runs each.
void ReportWholeProcess(const std::vector<std::string>& files, const std::string& workDir,
                        const std::string& floor) {
    std::printf("\nwhole process (darazoz-cli import with a new data folder; medians of 5)\n");
    for (std::size_t n : {std::size_t{10}, std::size_t{1000}}) {
        if (n > files.size()) continue;
        const std::vector<std::string> subset(files.begin(), files.begin() + long(n));
        const std::string list = WriteList(workDir + "/process.list", subset);
        std::string arguments;
        for (const std::string& f : subset) arguments += " '" + f + "'";
        const std::string data = workDir + "/process-data";
        std::vector<double> cli, base;
        for (int run = 0; run < 5; ++run) {
            std::filesystem::remove_all(data);
            cli.push_back(
                WallSeconds("'" DARAZOZ_CLI "' --data-dir '" + data + "' import" + arguments));
            if (!floor.empty()) base.push_back(WallSeconds("'" + floor + "' '" + list + "'"));
        }
        const double cliMs = Median(cli) * 1000, floorMs = Median(base) * 1000;
        if (floor.empty()) {
            std::printf("  %4zu photos  darazoz-cli %8.1f ms  (floor not built)\n", n, cliMs);
        } else {
            std::printf(
                "  %4zu photos  darazoz-cli %8.1f ms  floor %8.1f ms  over the floor "
                "%+7.1f ms\n",
                n, cliMs, floorMs, cliMs - floorMs);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The catalogue every step of this run works on.
    Library library;
    int camera = 2000, plain = 40;
    std::string dir = std::filesystem::temp_directory_path().string() + "/darazoz-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--camera")
            camera = std::atoi(argv[i + 1]);
        else if (option == "--plain")
            plain = std::atoi(argv[i + 1]);
        else if (option == "--dir")
            dir = argv[i + 1];
    }
    std::filesystem::create_directories(dir);
    std::printf("import benchmark (one import thread; corpus in %s)\n", dir.c_str());
    std::fflush(stdout);
    const std::string floor = BuildFloor(dir);
    auto cameraFiles = MakeCameraCorpus(dir + "/camera", camera);
    Report("camera", dir + "/camera", cameraFiles, dir, floor, 3000);
    ReportWholeProcess(cameraFiles, dir, floor);
    auto plainFiles = MakePlainCorpus(dir + "/plain", plain);
    Report("plain", dir + "/plain", plainFiles, dir, floor, 25);
    return 0;
}
