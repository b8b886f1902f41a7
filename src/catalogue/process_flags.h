#pragma once
// Process-wide flags shared by the user-interface thread and the workers.

#include <atomic>

// The working database holds changes that are not in the catalogue file.
// Set by operations that change the catalogue outside an import or update;
// cleared only by the save worker of the save command.
inline std::atomic<bool> CatalogueModified{false};

// The program is closing: every worker stops at its next check, without
// committing or saving.
inline std::atomic<bool> ExitRequested{false};
