#include "import/library_update.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <unordered_map>
#include <vector>

#include "catalogue/catalogue_save.h"
#include "catalogue/deleted_paths.h"
#include "catalogue/folder_stamps.h"
#include "catalogue/folder_volumes.h"
#include "catalogue/photo_rows.h"
#include "catalogue/upkeep_rows.h"
#include "import/add_photo_file.h"
#include "import/jpeg_name.h"
#include "import/library_tidy.h"
#include "import/library_upkeep.h"
#include "platform/file_status.h"
#include "platform/native_path.h"

namespace {

// A file read again under a new photo id (its thumbnail changed) leaves
// its old row behind; that row names the same file and goes.
void DropSupersededRows(Library& library, const std::string& folder, const std::string& path,
                        const std::vector<std::int64_t>& before) {
    std::vector<std::int64_t> after = MainPhotoIdsOfFile(library, folder, path);
    bool hasNewRow = std::any_of(after.begin(), after.end(), [&](std::int64_t id) {
        return std::find(before.begin(), before.end(), id) == before.end();
    });
    if (!hasNewRow) return;
    for (std::int64_t old : before) DeletePhotoRows(library, std::nullopt, PhotoRef{old, false});
}

void UpdateFolder(Library& library, const std::string& folder, UpkeepProgress& progress,
                  const RegionRoute& regions) {
    const int removedBefore = progress.foldersRemoved;
    TidyCatalogue(library, folder, progress);
    if (NewestFileTimeInFolder(library, folder) != 0) {
        RefreshFolder(library, folder, progress, regions);
        return;
    }
    // No photo left in the folder: its remaining rows go too.
    DeletePhotoRows(library, folder, PhotoRef{});
    if (progress.foldersRemoved == removedBefore)
        progress.Report(UpkeepChange::FolderRemoved, folder);
}

// The file's last-write time is newer than the stored one (0: not catalogued).
bool IsNewerThan(const std::string& path, std::int32_t stored) {
    if (stored <= 0) return false;
    std::optional<FileStatus> status = StatFile(path);
    if (!status) return false;
    // Times are stored as 32-bit seconds: compare the low 32 bits, signed.
    auto onDisk = static_cast<std::int32_t>(static_cast<std::uint32_t>(status->lastWriteTime));
    return onDisk > stored;
}

}  // namespace

bool IsFileModified(Library& library, const std::string& path) {
    std::optional<std::int32_t> stored = StoredFileTime(library, path);
    return !stored || IsNewerThan(path, *stored);
}

int RefreshFolder(Library& library, const std::string& folder, UpkeepProgress& progress,
                  const RegionRoute& regions) {
    const std::string directory = IsDriveRootPath(folder) ? std::string(1, kPathSeparator) : folder;
    std::error_code error;
    std::filesystem::directory_iterator entries(directory, error);
    if (error) return 0;
    std::vector<std::string> files;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::string path = JoinPath(directory, entries->path().filename().native());
        if (IsJpegName(path) && !IsDirectory(path)) files.push_back(std::move(path));
    }

    // One look-up for the folder: asking per file would scan the table each time.
    const std::unordered_map<std::string, std::int32_t> stored =
        StoredFileTimesInFolder(library, folder);
    int refreshed = 0;
    for (const std::string& path : files) {
        if (progress.stop.StopRequested()) break;
        auto time = stored.find(path);
        if (time == stored.end()) {
            // Not catalogued, and not removed by the user on purpose: the
            // caller may offer to import it.
            if (!IsDeletedPath(library, path)) progress.Report(UpkeepChange::NewFileSeen, path);
            continue;
        }
        if (!IsNewerThan(path, time->second)) continue;
        const std::vector<std::int64_t> before = MainPhotoIdsOfFile(library, folder, path);
        if (!AddPhotoFile(library, path, false, regions)) continue;
        DropSupersededRows(library, folder, path, before);
        ++refreshed;
        progress.Report(UpkeepChange::Refreshed, path);
    }
    return refreshed;
}

UpdateEnd UpdateLibrary(Library& library, UpkeepProgress& progress, const RegionRoute& regions) {
    std::optional<std::vector<std::string>> changed = ChangedFolders(library);
    if (!changed) return UpdateEnd::NoFolders;
    progress.foldersTotal = static_cast<int>(changed->size());
    for (const std::string& folder : *changed) {
        if (progress.stop.StopRequested()) break;
        // Marked folders on a volume unplugged since stay as they are.
        if (LibraryVolumeCheck(library).IsOffline(folder))
            progress.Report(UpkeepChange::FolderOffline, folder);
        else
            UpdateFolder(library, folder, progress, regions);
        ClearFolderMark(library, folder);
        ++progress.foldersDone;
    }
    RebuildFolderList(library);
    WriteFolderTable(library);
    // Over an unchanged library nothing was written: the file stays as it is.
    return SaveCatalogueIfModified(library) == 0 ? UpdateEnd::Updated : UpdateEnd::SaveFailed;
}
