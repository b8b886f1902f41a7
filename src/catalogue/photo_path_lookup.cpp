#include "catalogue/photo_path_lookup.h"

#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"

namespace {

constexpr const char* kMainByPath = "select idPic from tJpgMsg where strFullPath = '%s'";
constexpr const char* kDuplicateByPath = "select idPic from tReJpgMsg where strFullPath = '%s'";

}  // namespace

std::optional<PhotoRef> FindPhotoByPath(Library& library, const std::string& fullPath) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    if (auto id = QueryInt64(SessionDb(session), FormatStatement(kMainByPath, fullPath)))
        return PhotoRef{*id, false};
    if (auto id = QueryInt64(SessionDb(session), FormatStatement(kDuplicateByPath, fullPath)))
        return PhotoRef{*id, true};
    return std::nullopt;
}
