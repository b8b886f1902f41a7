#pragma once
// What the duplicates group of the trees reads: every duplicate row
// (tReJpgMsg), folders in descending byte order and newest first within a
// folder.
//
// Threads: any thread; holds the catalogue session for the one query.

#include <cstdint>
#include <functional>
#include <string_view>

#include "record/photo_ref.h"

class Library;
struct DuplicateRow {
    PhotoRef photo;           // always a duplicate
    std::string_view name;    // strName, valid during the callback only
    std::string_view folder;  // strPath, valid during the callback only
};

// Hands each row to onRow in that order; false when the catalogue cannot be
// read (no row is handed then).
bool ForEachDuplicateRow(Library& library, const std::function<void(const DuplicateRow&)>& onRow);
