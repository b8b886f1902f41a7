#pragma once
// Reading one file as the catalogue stores it.
//
// Threads: any thread; every call reads into a MetadataReader of its own,
// so concurrent imports and refreshes never share a reader.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "record/photo_record.h"

// One file's record with its text fields in UTF-8, its thumbnail bytes and
// the photo id derived from them.
struct CataloguePhoto {
    PhotoRecord record;
    std::vector<std::uint8_t> thumbnail;
    std::int64_t id = 0;
};

// Nothing when the file cannot be read or its full path does not fit its
// field once in UTF-8.
std::optional<CataloguePhoto> ReadCataloguePhoto(const std::string& path);
