#include "catalogue/list_entry_row.h"

#include "catalogue/catalogue_rows.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_table.h"
#include "catalogue/sql_statement.h"

namespace {

constexpr PerPhotoTable kSelectEntry{
    "select strName,strFullPath,nWidth,nHeight,bJpgThumbData,strXpKeyword,strOrientation "
    "from tJpgMsg where idPic = %lld",
    "select strName,strFullPath,nWidth,nHeight,bJpgThumbData,strXpKeyword,strOrientation "
    "from tReJpgMsg where idPic = %lld"};

}  // namespace

std::optional<ListEntryRow> ReadListEntryRow(Library& library, const PhotoRef& photo) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    std::optional<ListEntryRow> found;
    ForEachRow(session, FormatStatement(kSelectEntry.For(photo), photo.idPic),
               [&](const CatalogueRow& row) {
                   if (found) return;
                   ListEntryRow& entry = found.emplace();
                   entry.name = row.Text(0);
                   entry.fullPath = row.Text(1);
                   entry.width = row.Int(2);
                   entry.height = row.Int(3);
                   const auto bytes = row.Blob(4);
                   entry.thumbnail.assign(bytes.begin(), bytes.end());
                   entry.keywords = row.Text(5);
                   entry.orientation = row.Text(6);
               });
    return found;
}
