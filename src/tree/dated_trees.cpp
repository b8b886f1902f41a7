// The groupings by key, year and month: shot time, camera model, keyword and
// subject, and the shot-time tree of the search rows.

#include <string>

#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "tree/dated_grouping.h"
#include "tree/keyed_rows.h"
#include "tree/search_query.h"
#include "tree/tree_builders.h"
#include "tree/tree_labels.h"

namespace {

constexpr const char* kShotTimeQuery =
    "select dwDateTime,strName,idPic from tJpgMsg order by dwDateTime DESC";
// The camera, keyword and subject rows are read in stored order and sorted
// here (see KeyedRows).
constexpr const char* kCameraRows = "select dwDateTime,strName,idPic,strModel from tJpgMsg";
constexpr const char* kKeywordRows = "select dwDateTime,strName,idPic,strKeyword from tKeyWord";
constexpr const char* kNoKeywordQuery =
    "select dwDateTime, strName, idPic, strXpKeyword from tJpgMsg where nbKeyword = %d order by "
    "dwDateTime DESC";
constexpr const char* kSubjectRows = "select dwDateTime,strName,idPic,strSubject from tSubject";
constexpr const char* kNoSubjectQuery =
    "select dwDateTime,strName,idPic,strXpSubject from tJpgMsg where strXpSubject = '%s' order by "
    "dwDateTime DESC";

// Feeds every row (dwDateTime, strName, idPic), all with the same empty key,
// to the grouping; false when the statement fails.
bool FeedRows(sqlite3* db, const std::string& statement, DatedGrouping& grouping) {
    return ForEachRow(db, statement, [&](sqlite3_stmt* row) {
        grouping.Add(DatedRow{
            sqlite3_column_int64(row, 0), TextCell(row, 1), sqlite3_column_int64(row, 2), {}});
    });
}

// Feeds the rows of a keyed statement to the grouping, sorted by key and shot
// time; false when the statement fails.
bool FeedKeyedRows(sqlite3* db, const char* statement, DatedGrouping& grouping) {
    KeyedRows rows;
    if (!rows.Read(db, statement)) return false;
    rows.ForEachSorted([&](const DatedRow& row) { grouping.Add(row); });
    return true;
}

std::string KeyAsLabel(std::string_view key) {
    return std::string(key);
}
std::string ModelLabel(std::string_view model) {
    return model.empty() ? std::string(kNoCameraLabel) : std::string(model);
}
std::string NoKeywordsLabel(std::string_view) {
    return kNoKeywordsLabel;
}
std::string NoSubjectLabel(std::string_view) {
    return kNoSubjectLabel;
}

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
            return TaggedTree(db, kKeywordRows, FormatStatement(kNoKeywordQuery, 0),
                              NoKeywordsLabel);
        case SortMode::SubjectGroups:
            return TaggedTree(db, kSubjectRows, FormatStatement(kNoSubjectQuery, ""),
                              NoSubjectLabel);
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
