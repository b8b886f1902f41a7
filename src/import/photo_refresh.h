#pragma once
// Re-reading photos whose files the program itself changed or promoted.
//
// Threads: any thread (the properties dialog and its batch worker).

#include <cstdint>
#include <string>

#include "import/photo_region.h"
#include "record/photo_ref.h"

// After the program rewrote the file of photo old: replaces its rows by
// what the file now holds. With askMap the region is asked through route
// (the companion, or the photo is queued); without it the old region names
// are kept.
// Returns the new photo id, or 0 when the file cannot be read or the rows
// cannot be replaced; the old rows are then kept as they were.
std::int64_t RefreshPhotoFromFile(Library& library, const std::string& path, const PhotoRef& old,
                                  bool askMap, const RegionRoute& route);

// Makes the duplicate copy of id the catalogued one: the current main photo
// takes the duplicate row and the duplicate's file, marked as written now,
// is imported again and wins. False when there is no duplicate row or the
// main photo's file is gone (then nothing changes), and also on success,
// since the promoted file counts as a duplicate of the old main photo.
bool PromoteDuplicate(Library& library, std::int64_t id, const RegionRoute& regions);
