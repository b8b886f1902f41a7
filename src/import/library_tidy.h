#pragma once
// "整理数据库": removes the photos whose files or folders are gone.
// Folders on an unplugged volume are offline, not gone: their rows stay.

#include <optional>
#include <string>

#include "import/library_upkeep.h"

class Library;

// Walks the main rows of one folder, or of the whole catalogue. A folder
// that no longer exists loses all its rows (duplicates, keywords, subjects
// and its folder row too); in an existing folder each photo whose file is
// gone loses its rows; each is reported to progress. Deletions leave the
// library modified. False when the catalogue cannot be read.
bool TidyCatalogue(Library& library, const std::optional<std::string>& folder,
                   UpkeepProgress& progress);

enum class TidyEnd {
    Tidied,      // plain tidy: done, not saved (the library tells whether it is modified)
    Rebuilt,     // thorough tidy: rebuilt and written to the catalogue file
    Failed,      // the catalogue could not be read or rebuilt; nothing changed
    SaveFailed,  // thorough tidy: rebuilt, but the file could not be written
};

// The tidy worker's body: the plain tidy of the whole catalogue followed by
// the reload and rewrite of the folder list, or with thorough the rebuild
// of the catalogue in place and its write to the file (progress.copied
// counts the photos kept).
TidyEnd RunTidy(Library& library, bool thorough, UpkeepProgress& progress);
