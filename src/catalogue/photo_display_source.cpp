#include "catalogue/photo_display_source.h"

#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "platform/text_codec.h"

namespace {

constexpr const char* kSelectMainSource =
    "select strFullPath,nWidth,nHeight,strOrientation from tJpgMsg where idPic = %lld";
constexpr const char* kSelectDuplicateSource =
    "select strFullPath,nWidth,nHeight,strOrientation from tReJpgMsg where idPic = %lld";

}  // namespace

std::optional<PhotoDisplaySource> LoadPhotoDisplaySource(std::int64_t idPic, bool duplicate) {
    CatalogueSession session;
    if (!session.ok()) return std::nullopt;
    std::optional<PhotoDisplaySource> source;
    const std::string statement =
        FormatStatement(duplicate ? kSelectDuplicateSource : kSelectMainSource, idPic);
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
