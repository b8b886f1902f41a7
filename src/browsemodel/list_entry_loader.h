#pragma once
// Loading one photo of the list from the catalogue: its caption data and its
// decoded, upright thumbnail. UI thread (the entry's thumbnail belongs to
// it); takes the catalogue lock only while reading the row.

#include "record/photo_ref.h"

class Library;

struct PhotoListEntry;

// Reads the row of photo into entry, which then refers to it: name, full
// path, pixel size, keywords and orientation text, and the thumbnail turned
// by its aspect and, when autoOrient is set, by the EXIF orientation. False
// when there is no row, or when the row has no blob or the blob does not
// decode (the entry then holds no thumbnail).
bool LoadListEntry(Library& library, const PhotoRef& photo, PhotoListEntry& entry, bool autoOrient);
