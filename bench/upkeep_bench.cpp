// Library upkeep benchmark over a generated catalogue of 100,000 photos whose
// files really exist (empty files in 3,000 real folders, with the stored
// times): the start-up change check, the update of 10 changed folders, the
// tidy of the whole catalogue and the thorough tidy next to a plain save;
// in this process and as whole darazoz-cli commands in fresh processes.
//
// usage: upkeep_bench [--photos N] [--dir DIR]
// The generated catalogue and files stay in DIR and are reused; each run
// changes 10 more folders.

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/catalogue_rebuild.h"
#include "catalogue/catalogue_save.h"
#include "catalogue/folder_stamps.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "generated_library.h"
#include "image/raster_image.h"
#include "import/library_tidy.h"
#include "import/library_update.h"
#include "import/library_upkeep.h"
#include "platform/data_folder.h"
#include "platform/file_status.h"

namespace {

constexpr std::int32_t kFileTime = 1500000000;
// Photo ids 1..3000 cover every generated folder (year x album).
constexpr int kFolders = 3000;
constexpr int kChangedFolders = 10;

double Milliseconds(const std::function<void()>& run) {
    auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

std::vector<std::uint8_t> Jpeg(int seed) {
    std::vector<std::uint8_t> rgb(160 * 120 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<std::uint8_t>(i * (seed + 3));
    std::vector<std::uint8_t> jpeg;
    RasterImage::FromRgbTopDown(160, 120, rgb.data()).EncodeJpeg(jpeg);
    return jpeg;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> JpegsIn(const std::string& folder) {
    std::vector<std::string> files;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir))
            if (std::string(entry->d_name).ends_with(".jpg"))
                files.push_back(folder + "/" + entry->d_name);
        closedir(dir);
    }
    return files;
}

// In each of 10 folders (which ones moves on with every call): one photo
// deleted, one rewritten as a real JPEG with a newer time.
void ChangeFolders(const std::string& root, int round) {
    const std::time_t now = std::time(nullptr);
    for (int k = 0; k < kChangedFolders; ++k) {
        const int id = (round * kChangedFolders + k) % kFolders + 1;
        const std::string folder = GeneratedFolder(root, id);
        std::vector<std::string> files = JpegsIn(folder);
        if (files.size() < 2) continue;
        std::filesystem::remove(files[0]);
        WriteFile(files[1], Jpeg(round * 100 + k + 20));
        SetFileLastWriteTime(files[1], now);
        SetFileLastWriteTime(folder, now);
    }
}

// The floor of the change check: one status per catalogued folder.
double FolderStatFloor(const std::string& root) {
    return Milliseconds([&] {
        for (int id = 1; id <= kFolders; ++id) FolderLastWriteTime(GeneratedFolder(root, id));
    });
}

double FileStatFloor(const std::string& root, int photos) {
    return Milliseconds([&] {
        for (int id = 1; id <= photos; ++id) FileSizeOfUtf8Path(GeneratedPath(root, id));
    });
}

double RunCli(const std::string& arguments) {
    const std::string command = std::string(DARAZOZ_CLI) + " --data-dir '" + DataFolder() + "' " +
                                arguments + " >/dev/null";
    int status = 0;
    double ms = Milliseconds([&] { status = std::system(command.c_str()); });
    if (status != 0) std::printf("  (%s exited with %d)\n", arguments.c_str(), status);
    return ms;
}

int NextRound(const std::string& dir) {
    int round = 0;
    std::ifstream(dir + "/round") >> round;
    std::ofstream(dir + "/round") << round + 2;
    return round;
}

}  // namespace

int main(int argc, char** argv) {
    // The catalogue every step of this run works on.
    Library library;
    int photos = 100000;
    std::string dir = std::filesystem::temp_directory_path().string() + "/darazoz-upkeep-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--photos") photos = std::atoi(argv[i + 1]);
        if (std::string(argv[i]) == "--dir") dir = argv[i + 1];
    }
    const std::string root = dir + "/photos";
    SetDataFolder(dir + "/data");
    if (!std::filesystem::exists(CatalogueFilePath())) {
        std::printf("generating %d photos and their files ...\n", photos);
        double ms =
            Milliseconds([&] { GenerateLibraryWithFiles(library, photos, root, kFileTime); });
        std::printf("generated in %.0f ms\n", ms);
    }
    const int round = NextRound(dir);
    std::printf("catalogue file            %8.1f MiB, %d photos, %d folders\n",
                std::filesystem::file_size(CatalogueFilePath()) / 1048576.0, photos, kFolders);

    FileStatFloor(root, photos);  // warms the file cache
    std::printf("load at start-up          %8.1f ms\n",
                Milliseconds([&] { OpenCatalogue(library); }));

    std::printf("\nchange check (start-up offer), floor: stat of every folder %.1f ms\n",
                FolderStatFloor(root));
    ForgetFolderList(library);
    bool changed = true;
    double ms = Milliseconds([&] { changed = AnyFolderChanged(library); });
    std::printf("  nothing changed         %8.1f ms (target < 100), reports %s\n", ms,
                changed ? "a change" : "none");
    ChangeFolders(root, round);
    ForgetFolderList(library);
    ms = Milliseconds([&] { changed = AnyFolderChanged(library); });
    std::printf("  10 folders changed      %8.1f ms (target < 100), reports %s\n", ms,
                changed ? "a change" : "none");

    UpkeepProgress progress;
    ms = Milliseconds([&] {
        UpdateLibrary(library, progress, {nullptr, library.PendingRegions()});
    });
    const double save = Milliseconds([&] { SaveCatalogue(library); });
    std::printf(
        "\nupdate of 10 folders      %8.1f ms (%d refreshed, %d removed), including its save; "
        "a save alone %.1f ms\n",
        ms, progress.refreshed.load(), progress.photosRemoved.load(), save);

    const double statFloor = FileStatFloor(root, photos);
    ms = Milliseconds([&] { TidyCatalogue(library, std::nullopt, progress); });
    std::printf(
        "tidy, whole catalogue     %8.1f ms (target < 2000), floor: stat of every file "
        "%.1f ms\n",
        ms, statFloor);

    const double plainSave = Milliseconds([&] { SaveCatalogue(library); });
    ms = Milliseconds([&] { RebuildCatalogue(library, StopToken{}); });
    std::printf(
        "thorough tidy (rebuild)   %8.1f ms = %.2f x the plain save of %.1f ms (target "
        "< 2 x)\n",
        ms, ms / plainSave, plainSave);
    CloseCatalogue(library);

    std::printf("\nwhole commands in a fresh process (darazoz-cli)\n");
    std::printf("  stats (load, floor)     %8.1f ms\n", RunCli("stats"));
    ChangeFolders(root, round + 1);
    std::printf("  update, 10 folders      %8.1f ms\n", RunCli("update"));
    std::printf("  tidy                    %8.1f ms\n", RunCli("tidy"));
    std::printf("  tidy --thorough         %8.1f ms\n", RunCli("tidy --thorough"));

    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("\npeak memory (this process) %7.1f MiB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
