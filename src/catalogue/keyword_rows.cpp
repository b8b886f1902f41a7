#include "catalogue/keyword_rows.h"

#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "record/keyword_list.h"

namespace {
constexpr const char* kDistinctKeywords =
    "select distinct strKeyword from tKeyWord order by strKeyword";
}  // namespace

void WriteKeywordRows(std::int64_t id, const PhotoRecord& r) {
    CatalogueSession session;
    if (!session.ok()) return;
    sqlite3* db = SessionDb(session);
    ExecuteStatement(db, FormatStatement("delete from tSubject where idPic = %lld", id));
    if (r.strXpSubject[0] != '\0') {
        ExecuteStatement(
            db, FormatStatement("insert into tSubject(strSubject,strPath,idPic,dwDateTime,"
                                "fGPSLatitude, \t\t\tfGPSLongitude,strModel,strName) "
                                "values('%s','%s',%lld,%d,%f,%f,'%s'\t\t\t,'%s')",
                                r.strXpSubject, r.strPath, id, r.dwDateTime, r.fGPSLatitude,
                                r.fGPSLongitude, r.strModel, r.strName));
    }
    ExecuteStatement(db, FormatStatement("delete from tKeyWord where idPic = %lld", id));
    for (const std::string& keyword : SplitKeywords(r.strXpKeyword)) {
        ExecuteStatement(db,
                         FormatStatement("insert into tKeyWord(strKeyword,idPic,dwDateTime,"
                                         "fGPSLatitude,fGPSLongitude,strModel,strName, strPath) "
                                         "values('%s',%lld,%d,%f,%f,'%s','%s','%s')",
                                         keyword, id, r.dwDateTime, r.fGPSLatitude, r.fGPSLongitude,
                                         r.strModel, r.strName, r.strPath));
    }
}

std::vector<std::string> DistinctKeywords() {
    CatalogueSession session;
    std::vector<std::string> keywords;
    if (!session.ok()) return keywords;
    ForEachRow(SessionDb(session), kDistinctKeywords,
               [&](sqlite3_stmt* row) { keywords.push_back(ColumnText(row, 0)); });
    return keywords;
}
