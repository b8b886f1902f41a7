// Edit benchmark: writing one keyword into camera-like 12-megapixel files
// with `darazoz-cli edit --keywords`, the whole command in a fresh process,
// next to the floor of copying the same files with cp followed by one sync,
// and exiftool -overwrite_original when installed. Every run starts from
// fresh copies of the same files, with the disk cache flushed before it.
//
// usage: edit_bench [--files N] [--exiftool-files N] [--dir DIR] [--cli PATH] [--tagged]
//   --cli PATH  the darazoz-cli to time (an older build, to compare with)
//   --tagged    the files first get XMP and IPTC keywords as Lightroom writes
//               them (with exiftool, not timed), so that the edit writes all
//               three forms

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_corpus.h"

namespace fs = std::filesystem;

namespace {

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Flushes everything written so far, so that no run pays for the one before.
void SyncDisk() {
    if (std::system("sync") != 0) std::fprintf(stderr, "sync failed\n");
}

// Fresh copies of the pristine files in folder (not timed), synced to disk.
std::vector<std::string> FreshCopies(const std::vector<std::string>& pristine,
                                     const std::string& folder, std::size_t count) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::vector<std::string> copies;
    for (std::size_t i = 0; i < count && i < pristine.size(); ++i) {
        copies.push_back(folder + "/" + fs::path(pristine[i]).filename().string());
        fs::copy_file(pristine[i], copies.back());
    }
    SyncDisk();
    return copies;
}

// Processor seconds (user and system) of the finished child processes so far.
double ChildCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Seconds a shell command takes, -1 when it fails; cpu (optional) gets its
// processor seconds, which the disk's speed does not blur.
double TimeCommand(const std::string& command, double* cpu = nullptr) {
    const double start = Now();
    const double cpuStart = ChildCpuSeconds();
    if (std::system(command.c_str()) != 0) return -1;
    if (cpu) *cpu = ChildCpuSeconds() - cpuStart;
    return Now() - start;
}

std::string Quoted(const std::vector<std::string>& files) {
    std::string text;
    for (const std::string& f : files) text += " '" + f + "'";
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t files = 1000, exiftoolFiles = 100;
    std::string dir = fs::temp_directory_path().string() + "/darazoz-edit-bench";
    std::string cli = DARAZOZ_CLI;
    bool tagged = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--tagged") {
            tagged = true;
            continue;
        }
        if (i + 1 >= argc) break;
        if (option == "--cli")
            cli = argv[++i];
        else if (option == "--files")
            files = std::strtoul(argv[++i], nullptr, 10);
        else if (option == "--exiftool-files")
            exiftoolFiles = std::strtoul(argv[++i], nullptr, 10);
        else if (option == "--dir")
            dir = argv[++i];
    }
    fs::create_directories(dir);
    std::printf("edit benchmark: one keyword into %zu camera-like 12 MP files (in %s)\n", files,
                dir.c_str());
    std::fflush(stdout);
    const std::vector<std::string> pristine =
        MakeCameraCorpus(dir + "/pristine", static_cast<int>(files));
    if (tagged && std::system(("exiftool -q -q -m -overwrite_original -charset iptc=UTF8 "
                               "-XMP-dc:Subject=西湖 -IPTC:Keywords=西湖 "
                               "'-XMP-lr:HierarchicalSubject=地点|西湖'" +
                               Quoted(pristine))
                                  .c_str()) != 0) {
        std::fprintf(stderr, "edit_bench: --tagged needs exiftool\n");
        return 1;
    }
    WarmFileCache(pristine);
    std::uintmax_t bytes = 0;
    for (const std::string& f : pristine) bytes += fs::file_size(f);
    std::printf("  %zu files, %.1f MB\n", pristine.size(), bytes / 1e6);

    const std::string floorFolder = dir + "/floor";
    fs::remove_all(floorFolder);
    fs::create_directories(floorFolder);
    SyncDisk();
    const double floor = TimeCommand("cp" + Quoted(pristine) + " '" + floorFolder + "' && sync");
    const double floorRate = pristine.size() / floor;
    std::printf("  floor: cp + sync                  %8.1f files/s  (%.2f s)\n", floorRate, floor);

    const std::vector<std::string> edited = FreshCopies(pristine, dir + "/edit", files);
    const std::string data = dir + "/data";
    fs::remove_all(data);
    double editCpu = 0;
    const double edit = TimeCommand(
        "'" + cli + "' --data-dir '" + data + "' edit --keywords 'bench;关键词'" + Quoted(edited),
        &editCpu);
    const double editRate = edited.size() / edit;
    std::printf(
        "  darazoz-cli edit --keywords       %8.1f files/s  (%.2f s, %.2f s cpu)  edit/floor = "
        "%.2f (target >= 0.5)\n",
        editRate, edit, editCpu, editRate / floorRate);

    if (std::system("command -v exiftool >/dev/null 2>&1") != 0) {
        std::printf("  exiftool                          (not installed)\n");
        return 0;
    }
    const std::vector<std::string> viaExiftool =
        FreshCopies(pristine, dir + "/exiftool", exiftoolFiles);
    const double exiftool = TimeCommand(
        "exiftool -q -q -m -overwrite_original "
        "'-XPKeywords=bench;关键词'" +
        Quoted(viaExiftool) + " && sync");
    const double exiftoolRate = viaExiftool.size() / exiftool;
    std::printf(
        "  exiftool -overwrite_original      %8.1f files/s  (%.2f s for %zu files%s)  "
        "edit/exiftool = %.1f (target >= 10)\n",
        exiftoolRate, exiftool, viaExiftool.size(),
        viaExiftool.size() < files ? ", a subset: the rate is per file" : "",
        editRate / exiftoolRate);
    return 0;
}
