#pragma once
// The rows of a keyed grouping set read in stored order and handed out
// sorted by key and then by shot time, both descending: the order the
// catalogue gives when asked to sort by key and shot time. SQLite walks the key's
// index backwards for that order, so rows with equal key and shot time come
// in reverse stored order, and so they do here. Sorting here instead of in
// SQL spares a lookup from the index into the large photo table for every
// row, most of a grouping's build time with 100,000 photos.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/grouping_rows.h"
#include "tree/dated_grouping.h"

class KeyedRows {
  public:
    // Reads all rows of a keyed set; false when the catalogue cannot be read.
    bool Read(const CatalogueSession& session, GroupingRows set);

    // Keys in descending byte order and NULL last (read as the empty key);
    // within a key newest first and undated last. Call once.
    void ForEachSorted(const std::function<void(const DatedRow&)>& onRow);

  private:
    // Kept compact, names in one pool: a build reads up to 200,000 rows and
    // fresh memory is a large part of its cost.
    struct Row {
        std::int64_t dateTime;  // 0 (undated) for NULL
        std::int64_t id;
        std::uint32_t nameOffset;
        std::uint32_t nameLength;
        bool dateIsNull;  // sorts after every shot time
    };
    struct Bucket {
        std::string key;
        std::vector<std::uint32_t> rows;  // indices into rows_, stored order
    };

    void SortAndFeed(std::string_view key, std::vector<std::uint32_t>& rows,
                     const std::function<void(const DatedRow&)>& onRow);

    std::vector<Row> rows_;
    std::string names_;
    std::vector<Bucket> buckets_;
    std::vector<std::uint32_t> nullKeyRows_;
};
