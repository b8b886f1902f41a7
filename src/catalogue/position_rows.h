#pragma once
// Catalogue lookups of the location workflows: photos with a position, and
// a photo's id by its file path.

#include <cstdint>
#include <optional>
#include <string>

#include "catalogue/pending_region_queue.h"

class Library;

// Every photo of tJpgMsg with a latitude or longitude other than 0, in id
// order; with withoutRegionOnly, only those without a first region name.
PendingRegionList PhotosWithPosition(Library& library, bool withoutRegionOnly);

// The id of the tJpgMsg photo stored with this full path (UTF-8).
std::optional<std::int64_t> PhotoIdByPath(Library& library, const std::string& fullPath);
