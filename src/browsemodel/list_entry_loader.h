#pragma once
// Loading one photo of the list from the catalogue: its caption data and its
// decoded, upright thumbnail. UI thread (the entry's thumbnail belongs to
// it); takes the catalogue lock only while reading the row.

#include <cstdint>

struct PhotoListEntry;

// Reads the photo's row from tJpgMsg, or from tReJpgMsg when duplicate is
// set (the entry is then marked as a duplicate), into entry: name, full
// path, pixel size, keywords and orientation text, and the thumbnail turned
// by its aspect and, when autoOrient is set, by the EXIF
// orientation. False when there is no row, or when the row has no blob or
// the blob does not decode (the entry then holds no thumbnail).
bool LoadThumbnail(std::int64_t idPic, bool duplicate, bool autoOrient, PhotoListEntry& entry);

// The view's name for the same load, with the list's argument order.
inline bool LoadListEntry(std::int64_t idPic, PhotoListEntry& entry, bool fromDuplicates,
                          bool autoOrient) {
    return LoadThumbnail(idPic, fromDuplicates, autoOrient, entry);
}
