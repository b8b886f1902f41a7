// The groupings by key, year and month: shot time, camera model, keyword and
// subject, and the shot-time tree of the search rows.

#include <string>

#include "catalogue/catalogue_rows.h"
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
bool FeedRows(const CatalogueSession& session, const std::string& statement,
              DatedGrouping& grouping) {
    return ForEachRow(session, statement, [&](const CatalogueRow& row) {
        grouping.Add(DatedRow{row.Int64(0), row.TextView(1), row.Int64(2), {}});
    });
}

// Feeds the rows of a keyed statement to the grouping, sorted by key and shot
// time; false when the statement fails.
bool FeedKeyedRows(const CatalogueSession& session, const char* statement,
                   DatedGrouping& grouping) {
    KeyedRows rows;
    if (!rows.Read(session, statement)) return false;
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

std::unique_ptr<CategoryTree> ShotTimeTree(const CatalogueSession& session,
                                           const std::string& statement) {
    auto tree = std::make_unique<CategoryTree>();
    auto grouping = DatedGrouping::ShotTime(*tree);
    if (!FeedRows(session, statement, grouping) || grouping.PlacedCount() == 0)
        return NoPhotosTree();
    return tree;
}

std::unique_ptr<CategoryTree> CameraTree(const CatalogueSession& session) {
    auto tree = std::make_unique<CategoryTree>();
    auto grouping = DatedGrouping::Keyed(*tree, true, ModelLabel);
    if (!FeedKeyedRows(session, kCameraRows, grouping)) return nullptr;
    if (grouping.PlacedCount() == 0) return NoPhotosTree();
    return tree;
}

// Keyword and subject trees: the key groups, then one group of the photos
// without any key.
std::unique_ptr<CategoryTree> TaggedTree(const CatalogueSession& session, const char* keyRows,
                                         const std::string& untaggedQuery,
                                         DatedGrouping::KeyLabel untaggedLabel) {
    auto tree = std::make_unique<CategoryTree>();
    auto keyed = DatedGrouping::Keyed(*tree, false, KeyAsLabel);
    if (!FeedKeyedRows(session, keyRows, keyed)) return nullptr;
    auto untagged = DatedGrouping::Keyed(*tree, false, untaggedLabel);
    // All rows share the empty key, so they form one group.
    FeedRows(session, untaggedQuery, untagged);
    if (keyed.PlacedCount() == 0 && untagged.PlacedCount() == 0) return NoPhotosTree();
    return tree;
}

}  // namespace

std::unique_ptr<CategoryTree> NoPhotosTree() {
    auto tree = std::make_unique<CategoryTree>();
    tree->AddGroup(kRootNode, kNoPhotosLabel, NodeKind::Notice);
    return tree;
}

std::unique_ptr<CategoryTree> BuildDatedTree(const CatalogueSession& session, SortMode mode) {
    switch (mode) {
        case SortMode::ShotTime:
            return ShotTimeTree(session, kShotTimeQuery);
        case SortMode::CameraModel:
            return CameraTree(session);
        case SortMode::KeywordGroups:
            return TaggedTree(session, kKeywordRows, FormatStatement(kNoKeywordQuery, 0),
                              NoKeywordsLabel);
        case SortMode::SubjectGroups:
            return TaggedTree(session, kSubjectRows, FormatStatement(kNoSubjectQuery, ""),
                              NoSubjectLabel);
        default:
            return nullptr;
    }
}

std::unique_ptr<CategoryTree> BuildSearchTree(const CatalogueSession& session,
                                              const SearchFilter& filter) {
    auto tree = std::make_unique<CategoryTree>();
    auto grouping = DatedGrouping::ShotTime(*tree);
    if (!session.ok() || !FeedRows(session, SearchStatement(filter), grouping)) {
        tree = std::make_unique<CategoryTree>();
    } else if (grouping.PlacedCount() == 0) {
        tree = NoPhotosTree();
    }
    tree->filtered = true;
    return tree;
}
