#pragma once
// Inside the catalogue only (it names sqlite3).

struct sqlite3;

// Writes db compactly (only live pages, rows in order) into the save file,
// then renames it over the catalogue file, like SaveCatalogue. Returns the
// SQLite result; on failure the catalogue file is untouched.
int WriteCompactCatalogueFile(sqlite3* db);
