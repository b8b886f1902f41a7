#pragma once
// The photos a search finds, with the full path of each, for
// callers that list files rather than build a tree (the command-line tool).
//
// Threads: any thread; ReadFoundPhotos holds the catalogue session for the
// whole call.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/search_filter.h"

class Library;
struct FoundPhoto {
    std::int64_t idPic = 0;
    std::int32_t dateTime = 0;  // dwDateTime
    std::string fullPath;       // strFullPath of the catalogued copy, UTF-8
};

// The photos the filter selects (as the search tree has them), with the full
// path of each photo's catalogued copy. Photos come newest first, each once
// (a keyword search yields a row per matching keyword); a row whose photo is
// no longer catalogued is left out. nullopt when the catalogue cannot be
// opened or read.
std::optional<std::vector<FoundPhoto>> ReadFoundPhotos(Library& library,
                                                       const SearchFilter& filter);

// The same, read straight from the saved catalogue file, opened read-only,
// without loading it into the working database: for a process that only
// reads (darazoz-cli search, which holds the data folder lock, so the file is
// the catalogue). nullopt when the file cannot be opened or read as a
// catalogue (a file from before a table existed, for example).
std::optional<std::vector<FoundPhoto>> ReadFoundPhotosInFile(const std::string& file,
                                                             const SearchFilter& filter);
