// The groupings by key, year and month: shot time, camera model, keyword and
// subject, and the shot-time tree of the search rows.

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "tree/dated_grouping.h"
#include "tree/search_query.h"
#include "tree/tree_builders.h"
#include "tree/tree_labels.h"

namespace {

constexpr const char* kShotTimeQuery =
    "select dwDateTime,strName,idPic from tJpgMsg order by dwDateTime DESC";
// The camera, keyword and subject rows are read in stored order and sorted
// here (see KeyedRows::FeedSorted).
constexpr const char* kCameraRows = "select dwDateTime,strName,idPic,strModel from tJpgMsg";
constexpr const char* kKeywordRows = "select dwDateTime,strName,idPic,strKeyword from tKeyWord";
constexpr const char* kNoKeywordQuery =
    "select dwDateTime, strName, idPic, strXpKeyword from tJpgMsg where nbKeyword = %d order by dwDateTime DESC";
constexpr const char* kSubjectRows = "select dwDateTime,strName,idPic,strSubject from tSubject";
constexpr const char* kNoSubjectQuery =
    "select dwDateTime,strName,idPic,strXpSubject from tJpgMsg where strXpSubject = '%s' order by dwDateTime DESC";

// Feeds every row (dwDateTime, strName, idPic), all with the same empty key,
// to the grouping; false when the statement fails.
bool FeedRows(sqlite3* db, const std::string& statement, DatedGrouping& grouping) {
    return ForEachRow(db, statement, [&](sqlite3_stmt* row) {
        grouping.Add(DatedRow{sqlite3_column_int64(row, 0), TextCell(row, 1),
                              sqlite3_column_int64(row, 2), {}});
    });
}

// The rows (dwDateTime, strName, idPic, key) of a statement, bucketed by key.
// Rows are kept compact (names in one pool) because a build reads 200,000 of
// them and fresh memory is a large part of its cost.
class KeyedRows {
public:
    bool Read(sqlite3* db, const char* statement) {
        std::unordered_map<std::string, std::uint32_t> bucketOfKey;
        return ForEachRow(db, statement, [&](sqlite3_stmt* row) {
            const std::string_view name = TextCell(row, 1);
            rows_.push_back({sqlite3_column_int64(row, 0), sqlite3_column_int64(row, 2),
                             static_cast<std::uint32_t>(names_.size()), static_cast<std::uint32_t>(name.size()),
                             sqlite3_column_type(row, 0) == SQLITE_NULL});
            names_ += name;
            const auto index = static_cast<std::uint32_t>(rows_.size() - 1);
            if (sqlite3_column_type(row, 3) == SQLITE_NULL) {
                nullKeyRows_.push_back(index);
                return;
            }
            auto [bucket, added] = bucketOfKey.try_emplace(std::string(TextCell(row, 3)),
                                                           static_cast<std::uint32_t>(buckets_.size()));
            if (added) buckets_.push_back({bucket->first, {}});
            buckets_[bucket->second].rows.push_back(index);
        });
    }

    // Feeds the rows in the order "order by <key> DESC,dwDateTime DESC" gives:
    // keys in descending byte order and NULL last; within a key newest first
    // and undated last; SQLite walks the key's index backwards for it, so rows
    // with equal key and shot time come in reverse stored order. Sorting here
    // instead of in SQL spares a lookup from the index into the table for every
    // row.
    void FeedSorted(DatedGrouping& grouping) {
        std::sort(buckets_.begin(), buckets_.end(),
                  [](const Bucket& a, const Bucket& b) { return a.key > b.key; });
        for (Bucket& bucket : buckets_) Feed(bucket.key, bucket.rows, grouping);
        Feed({}, nullKeyRows_, grouping);
    }

private:
    struct Row {
        std::int64_t dateTime;  // 0 (undated) for NULL
        std::int64_t id;
        std::uint32_t nameOffset;
        std::uint32_t nameLength;
        bool dateIsNull;  // sorts after every shot time
    };
    struct Bucket {
        std::string key;
        std::vector<std::uint32_t> rows;
    };

    void Feed(std::string_view key, std::vector<std::uint32_t>& rows, DatedGrouping& grouping) {
        std::reverse(rows.begin(), rows.end());
        std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t a, std::uint32_t b) {
            const Row& x = rows_[a];
            const Row& y = rows_[b];
            if (x.dateIsNull != y.dateIsNull) return y.dateIsNull;
            return x.dateTime > y.dateTime;
        });
        for (std::uint32_t i : rows) {
            const Row& r = rows_[i];
            grouping.Add(DatedRow{r.dateTime, std::string_view(names_).substr(r.nameOffset, r.nameLength), r.id, key});
        }
    }

    std::vector<Row> rows_;
    std::string names_;
    std::vector<Bucket> buckets_;
    std::vector<std::uint32_t> nullKeyRows_;
};

// Feeds the rows of a keyed statement to the grouping, sorted by key and shot
// time; false when the statement fails.
bool FeedKeyedRows(sqlite3* db, const char* statement, DatedGrouping& grouping) {
    KeyedRows rows;
    if (!rows.Read(db, statement)) return false;
    rows.FeedSorted(grouping);
    return true;
}

std::string KeyAsLabel(std::string_view key) { return std::string(key); }
std::string ModelLabel(std::string_view model) {
    return model.empty() ? std::string(kNoCameraLabel) : std::string(model);
}
std::string NoKeywordsLabel(std::string_view) { return kNoKeywordsLabel; }
std::string NoSubjectLabel(std::string_view) { return kNoSubjectLabel; }

std::unique_ptr<CategoryTree> ShotTimeTree(sqlite3* db, const std::string& statement) {
    auto tree = std::make_unique<CategoryTree>();
    auto grouping = DatedGrouping::ShotTime(*tree);
    if (!FeedRows(db, statement, grouping) || grouping.PlacedCount() == 0) return NoPhotosTree();
    return tree;
}

std::unique_ptr<CategoryTree> CameraTree(sqlite3* db) {
    auto tree = std::make_unique<CategoryTree>();
    auto grouping = DatedGrouping::Keyed(*tree, true, ModelLabel);
    if (!FeedKeyedRows(db, kCameraRows, grouping)) return nullptr;
    if (grouping.PlacedCount() == 0) return NoPhotosTree();
    return tree;
}

// Keyword and subject trees: the key groups, then one group of the photos
// without any key.
std::unique_ptr<CategoryTree> TaggedTree(sqlite3* db, const char* keyRows,
                                         const std::string& untaggedQuery,
                                         DatedGrouping::KeyLabel untaggedLabel) {
    auto tree = std::make_unique<CategoryTree>();
    auto keyed = DatedGrouping::Keyed(*tree, false, KeyAsLabel);
    if (!FeedKeyedRows(db, keyRows, keyed)) return nullptr;
    auto untagged = DatedGrouping::Keyed(*tree, false, untaggedLabel);
    // All rows share the empty key, so they form one group.
    FeedRows(db, untaggedQuery, untagged);
    if (keyed.PlacedCount() == 0 && untagged.PlacedCount() == 0) return NoPhotosTree();
    return tree;
}

}  // namespace

std::unique_ptr<CategoryTree> NoPhotosTree() {
    auto tree = std::make_unique<CategoryTree>();
    tree->AddGroup(kRootNode, kNoPhotosLabel, NodeKind::Notice);
    return tree;
}

std::unique_ptr<CategoryTree> BuildDatedTree(sqlite3* db, SortMode mode) {
    switch (mode) {
        case SortMode::ShotTime:
            return ShotTimeTree(db, kShotTimeQuery);
        case SortMode::CameraModel:
            return CameraTree(db);
        case SortMode::KeywordGroups:
            return TaggedTree(db, kKeywordRows, FormatStatement(kNoKeywordQuery, 0), NoKeywordsLabel);
        case SortMode::SubjectGroups:
            return TaggedTree(db, kSubjectRows, FormatStatement(kNoSubjectQuery, ""), NoSubjectLabel);
        default:
            return nullptr;
    }
}

std::unique_ptr<CategoryTree> BuildSearchTree(sqlite3* db, const SearchFilter& filter) {
    auto tree = std::make_unique<CategoryTree>();
    auto grouping = DatedGrouping::ShotTime(*tree);
    if (!db || !FeedRows(db, SearchStatement(filter), grouping)) {
        tree = std::make_unique<CategoryTree>();
    } else if (grouping.PlacedCount() == 0) {
        tree = NoPhotosTree();
    }
    tree->filtered = true;
    return tree;
}
