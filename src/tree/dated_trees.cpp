// The groupings by key, year and month: shot time, camera model, keyword and
// subject, and the shot-time tree of the search rows.

#include <string>

#include "catalogue/grouping_rows.h"
#include "tree/dated_grouping.h"
#include "tree/keyed_rows.h"
#include "tree/tree_builders.h"
#include "tree/tree_labels.h"

namespace {

DatedRow AsDatedRow(const GroupingRow& row) {
    return DatedRow{row.dateTime.value_or(0), row.name, row.id, {}};
}

// Feeds every row of the set, all with the same empty key, to the grouping;
// false when the catalogue cannot be read.
bool FeedRows(const CatalogueSession& session, GroupingRows rows, DatedGrouping& grouping) {
    return ForEachGroupingRow(session, rows,
                              [&](const GroupingRow& row) { grouping.Add(AsDatedRow(row)); });
}

// Feeds the rows of a keyed set to the grouping, sorted by key and shot
// time; false when the catalogue cannot be read.
bool FeedKeyedRows(const CatalogueSession& session, GroupingRows rows, DatedGrouping& grouping) {
    KeyedRows keyed;
    if (!keyed.Read(session, rows)) return false;
    keyed.ForEachSorted([&](const DatedRow& row) { grouping.Add(row); });
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

std::unique_ptr<CategoryTree> ShotTimeTree(const CatalogueSession& session) {
    auto tree = std::make_unique<CategoryTree>();
    auto grouping = DatedGrouping::ShotTime(*tree);
    if (!FeedRows(session, GroupingRows::ShotTime, grouping) || grouping.PlacedCount() == 0)
        return NoPhotosTree();
    return tree;
}

std::unique_ptr<CategoryTree> CameraTree(const CatalogueSession& session) {
    auto tree = std::make_unique<CategoryTree>();
    auto grouping = DatedGrouping::Keyed(*tree, true, ModelLabel);
    if (!FeedKeyedRows(session, GroupingRows::CameraModels, grouping)) return nullptr;
    if (grouping.PlacedCount() == 0) return NoPhotosTree();
    return tree;
}

// Keyword and subject trees: the key groups, then one group of the photos
// without any key.
std::unique_ptr<CategoryTree> TaggedTree(const CatalogueSession& session, GroupingRows keyRows,
                                         GroupingRows untaggedRows,
                                         DatedGrouping::KeyLabel untaggedLabel) {
    auto tree = std::make_unique<CategoryTree>();
    auto keyed = DatedGrouping::Keyed(*tree, false, KeyAsLabel);
    if (!FeedKeyedRows(session, keyRows, keyed)) return nullptr;
    auto untagged = DatedGrouping::Keyed(*tree, false, untaggedLabel);
    // All rows share the empty key, so they form one group.
    FeedRows(session, untaggedRows, untagged);
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
            return ShotTimeTree(session);
        case SortMode::CameraModel:
            return CameraTree(session);
        case SortMode::KeywordGroups:
            return TaggedTree(session, GroupingRows::Keywords, GroupingRows::WithoutKeywords,
                              NoKeywordsLabel);
        case SortMode::SubjectGroups:
            return TaggedTree(session, GroupingRows::Subjects, GroupingRows::WithoutSubject,
                              NoSubjectLabel);
        default:
            return nullptr;
    }
}

std::unique_ptr<CategoryTree> BuildSearchTree(const CatalogueSession& session,
                                              const SearchFilter& filter) {
    auto tree = std::make_unique<CategoryTree>();
    auto grouping = DatedGrouping::ShotTime(*tree);
    const bool read =
        session.ok() && ForEachSearchRow(session, filter, [&](const GroupingRow& row) {
            grouping.Add(AsDatedRow(row));
        });
    if (!read) {
        tree = std::make_unique<CategoryTree>();
    } else if (grouping.PlacedCount() == 0) {
        tree = NoPhotosTree();
    }
    tree->filtered = true;
    return tree;
}
