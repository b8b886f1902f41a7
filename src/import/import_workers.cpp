#include "import/import_workers.h"

#include "catalogue/catalogue_save.h"
#include "catalogue/folder_stamps.h"
#include "catalogue/pending_region_queue.h"
#include "catalogue/photo_rows.h"
#include "import/folder_walk.h"
#include "import/import_state.h"
#include "import/jpeg_name.h"
#include "import/ordered_import.h"
#include "platform/file_status.h"

namespace {

ImportEnd RunClosingSteps(int imported, const ImportJob& job) {
    CommitTransaction(job.library);
    RebuildFolderList(job.library);
    WriteFolderTable(job.library);
    // Saved before anything waits for the user, so that the import survives
    // a crash while the closing question is open. The region queue the
    // question may empty lives in memory only.
    // A failed save leaves the catalogue modified: saved again at exit or by hand.
    const bool saved = SaveCatalogue(job.library) == 0;
    const ImportReceivers& receivers = job.receivers;
    if (receivers.dropTrees) receivers.dropTrees();
    if (receivers.rebuildCurrentTree) receivers.rebuildCurrentTree();
    const int withPosition = static_cast<int>(job.regions.queue.Size());
    if (withPosition >= 1 && !job.progress.stop.ParentStopRequested() &&
        receivers.askRegionLookup) {
        if (receivers.askRegionLookup(imported, withPosition)) {
            if (receivers.companionReady && receivers.companionReady() &&
                receivers.startRegionLookup)
                receivers.startRegionLookup();
        } else {
            job.regions.queue.Clear();
        }
    }
    return saved ? ImportEnd::Finished : ImportEnd::SaveFailed;
}

}  // namespace

ImportEnd RunFolderImport(const std::string& folder, const ImportJob& job) {
    BeginTransaction(job.library);
    int imported = 0;
    {
        OrderedImport import(job.library, imported, job.progress, job.regions);
        ImportFolderTree(folder, import);
        import.Finish();
    }
    if (job.progress.stop.ParentStopRequested()) return ImportEnd::Abandoned;
    return RunClosingSteps(imported, job);
}

ImportEnd RunListImport(const std::vector<std::string>& paths, const ImportJob& job) {
    ImportProgress& progress = job.progress;
    // Each path is looked at once: the import below goes by what the count saw.
    std::vector<bool> isFolder;
    isFolder.reserve(paths.size());
    int total = 0;
    for (const std::string& path : paths) {
        isFolder.push_back(IsDirectory(path));
        if (isFolder.back()) {
            total += CountJpegFiles(path, progress);
        } else if (IsJpegName(path)) {
            total += 1;
        }
    }
    if (total == 0) return ImportEnd::Empty;
    progress.total = total;
    // The stop request is cleared by whoever starts the import, not here: a
    // cancel pressed while the list was being counted must still stop it.
    progress.ResetOutcomes();

    BeginTransaction(job.library);
    int imported = 0;
    {
        OrderedImport import(job.library, imported, progress, job.regions);
        for (std::size_t i = 0; i < paths.size() && !import.Stopped(); ++i) {
            if (isFolder[i]) {
                ImportFolderTree(paths[i], import);
            } else {
                import.Add(paths[i]);
            }
        }
        import.Finish();
    }
    if (progress.stop.ParentStopRequested()) return ImportEnd::Abandoned;
    return RunClosingSteps(imported, job);
}
