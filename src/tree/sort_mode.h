#pragma once
// The groupings of the category pane, one tree each.

enum class SortMode {
    ShotTime,       // year, month, photos
    CameraModel,    // model, year, month, photos
    FolderTree,     // drive, folder hierarchy, photos
    KeywordGroups,  // keyword, year, month, photos
    SubjectGroups,  // subject, year, month, photos
    RegionGroups,   // province, city, district, photos
    FromMap,        // the photos the companion map application sent
};

inline constexpr int kSortModeCount = 7;
