#include "catalogue/photo_display_source.h"

#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_table.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "platform/text_codec.h"

namespace {

constexpr PerPhotoTable kSelectSource{
    "select strFullPath,nWidth,nHeight,strOrientation from tJpgMsg where idPic = %lld",
    "select strFullPath,nWidth,nHeight,strOrientation from tReJpgMsg where idPic = %lld"};

}  // namespace

std::optional<PhotoDisplaySource> LoadPhotoDisplaySource(Library& library, const PhotoRef& photo) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    std::optional<PhotoDisplaySource> source;
    const std::string statement = FormatStatement(kSelectSource.For(photo), photo.idPic);
    ForEachRow(SessionDb(session), statement, [&](sqlite3_stmt* row) {
        if (source) return;
        source.emplace();
        source->fullPath = CodePageToUtf8(ColumnText(row, 0));
        source->width = sqlite3_column_int(row, 1);
        source->height = sqlite3_column_int(row, 2);
        source->orientation = ColumnText(row, 3);
    });
    return source;
}
