// Category tree benchmark over a generated catalogue of 100,000 photos:
// time to load the catalogue file as at start-up, and to build each grouping
// as the pane shows it (tree, duplicates group, count pass); peak memory.
//
// usage: tree_bench [--photos N] [--dir DIR]
// The generated catalogue stays in DIR and is reused by the next run.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "catalogue/catalogue_save.h"
#include "catalogue/photo_catalogue.h"
#include "generated_library.h"
#include "platform/data_folder.h"
#include "tree/category_tree_builder.h"

namespace {

double Milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    // The catalogue every step of this run works on.
    Library library;
    int photos = 100000;
    std::string dir = std::filesystem::temp_directory_path().string() + "/darazoz-tree-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--photos") photos = std::atoi(argv[i + 1]);
        if (std::string(argv[i]) == "--dir") dir = argv[i + 1];
    }
    EnsureGeneratedCatalogue(library, dir, photos);
    auto start = std::chrono::steady_clock::now();
    std::printf("catalogue file       %8.1f MiB\n",
                std::filesystem::file_size(CatalogueFilePath()) / 1048576.0);

    start = std::chrono::steady_clock::now();
    OpenCatalogue(library);
    std::printf("load at start-up     %8.1f ms\n", Milliseconds(start));

    const struct {
        SortMode mode;
        const char* name;
    } groupings[] = {{SortMode::ShotTime, "shot time"},    {SortMode::CameraModel, "camera"},
                     {SortMode::FolderTree, "folder"},     {SortMode::KeywordGroups, "keyword"},
                     {SortMode::SubjectGroups, "subject"}, {SortMode::RegionGroups, "region"}};
    for (const auto& grouping : groupings) {
        start = std::chrono::steady_clock::now();
        auto tree = BuildCategoryTree(library, grouping.mode, nullptr);
        if (tree) {
            AppendDuplicatesGroup(library, *tree);
            ApplyGroupCounts(*tree);
        }
        std::printf("build %-14s %8.1f ms (target < 300)\n", grouping.name, Milliseconds(start));
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory          %8.1f MiB\n", usage.ru_maxrss / 1024.0);
    CloseCatalogue(library);
    return 0;
}
