#pragma once
// Storing one file in the catalogue, with the duplicate rules.
//
// Threads: any thread; the shared metadata reader is taken under its lock
// and every catalogue call holds the catalogue lock.

#include <cstdint>
#include <string>

#include "record/photo_record.h"

// Reads the file and stores it. force is true for imports the user started
// (a path on the deleted list is taken off it) and false for the library
// update (such a path is skipped). True when the file counts as imported:
// a new photo, or a changed file in its own folder. Duplicates, unchanged
// files and unreadable files give false.
bool AddPhotoFile(const std::string& path, bool force);

// Converts the record's text fields from the code page to UTF-8 in place,
// each within its field's capacity. False when the full path does not fit.
bool ConvertRecordToUtf8(PhotoRecord& record);
