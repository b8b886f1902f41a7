#include "catalogue/keyword_rows.h"

#include "catalogue/cached_statement.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/tag_row_ids.h"
#include "record/keyword_list.h"

namespace {
constexpr const char* kDistinctKeywords =
    "select distinct strKeyword from tKeyWord order by strKeyword";
constexpr const char* kInsertSubject =
    "insert into tSubject(strSubject,strPath,idPic,dwDateTime,fGPSLatitude,fGPSLongitude,"
    "strModel,strName) values(?,?,?,?,?,?,?,?)";
constexpr const char* kInsertKeyword =
    "insert into tKeyWord(strKeyword,idPic,dwDateTime,fGPSLatitude,fGPSLongitude,strModel,"
    "strName,strPath) values(?,?,?,?,?,?,?,?)";
}  // namespace

void WriteKeywordRows(Library& library, std::int64_t id, const PhotoRecord& r) {
    CatalogueSession session(library);
    if (!session.ok()) return;
    DeleteTagRows(session, id);
    if (r.strXpSubject[0] != '\0') {
        CachedStatement(session, kInsertSubject)
            .Bind(r.strXpSubject, r.strPath, id, r.dwDateTime, r.fGPSLatitude, r.fGPSLongitude,
                  r.strModel, r.strName)
            .Run();
    }
    for (const std::string& keyword : SplitKeywords(r.strXpKeyword)) {
        CachedStatement(session, kInsertKeyword)
            .Bind(keyword, id, r.dwDateTime, r.fGPSLatitude, r.fGPSLongitude, r.strModel, r.strName,
                  r.strPath)
            .Run();
    }
}

std::vector<std::string> DistinctKeywords(Library& library) {
    CatalogueSession session(library);
    std::vector<std::string> keywords;
    if (!session.ok()) return keywords;
    ForEachRow(SessionDb(session), kDistinctKeywords,
               [&](sqlite3_stmt* row) { keywords.push_back(ColumnText(row, 0)); });
    return keywords;
}
