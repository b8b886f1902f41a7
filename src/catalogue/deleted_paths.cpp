#include "catalogue/deleted_paths.h"

#include "catalogue/cached_statement.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "platform/text_codec.h"

namespace {
constexpr const char* kCountDeleted = "select count(*) from tDelTable where strfullPath = ?";
}  // namespace

bool IsDeletedPath(Library& library, const std::string& path) {
    CatalogueSession session(library);
    if (!session.ok()) return false;
    const std::string utf8 = CodePageToUtf8(path);
    CachedStatement count(session, kCountDeleted);
    return count.Bind(utf8).Step() == SQLITE_ROW && sqlite3_column_int64(count.get(), 0) > 0;
}

bool PassDeletedPathCheck(Library& library, const std::string& path, bool force) {
    CatalogueSession session(library);
    if (!IsDeletedPath(library, path)) return true;
    if (!force) return false;
    RemoveDeletedPath(library, path);
    return true;
}

void AddDeletedPath(Library& library, const std::string& path) {
    CatalogueSession session(library);
    if (!session.ok()) return;
    ExecuteStatement(
        SessionDb(session),
        FormatStatement("insert into tDelTable(strfullPath) values('%s')", CodePageToUtf8(path)));
}

void RemoveDeletedPath(Library& library, const std::string& path) {
    CatalogueSession session(library);
    if (!session.ok()) return;
    ExecuteStatement(
        SessionDb(session),
        FormatStatement("delete from tDelTable where strfullPath = '%s'", CodePageToUtf8(path)));
}
