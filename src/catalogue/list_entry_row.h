#pragma once
// What the browse list reads of one catalogued photo: its caption data and
// its stored thumbnail.
//
// Threads: any thread; holds the catalogue session for the one query.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "record/photo_ref.h"

class Library;
struct ListEntryRow {
    std::string name;      // strName, UTF-8 like every text here
    std::string fullPath;  // strFullPath
    int width = 0;         // nWidth, nHeight of the photo
    int height = 0;
    std::vector<std::uint8_t> thumbnail;  // bJpgThumbData as stored; empty for NULL
    std::string keywords;                 // strXpKeyword
    std::string orientation;              // strOrientation, e.g. "Left-top"
};

// The photo's row; nullopt when there is no such row.
std::optional<ListEntryRow> ReadListEntryRow(Library& library, const PhotoRef& photo);
