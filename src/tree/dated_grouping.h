#pragma once
// Places photo rows, newest first, under year and month groups: the shared
// core of the shot-time, camera, keyword and subject trees. Rows must come
// ordered by key and then by shot time descending.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tree/category_tree.h"

struct DatedRow {
    std::int64_t dateTime = 0;  // seconds since 1970-01-01 00:00 UTC; 0 = undated
    std::string_view name;
    std::int64_t id = 0;
    std::string_view key;  // ignored by the shot-time grouping
};

class DatedGrouping {
  public:
    using KeyLabel = std::string (*)(std::string_view key);

    // Years at top level; photos without a shot time under one top-level
    // "无日期标志" after the years.
    static DatedGrouping ShotTime(CategoryTree& tree);
    // One top-level node per run of equal keys, labelled by label(key), with
    // years and months below it; a year of 1970 counts as undated there.
    static DatedGrouping Keyed(CategoryTree& tree, bool skipRepeatedIds, KeyLabel label);

    void Add(const DatedRow& row);
    std::size_t PlacedCount() const { return placed_; }

  private:
    DatedGrouping(CategoryTree& tree, bool shotTime, bool skipRepeatedIds, KeyLabel label);

    struct YearMonth {
        int year = 0;
        int month = 0;
    };
    YearMonth LocalYearMonth(std::int64_t dateTime);

    NodeIndex PlaceShotTime(const DatedRow& row, YearMonth date);
    NodeIndex PlaceKeyed(const DatedRow& row, YearMonth date);
    void OpenYear(NodeIndex base, YearMonth date, bool yearMayBeUndated);
    void OpenMonth(YearMonth date);

    CategoryTree& tree_;
    bool shotTime_;
    bool skipRepeatedIds_;
    KeyLabel label_;

    std::size_t placed_ = 0;
    std::int64_t previousId_ = 0;
    YearMonth previous_;
    std::string previousKey_;
    NodeIndex keyNode_ = kRootNode;
    std::optional<NodeIndex> yearNode_;  // none while the parent is an undated node
    NodeIndex parent_ = kRootNode;
    std::optional<NodeIndex> topUndated_;  // shot-time tree only

    // The local month of the last conversion, [monthStart_, monthEnd_): rows
    // come sorted by time, so most rows fall into the month before them.
    std::int64_t monthStart_ = 0;
    std::int64_t monthEnd_ = 0;
    YearMonth cachedMonth_;
};
