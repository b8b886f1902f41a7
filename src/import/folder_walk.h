#pragma once
// Depth-first walks of a folder tree in the order the file system returns
// the entries. Both stop before the walk and before each entry when the
// program closes or the import's progress is cancelled. Symbolic links to
// folders are not followed, so a link cycle cannot trap a walk.

#include <atomic>
#include <string>

#include "import/import_state.h"
#include "import/photo_region.h"

// Number of files under folder whose name passes IsJpegName. Stops on
// progress.countStop. runningTotal, when given, grows with every file
// found, so a counter on screen can show the count while it runs.
int CountJpegFiles(const std::string& folder, const ImportProgress& progress,
                   std::atomic<int>* runningTotal = nullptr);

// Imports every JPEG file under folder, counting into progress. counter is
// the import's running count of imported files; every 100th one commits the
// open transaction and opens the next. Photos with a position take their
// region names through regions.
void ImportFolderTree(const std::string& folder, int& counter, ImportProgress& progress,
                      const RegionRoute& regions);

// One file of a walk or of a list: imports it when its name passes.
void ImportOneFile(const std::string& path, int& counter, ImportProgress& progress,
                   const RegionRoute& regions);
