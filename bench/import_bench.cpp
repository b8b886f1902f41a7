// Import benchmark: photos per second and peak memory of the import over
// (a) camera-like 12-megapixel files with embedded EXIF thumbnails and
// (b) 12-megapixel files without EXIF, side by side with the reference floor
// program and, when installed, exiftool -fast on the same files; (b) also,
// over several rounds, against the same files read and stored on one thread
// and against vipsthumbnail when installed.
//
// usage: import_bench [--camera N] [--plain N] [--rounds R] [--workers N] [--dir DIR]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "bench_process.h"
#include "catalogue/pending_region_queue.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "import/add_photo_file.h"
#include "import/folder_walk.h"
#include "import/ordered_import.h"
#include "import/photo_read_pool.h"
#include "platform/data_folder.h"

namespace {

struct RunFigures {
    double seconds = 0;
    int imported = 0;
    long peakKiB = 0;
    double catalogueMiB = 0;  // SQLite's memory in use at the end: the catalogue itself
};

// Runs import (which returns how many it imported) in a child process with a
// new data folder, so that its peak memory is the import's own; the child
// reports its timing through a pipe.
RunFigures TimeImport(Library& library, const std::string& dataFolder,
                      const std::function<int()>& import) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {};
    pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        std::filesystem::remove_all(dataFolder);
        SetDataFolder(dataFolder);
        OpenCatalogue(library);
        double start = SteadySeconds();
        BeginTransaction(library);
        int imported = import();
        CommitTransaction(library);
        double seconds = SteadySeconds() - start;
        char line[128];
        int n = std::snprintf(line, sizeof line, "%.6f %d %.3f\n", seconds, imported,
                              double(CatalogueMemoryUsed(library)) / 1048576.0);
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

// The folder import as the program runs it: the walk, reads ahead on the
// pool and one writer.
int PooledImport(Library& library, const std::string& folder, int workers) {
    int imported = 0;
    ImportProgress progress;
    PendingRegionQueue regions;  // no companion: photos with a position wait here
    OrderedImport import(library, imported, progress, {nullptr, regions}, workers);
    ImportFolderTree(folder, import);
    import.Finish();
    return imported;
}

// Every file read and stored on the one import thread, one after another, as
// the import did before it read ahead.
int SerialImport(Library& library, const std::vector<std::string>& files) {
    int imported = 0;
    PendingRegionQueue regions;
    for (const std::string& file : files) {
        if (StorePhotoFile(library, file, true, {nullptr, regions}) != StoreOutcome::Imported)
            continue;
        if (++imported % 100 == 0) {
            CommitTransaction(library);
            BeginTransaction(library);
        }
    }
    return imported;
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
    double start = SteadySeconds();
    std::string command = "exiftool -fast -q -q -m -@ '" + list + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return 0;
    return double(files) / (SteadySeconds() - start);
}

// vipsthumbnail making 160-pixel thumbnails of the same files in one process;
// 0 when it is not installed.
double VipsThumbnailRate(const std::vector<std::string>& files, const std::string& workDir) {
    if (std::system("command -v vipsthumbnail >/dev/null 2>&1") != 0) return 0;
    const std::string out = workDir + "/vips-out";
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    std::string command = "vipsthumbnail --size 160 -o '" + out + "/%s.jpg'";
    for (const std::string& f : files) command += " '" + f + "'";
    const double start = SteadySeconds();
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) return 0;
    return double(files.size()) / (SteadySeconds() - start);
}

void Report(Library& library, const char* name, const std::string& folder,
            const std::vector<std::string>& files, const std::string& workDir,
            const std::string& floor, double targetRate) {
    WarmFileCache(files);
    RunFigures run = TimeImport(library, workDir + "/data", [&] {
        return PooledImport(library, folder, PhotoReadPool::DefaultWorkerCount());
    });
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

// One figure over the rounds: its smallest, median and largest value.
void PrintSpread(const char* label, const std::vector<double>& values, const char* unit) {
    const Spread s = SpreadOf(values);
    std::printf("  %-28s %8.2f %8.2f %8.2f  %s\n", label, s.min, s.median, s.max, unit);
}

// The generated thumbnails on the read pool against the same import on one
// thread and vipsthumbnail, round after round so that each ratio compares
// figures taken moments apart on a shared machine.
void ReportReadAhead(Library& library, const std::string& folder,
                     const std::vector<std::string>& files, const std::string& workDir, int workers,
                     int rounds) {
    WarmFileCache(files);
    std::vector<double> pooled, serial, vips, overSerial, overVips;
    for (int round = 0; round < rounds; ++round) {
        RunFigures run = TimeImport(library, workDir + "/data",
                                    [&] { return PooledImport(library, folder, workers); });
        RunFigures one =
            TimeImport(library, workDir + "/data", [&] { return SerialImport(library, files); });
        pooled.push_back(run.imported / run.seconds);
        serial.push_back(one.imported / one.seconds);
        overSerial.push_back(pooled.back() / serial.back());
        if (double rate = VipsThumbnailRate(files, workDir); rate > 0) {
            vips.push_back(rate);
            overVips.push_back(pooled.back() / rate);
        }
    }
    std::printf("\nread ahead, files without EXIF: %zu files, %d read workers, %d rounds\n",
                files.size(), workers, rounds);
    std::printf("  %-28s %8s %8s %8s\n", "", "min", "median", "max");
    PrintSpread("import (read pool)", pooled, "photos/s");
    PrintSpread("import on one thread", serial, "photos/s");
    PrintSpread("pool / one thread", overSerial, "x (target >= 1.6)");
    if (vips.empty()) {
        std::printf("  vipsthumbnail --size 160     (not installed)\n");
        return;
    }
    PrintSpread("vipsthumbnail --size 160", vips, "files/s");
    PrintSpread("pool / vipsthumbnail", overVips, "x (target >= 1.5)");
}

// What a user runs: the whole `darazoz-cli import` process on n files with a
// fresh data folder, next to the floor program as a whole process on the same
// files, one after the other in each round.
void ReportWholeProcess(const std::vector<std::string>& files, const std::string& workDir,
                        const std::string& floor, int rounds) {
    std::printf("\nwhole process (darazoz-cli import with a new data folder), %d rounds\n", rounds);
    std::printf("  %-28s %8s %8s %8s\n", "", "min", "median", "max");
    for (std::size_t n : {std::size_t{10}, std::size_t{1000}}) {
        if (n > files.size()) continue;
        const std::vector<std::string> subset(files.begin(), files.begin() + long(n));
        const std::string list = WriteList(workDir + "/process.list", subset);
        const std::string data = workDir + "/process-data";
        std::vector<std::string> import{DARAZOZ_CLI, "--data-dir", data, "import"};
        import.insert(import.end(), subset.begin(), subset.end());
        std::vector<double> cli, base, speed;
        for (int round = 0; round < rounds; ++round) {
            std::filesystem::remove_all(data);
            cli.push_back(RunProcess(import).seconds * 1000);
            if (floor.empty()) continue;
            base.push_back(RunProcess({floor, list}).seconds * 1000);
            speed.push_back(base.back() / cli.back());
        }
        const std::string photos = std::to_string(n) + " photos, ";
        PrintSpread((photos + "darazoz-cli").c_str(), cli, "ms");
        if (floor.empty()) {
            std::printf("  (floor not built)\n");
            continue;
        }
        PrintSpread((photos + "floor").c_str(), base, "ms");
        PrintSpread((photos + "speed / floor").c_str(), speed,
                    n >= 1000 ? "x (target >= 0.5)" : "x");
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The catalogue every step of this run works on.
    Library library;
    int camera = 2000, plain = 40, rounds = 5;
    int workers = PhotoReadPool::DefaultWorkerCount();
    std::string dir = std::filesystem::temp_directory_path().string() + "/darazoz-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--camera")
            camera = std::atoi(argv[i + 1]);
        else if (option == "--plain")
            plain = std::atoi(argv[i + 1]);
        else if (option == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--workers")
            workers = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--dir")
            dir = argv[i + 1];
    }
    std::filesystem::create_directories(dir);
    std::printf("import benchmark (corpus in %s)\n", dir.c_str());
    std::fflush(stdout);
    const std::string floor = BuildFloor(dir);
    if (camera > 0) {
        auto cameraFiles = MakeCameraCorpus(dir + "/camera", camera);
        Report(library, "camera", dir + "/camera", cameraFiles, dir, floor, 3000);
        ReportWholeProcess(cameraFiles, dir, floor, rounds);
    }
    if (plain > 0) {
        auto plainFiles = MakePlainCorpus(dir + "/plain", plain);
        Report(library, "plain", dir + "/plain", plainFiles, dir, floor, 25);
        ReportReadAhead(library, dir + "/plain", plainFiles, dir, workers, rounds);
    }
    return 0;
}
