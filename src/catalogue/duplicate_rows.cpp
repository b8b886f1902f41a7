#include "catalogue/duplicate_rows.h"

#include "catalogue/catalogue_rows.h"
#include "catalogue/photo_catalogue.h"

namespace {

constexpr const char* kDuplicatesQuery =
    "select dwDateTime,strName,idPic,strPath from tReJpgMsg order by strPath DESC,dwDateTime DESC";

}  // namespace

bool ForEachDuplicateRow(Library& library, const std::function<void(const DuplicateRow&)>& onRow) {
    CatalogueSession session(library);
    if (!session.ok()) return false;
    return ForEachRow(session, kDuplicatesQuery, [&](const CatalogueRow& row) {
        onRow({PhotoRef{row.Int64(2), true}, row.TextView(1), row.TextView(3)});
    });
}
