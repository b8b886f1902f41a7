#pragma once
// Depth-first walks of a folder tree in the order the file system returns
// the entries. Both stop before the walk and before each entry when the
// program closes or the import's progress is cancelled. Symbolic links to
// folders are not followed, so a link cycle cannot trap a walk.

#include <atomic>
#include <string>

#include "import/import_state.h"
#include "import/ordered_import.h"

// Number of files under folder whose name passes IsJpegName. Stops on
// progress.countStop. runningTotal, when given, grows with every file
// found, so a counter on screen can show the count while it runs.
int CountJpegFiles(const std::string& folder, const ImportProgress& progress,
                   std::atomic<int>* runningTotal = nullptr);

// Hands every file under folder to import, in walk order, until the import
// is stopped.
void ImportFolderTree(const std::string& folder, OrderedImport& import);
