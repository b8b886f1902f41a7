#pragma once
// What the category trees read: the photo rows of each grouping and of the
// search, as plain values.
//
// Threads: the caller holds a CatalogueSession for the whole call.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "catalogue/photo_catalogue.h"
#include "catalogue/search_filter.h"

// One photo row of a grouping; the texts are valid during the callback only.
struct GroupingRow {
    std::optional<std::int64_t> dateTime;  // shot time; nullopt when NULL
    std::string_view name;
    std::int64_t id = 0;
    // The grouping's key; nullopt when NULL and for the sets without a key.
    std::optional<std::string_view> key;
};

enum class GroupingRows {
    ShotTime,         // every catalogued photo, newest first
    WithoutKeywords,  // the photos without a keyword, newest first
    WithoutSubject,   // the photos with an empty subject, newest first
    // Keyed sets, in stored order (the trees sort them): one row per photo
    // keyed by camera model or by folder, one per keyword or subject held.
    CameraModels,
    Folders,
    Keywords,
    Subjects,
};

// Calls onRow for each row of the set; false when the catalogue cannot be
// read (rows handed before a failing step stay handed).
bool ForEachGroupingRow(const CatalogueSession& session, GroupingRows rows,
                        const std::function<void(const GroupingRow&)>& onRow);

// The rows the search filter selects, newest first (key always nullopt). A
// keyword search reads the keyword rows, so a photo carrying both keywords
// comes twice.
bool ForEachSearchRow(const CatalogueSession& session, const SearchFilter& filter,
                      const std::function<void(const GroupingRow&)>& onRow);

// One photo row as the region grouping reads it, in stored order.
struct RegionGroupingRow {
    std::int64_t id = 0;
    std::optional<std::int64_t> regionCount;  // how many names are set; nullopt when NULL
    std::string_view province;                // empty also for NULL
    std::string_view city;
    std::string_view district;
    std::string_view name;
    std::optional<std::int64_t> dateTime;  // shot time; nullopt when NULL
};

bool ForEachRegionGroupingRow(const CatalogueSession& session,
                              const std::function<void(const RegionGroupingRow&)>& onRow);
