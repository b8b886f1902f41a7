#include "catalogue/detail_rows.h"

#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_table.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"

namespace {

constexpr PerPhotoTable kSelectDetailRow{
    "select strName,dwDateTime,fSize,strPath,strModel,nWidth,nHeight,fGPSLongitude,fGPSLatitude,"
    "strXpAuthor,strXpSubject,strXpKeyword,strXpComent,idPic from tJpgMsg where idPic = %lld",
    "select strName,dwDateTime,fSize,strPath,strModel,nWidth,nHeight,fGPSLongitude,fGPSLatitude,"
    "strXpAuthor,strXpSubject,strXpKeyword,strXpComent,idPic from tReJpgMsg where idPic = %lld"};

}  // namespace

std::optional<DetailRow> ReadDetailRow(Library& library, const PhotoRef& photo) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    std::optional<DetailRow> found;
    ForEachRow(SessionDb(session), FormatStatement(kSelectDetailRow.For(photo), photo.idPic),
               [&](sqlite3_stmt* row) {
                   if (found) return;
                   DetailRow& r = found.emplace();
                   r.name = ColumnText(row, 0);
                   r.dateTime = static_cast<std::int32_t>(sqlite3_column_int64(row, 1));
                   r.sizeMegabytes = sqlite3_column_double(row, 2);
                   r.folder = ColumnText(row, 3);
                   r.model = ColumnText(row, 4);
                   r.width = sqlite3_column_int(row, 5);
                   r.height = sqlite3_column_int(row, 6);
                   r.longitude = sqlite3_column_double(row, 7);
                   r.latitude = sqlite3_column_double(row, 8);
                   r.author = ColumnText(row, 9);
                   r.subject = ColumnText(row, 10);
                   r.keywords = ColumnText(row, 11);
                   r.comment = ColumnText(row, 12);
                   r.idPic = sqlite3_column_int64(row, 13);
               });
    return found;
}
