#pragma once
// "整理数据库": removes the photos whose files or folders are gone.
// Folders on an unplugged volume are offline, not gone: their rows stay.

#include <optional>
#include <string>

// Walks the main rows of one folder, or of the whole catalogue. A folder
// that no longer exists loses all its rows (duplicates, keywords, subjects
// and its tFolder row too); in an existing folder each photo whose file is
// gone loses its rows. Deletions set CatalogueModified. False when the
// catalogue cannot be read.
bool TidyCatalogue(const std::optional<std::string>& folder);

enum class TidyEnd {
    Tidied,      // plain tidy: done, not saved (CatalogueModified tells)
    Rebuilt,     // thorough tidy: rebuilt and written to the catalogue file
    Failed,      // the catalogue could not be read or rebuilt; nothing changed
    SaveFailed,  // thorough tidy: rebuilt, but the file could not be written
};

// The tidy worker's body: the plain tidy of the whole catalogue followed by
// the reload and rewrite of the folder list, or with thorough the rebuild
// of the catalogue in place and its write to the file.
TidyEnd RunTidy(bool thorough);
