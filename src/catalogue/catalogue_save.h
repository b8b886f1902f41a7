#pragma once

class Library;
// Writing the working database to the catalogue file, and clearing it.

// Copies the working database into the save file, then renames the save
// file over the catalogue file in one step, so the catalogue file is always
// either the old or the new complete database. Returns 0 on success,
// otherwise the SQLite error code (the catalogue file is then untouched).
int SaveCatalogue(Library& library);
// SaveCatalogue when the working database holds changes the file lacks;
// otherwise 0 at once, leaving the file as it is.
int SaveCatalogueIfModified(Library& library);
// Deletes what a save that was cut short (the process killed) left in the
// data folder: the save file and its journal. The catalogue file is then
// the last complete save. Opening the catalogue runs it.
void RemoveInterruptedSave();

// Closes the working database, deletes the catalogue file and opens a new
// empty one. Returns whether the new catalogue could be opened.
bool ClearCatalogue(Library& library);
