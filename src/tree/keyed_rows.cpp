#include "tree/keyed_rows.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "tree/tree_builders.h"

bool KeyedRows::Read(const CatalogueSession& session, GroupingRows set) {
    std::unordered_map<std::string, std::uint32_t> bucketOfKey;
    return ForEachGroupingRow(session, set, [&](const GroupingRow& row) {
        rows_.push_back({row.dateTime.value_or(0), row.id,
                         static_cast<std::uint32_t>(names_.size()),
                         static_cast<std::uint32_t>(row.name.size()), !row.dateTime});
        names_ += row.name;
        const auto index = static_cast<std::uint32_t>(rows_.size() - 1);
        if (!row.key) {
            nullKeyRows_.push_back(index);
            return;
        }
        auto [bucket, added] = bucketOfKey.try_emplace(std::string(*row.key),
                                                       static_cast<std::uint32_t>(buckets_.size()));
        if (added) buckets_.push_back({bucket->first, {}});
        buckets_[bucket->second].rows.push_back(index);
    });
}

void KeyedRows::ForEachSorted(const std::function<void(const DatedRow&)>& onRow) {
    std::sort(buckets_.begin(), buckets_.end(),
              [](const Bucket& a, const Bucket& b) { return a.key > b.key; });
    for (Bucket& bucket : buckets_) SortAndFeed(bucket.key, bucket.rows, onRow);
    SortAndFeed({}, nullKeyRows_, onRow);
}

void KeyedRows::SortAndFeed(std::string_view key, std::vector<std::uint32_t>& rows,
                            const std::function<void(const DatedRow&)>& onRow) {
    std::reverse(rows.begin(), rows.end());
    std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t a, std::uint32_t b) {
        const Row& x = rows_[a];
        const Row& y = rows_[b];
        if (x.dateIsNull != y.dateIsNull) return y.dateIsNull;
        return x.dateTime > y.dateTime;
    });
    const std::string_view names = names_;
    for (std::uint32_t i : rows) {
        const Row& r = rows_[i];
        onRow(DatedRow{r.dateTime, names.substr(r.nameOffset, r.nameLength), r.id, key});
    }
}
