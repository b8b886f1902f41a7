#pragma once
// The bodies of the import workers. The caller runs each on a thread of its
// own and shows the progress of the job it hands them; these functions only
// report through that progress and the job's receivers.

#include <string>
#include <vector>

#include "import/import_state.h"

enum class ImportEnd {
    Finished,    // closing steps ran (also after a cancel)
    SaveFailed,  // closing steps ran but the catalogue file could not be written
    Empty,       // nothing to import; no closing steps
    Abandoned,   // the program is closing: nothing committed, nothing saved
};

// Folder import after its count: imports the tree inside one transaction
// committed every 100 photos, then runs the closing steps.
ImportEnd RunFolderImport(const std::string& folder, const ImportJob& job);

// List import: counts the files and folders of paths, then imports them in
// order at once (a progress dialog shows the total at its next refresh, with
// the counts it has reached by then). With nothing to import it ends without
// closing steps. The caller resets the job's progress (and so its cancel
// flag) before it starts the worker.
ImportEnd RunListImport(const std::vector<std::string>& paths, const ImportJob& job);
