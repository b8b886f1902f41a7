// The library upkeep commands: update (as 更新照片库) and tidy (as 整理数据库).
// Each change is printed as one line "<what> <path>" on standard output
// (refreshed, removed, removed-folder, offline for a folder on an unplugged
// volume, which is kept, or new for a file in a catalogued folder that the
// catalogue does not hold), followed by a summary line, so that scripts can
// read both.

#include <cstdio>

#include "catalogue/catalogue_save.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "cli/cli_commands.h"
#include "import/library_tidy.h"
#include "import/library_update.h"
#include "import/library_upkeep.h"

namespace {

const char* ChangeWord(UpkeepChange change) {
    switch (change) {
        case UpkeepChange::Refreshed:
            return "refreshed";
        case UpkeepChange::PhotoRemoved:
            return "removed";
        case UpkeepChange::FolderRemoved:
            return "removed-folder";
        case UpkeepChange::FolderOffline:
            return "offline";
        case UpkeepChange::NewFileSeen:
            return "new";
    }
    return "";
}

// Prints every change as it happens.
void PrintChanges(UpkeepProgress& progress) {
    progress.onChange = [](UpkeepChange change, const std::string& path) {
        std::printf("%s %s\n", ChangeWord(change), path.c_str());
    };
}

}  // namespace

int RunUpdate(Library& library, const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::fprintf(stderr, "darazoz-cli update: takes no arguments\n");
        return 2;
    }
    if (!OpenCatalogueOrReport(library)) return 1;
    UpkeepProgress progress;
    PrintChanges(progress);
    // The tool does not ask the companion: re-read photos wait for their regions.
    UpdateEnd end = UpdateLibrary(library, progress, {nullptr, library.PendingRegions()});
    if (end == UpdateEnd::NoFolders) {
        std::printf("nothing to update: the catalogue lists no folders\n");
        return 0;
    }
    if (end == UpdateEnd::SaveFailed) return ReportSaveFailure();
    std::printf(
        "%d changed folders: %d photos refreshed, %d removed, %d folders removed, %d offline, "
        "%d new files not imported (darazoz-cli import adds them)\n",
        progress.foldersDone.load(), progress.refreshed.load(), progress.photosRemoved.load(),
        progress.foldersRemoved.load(), progress.foldersOffline.load(), progress.newFiles.load());
    return 0;
}

// The program saves a plain tidy when it closes; the tool saves at once.
int RunTidyCommand(Library& library, const std::vector<std::string>& args) {
    bool thorough = false;
    for (const std::string& arg : args) {
        if (arg != "--thorough") {
            std::fprintf(stderr, "darazoz-cli tidy: unknown argument '%s'\n", arg.c_str());
            return 2;
        }
        thorough = true;
    }
    if (!OpenCatalogueOrReport(library)) return 1;
    UpkeepProgress progress;
    PrintChanges(progress);
    switch (RunTidy(library, thorough, progress)) {
        case TidyEnd::Failed:
            std::fprintf(stderr, "darazoz-cli tidy: the catalogue could not be %s\n",
                         thorough ? "rebuilt" : "read");
            return 1;
        case TidyEnd::SaveFailed:
            return ReportSaveFailure();
        case TidyEnd::Tidied:
            if (library.Modified() && SaveCatalogue(library) != 0) return ReportSaveFailure();
            break;
        case TidyEnd::Rebuilt:
            break;
    }
    std::printf("%d photos removed, %d folders removed, %d folders offline (kept)",
                progress.photosRemoved.load(), progress.foldersRemoved.load(),
                progress.foldersOffline.load());
    if (thorough) std::printf(", %d photos kept in the rebuilt catalogue", progress.copied.load());
    std::printf("\n");
    return 0;
}
