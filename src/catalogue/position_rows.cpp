#include "catalogue/position_rows.h"

#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"

namespace {

constexpr const char* kPositionedPhotos =
    "select idPic,fGPSLatitude,fGPSLongitude from tJpgMsg "
    "where (fGPSLatitude <> 0 or fGPSLongitude <> 0)";
constexpr const char* kWithoutRegion = " and (strArea0 is null or strArea0 = '')";
constexpr const char* kByIdOrder = " order by idPic";
constexpr const char* kPhotoIdByPath = "select idPic from tJpgMsg where strFullPath = '%s'";

}  // namespace

PendingRegionList PhotosWithPosition(Library& library, bool withoutRegionOnly) {
    PendingRegionList photos;
    CatalogueSession session(library);
    if (!session.ok()) return photos;
    std::string statement = kPositionedPhotos;
    if (withoutRegionOnly) statement += kWithoutRegion;
    statement += kByIdOrder;
    ForEachRow(SessionDb(session), statement, [&photos](sqlite3_stmt* row) {
        photos.push_back({sqlite3_column_int64(row, 0), sqlite3_column_double(row, 1),
                          sqlite3_column_double(row, 2)});
    });
    return photos;
}

std::optional<std::int64_t> PhotoIdByPath(Library& library, const std::string& fullPath) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    return QueryInt64(SessionDb(session), FormatStatement(kPhotoIdByPath, fullPath));
}
