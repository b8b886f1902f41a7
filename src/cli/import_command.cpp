#include <cstdio>
#include <filesystem>
#include <thread>

#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "cli/cli_commands.h"
#include "import/import_state.h"
#include "import/import_workers.h"
#include "import/map_link_region_source.h"
#include "maplink/map_link.h"
#include "maplink/region_buffer.h"
#include "platform/file_ops.h"

namespace {

// "found 5, imported 1, not imported 4 (duplicates 1, unreadable 1, third
// copies 2, failed 0)": a duplicate is catalogued, the rest are not.
void PrintSummary(const ImportProgress& progress) {
    const ImportCounts counts = progress.Counts();
    std::printf(
        "found %d, imported %d, not imported %d (duplicates %d, unreadable %d, third copies %d, "
        "failed %d)\n",
        counts.total, counts.imported, counts.NotImported(), counts.duplicates, counts.unreadable,
        counts.thirdCopies, counts.failed);
}

// The running counts, rewritten in place on a terminal only: piped or
// redirected output gets the summary line alone.
class ProgressLine {
  public:
    void Show(const ImportProgress& progress) {
        if (!terminal_) return;
        const ImportCounts counts = progress.Counts();
        std::fprintf(stderr, "\rfound %d, imported %d, not imported %d", counts.total,
                     counts.imported, counts.NotImported());
        shown_ = true;
    }
    // Erases the line, so that the summary is not printed twice.
    void Clear() {
        if (shown_) std::fputs("\r\033[K", stderr);
        shown_ = false;
    }

  private:
    bool terminal_ = OutputIsTerminal();
    bool shown_ = false;
};

}  // namespace

// Imports files and folders like a drop on the program's window. The tool
// hosts the program's map link endpoint meanwhile, so that a running
// companion map resolves the regions of photos with a position; the
// companion's replies are handled on this (the main) thread while the walk
// runs on a worker.
int RunImport(Library& library, const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fprintf(stderr, "darazoz-cli import: name at least one folder or JPEG file\n");
        return 2;
    }
    std::vector<std::string> paths;
    bool allFound = true;
    for (const std::string& arg : args) {
        std::error_code ec;
        if (!std::filesystem::exists(arg, ec)) {
            std::fprintf(stderr, "darazoz-cli import: %s: no such file or folder\n", arg.c_str());
            allFound = false;
            continue;
        }
        paths.push_back(std::filesystem::absolute(arg, ec).lexically_normal().string());
    }
    if (!OpenCatalogueOrReport(library)) return 1;

    RegionBuffer regionBuffer;
    MapLink link(regionBuffer);
    link.SetPhotoIdCheck([&library](std::int64_t id) { return PhotoIdExists(library, id); });
    MapLinkRegionSource regionSource(link, regionBuffer);

    ImportProgress progress;
    std::atomic<bool> done{false};
    ImportEnd end = ImportEnd::Empty;
    std::thread worker([&] {
        end = RunListImport(paths,
                            {library, progress, {}, {&regionSource, library.PendingRegions()}});
        done = true;
        link.Endpoint().Interrupt();  // the loop below notices the end at once
    });
    ProgressLine line;
    while (!done) {
        link.Endpoint().WaitAndProcess(std::chrono::milliseconds(100));
        line.Show(progress);
    }
    worker.join();
    line.Clear();

    const std::size_t queued = library.PendingRegions().Size();
    if (queued > 0)
        std::fprintf(stderr,
                     "%zu photos with a position were stored without region names "
                     "(the companion map was not running)\n",
                     queued);
    if (end == ImportEnd::SaveFailed) return ReportSaveFailure();
    PrintSummary(progress);
    return allFound ? 0 : 2;
}
