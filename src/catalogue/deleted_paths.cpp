#include "catalogue/deleted_paths.h"

#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "platform/text_codec.h"

bool IsDeletedPath(const std::string& path) {
    CatalogueSession session;
    if (!session.ok()) return false;
    return QueryInt64(SessionDb(session),
                      FormatStatement("select count(*) from tDelTable where  strfullPath = '%s'",
                                      CodePageToUtf8(path)))
               .value_or(0) > 0;
}

bool PassDeletedPathCheck(const std::string& path, bool force) {
    CatalogueSession session;
    if (!IsDeletedPath(path)) return true;
    if (!force) return false;
    RemoveDeletedPath(path);
    return true;
}

void AddDeletedPath(const std::string& path) {
    CatalogueSession session;
    if (!session.ok()) return;
    ExecuteStatement(
        SessionDb(session),
        FormatStatement("insert into tDelTable(strfullPath) values('%s')", CodePageToUtf8(path)));
}

void RemoveDeletedPath(const std::string& path) {
    CatalogueSession session;
    if (!session.ok()) return;
    ExecuteStatement(
        SessionDb(session),
        FormatStatement("delete from tDelTable where strfullPath = '%s'", CodePageToUtf8(path)));
}
