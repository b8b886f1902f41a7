#include "import/library_tidy.h"

#include <cstddef>

#include "catalogue/catalogue_rebuild.h"
#include "catalogue/folder_stamps.h"
#include "catalogue/folder_volumes.h"
#include "catalogue/photo_rows.h"
#include "catalogue/upkeep_rows.h"
#include "import/library_upkeep.h"
#include "platform/file_status.h"
#include "platform/native_path.h"

namespace {

// Photos stored directly in a drive's root have an empty folder on POSIX.
bool FolderExists(const std::string& folder) {
    return IsDriveRootPath(folder) || IsDirectory(folder);
}

}  // namespace

bool TidyCatalogue(Library& library, const std::optional<std::string>& folder,
                   UpkeepProgress& progress) {
    auto files = CataloguedFiles(library, folder);
    if (!files) return false;
    const VolumeCheck volumes = LibraryVolumeCheck(library);
    std::size_t i = 0;
    while (i < files->size() && !progress.stop.StopRequested()) {
        const std::string group = (*files)[i].folder;
        std::size_t end = i;
        while (end < files->size() && (*files)[end].folder == group) ++end;
        if (volumes.IsOffline(group)) {
            progress.Report(UpkeepChange::FolderOffline, group);
        } else if (!FolderExists(group)) {
            DeletePhotoRows(library, group, PhotoRef{});
            progress.Report(UpkeepChange::FolderRemoved, group);
        } else {
            for (std::size_t k = i; k < end; ++k) {
                const CataloguedFile& file = (*files)[k];
                if (FileSizeOfUtf8Path(file.fullPath) >= 0) continue;
                DeletePhotoRows(library, std::nullopt, PhotoRef{file.id, false});
                progress.Report(UpkeepChange::PhotoRemoved, file.fullPath);
            }
        }
        i = end;
    }
    return true;
}

TidyEnd RunTidy(Library& library, bool thorough, UpkeepProgress& progress) {
    if (!thorough) {
        if (!TidyCatalogue(library, std::nullopt, progress)) return TidyEnd::Failed;
        LoadFolderList(library);
        WriteFolderTable(library);
        return TidyEnd::Tidied;
    }
    // The plain walk first tells what goes; the rebuild then copies what
    // stays. When the rebuild is written, nothing is left unsaved.
    if (!TidyCatalogue(library, std::nullopt, progress)) return TidyEnd::Failed;
    switch (RebuildCatalogue(library, progress.stop, &progress.copied)) {
        case RebuildResult::Done:
            return TidyEnd::Rebuilt;
        case RebuildResult::SaveFailed:
            return TidyEnd::SaveFailed;
        case RebuildResult::Failed:
            break;
    }
    return TidyEnd::Failed;
}
