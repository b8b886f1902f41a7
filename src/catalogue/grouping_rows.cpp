#include "catalogue/grouping_rows.h"

#include <string>

#include "catalogue/catalogue_rows.h"
#include "catalogue/search_statement.h"
#include "catalogue/sql_statement.h"

namespace {

constexpr const char* kShotTimeQuery =
    "select dwDateTime,strName,idPic from tJpgMsg order by dwDateTime DESC";
constexpr const char* kNoKeywordQuery =
    "select dwDateTime, strName, idPic, strXpKeyword from tJpgMsg where nbKeyword = %d order by "
    "dwDateTime DESC";
constexpr const char* kNoSubjectQuery =
    "select dwDateTime,strName,idPic,strXpSubject from tJpgMsg where strXpSubject = '%s' order by "
    "dwDateTime DESC";
// The keyed rows are read in stored order; the trees sort them (ordering in
// SQL costs an index lookup into the large photo table for every row).
constexpr const char* kCameraRows = "select dwDateTime,strName,idPic,strModel from tJpgMsg";
constexpr const char* kFolderRows = "select dwDateTime,strName,idPic,strPath from tJpgMsg";
constexpr const char* kKeywordRows = "select dwDateTime,strName,idPic,strKeyword from tKeyWord";
constexpr const char* kSubjectRows = "select dwDateTime,strName,idPic,strSubject from tSubject";
constexpr const char* kRegionRows =
    "select idPic,nArea,strArea0,strArea1,strArea2,strName,dwDateTime from tJpgMsg";

std::optional<std::int64_t> NullableInt64(const CatalogueRow& row, int column) {
    if (row.IsNull(column)) return std::nullopt;
    return row.Int64(column);
}

// Runs a statement whose rows are (dwDateTime, strName, idPic[, key]).
bool ForEachRowOf(const CatalogueSession& session, const std::string& statement, bool keyed,
                  const std::function<void(const GroupingRow&)>& onRow) {
    return ForEachRow(session, statement, [&](const CatalogueRow& row) {
        GroupingRow values{NullableInt64(row, 0), row.TextView(1), row.Int64(2), std::nullopt};
        if (keyed && !row.IsNull(3)) values.key = row.TextView(3);
        onRow(values);
    });
}

}  // namespace

bool ForEachGroupingRow(const CatalogueSession& session, GroupingRows rows,
                        const std::function<void(const GroupingRow&)>& onRow) {
    switch (rows) {
        case GroupingRows::ShotTime:
            return ForEachRowOf(session, kShotTimeQuery, false, onRow);
        case GroupingRows::WithoutKeywords:
            return ForEachRowOf(session, FormatStatement(kNoKeywordQuery, 0), false, onRow);
        case GroupingRows::WithoutSubject:
            return ForEachRowOf(session, FormatStatement(kNoSubjectQuery, ""), false, onRow);
        case GroupingRows::CameraModels:
            return ForEachRowOf(session, kCameraRows, true, onRow);
        case GroupingRows::Folders:
            return ForEachRowOf(session, kFolderRows, true, onRow);
        case GroupingRows::Keywords:
            return ForEachRowOf(session, kKeywordRows, true, onRow);
        case GroupingRows::Subjects:
            return ForEachRowOf(session, kSubjectRows, true, onRow);
    }
    return false;
}

bool ForEachSearchRow(const CatalogueSession& session, const SearchFilter& filter,
                      const std::function<void(const GroupingRow&)>& onRow) {
    return ForEachRowOf(session, SearchStatement(filter), false, onRow);
}

bool ForEachRegionGroupingRow(const CatalogueSession& session,
                              const std::function<void(const RegionGroupingRow&)>& onRow) {
    return ForEachRow(session, kRegionRows, [&](const CatalogueRow& row) {
        onRow({row.Int64(0), NullableInt64(row, 1), row.TextView(2), row.TextView(3),
               row.TextView(4), row.TextView(5), NullableInt64(row, 6)});
    });
}
