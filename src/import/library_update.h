#pragma once
// "更新照片库": brings the catalogue in line with the folders that changed on
// disk since their stamps were taken. Nothing here creates threads; the
// caller runs UpdateLibrary on a worker with the progress it shows.

#include <string>

#include "import/library_upkeep.h"
#include "import/photo_region.h"

enum class UpdateEnd {
    Updated,     // the changed folders were handled (or the update was cancelled) and saved
    NoFolders,   // the catalogue has no folder list: nothing to update
    SaveFailed,  // handled, but the catalogue file could not be written
};

// For every changed folder that is online: drops the photos whose files are
// gone, drops the folder's rows when no photo is left, and reads the
// modified files again, counting and reporting into progress. Stops between
// steps on progress.stop (its 取消 or the exit token); the folder list and
// its stored copy are rewritten and the catalogue saved in every case but NoFolders.
// A re-read photo with a position takes its region names through regions.
UpdateEnd UpdateLibrary(Library& library, UpkeepProgress& progress, const RegionRoute& regions);

// Reads the modified catalogued JPEG files directly in folder again (no
// subfolders, no new files, nothing on the deleted list). Returns how many
// were re-imported. JPEG files the catalogue does not hold (and the user did
// not remove) are reported to progress as NewFileSeen, not imported.
int RefreshFolder(Library& library, const std::string& folder, UpkeepProgress& progress,
                  const RegionRoute& regions);

// True when the file's last-write time is newer than the one catalogued for
// it. Files that are not catalogued or cannot be read give false.
bool IsFileModified(Library& library, const std::string& path);
