#include "catalogue/keyword_list.h"

#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"

namespace {

constexpr const char* kSelectKeywords =
    "select distinct strKeyword from tKeyWord order by strKeyword";

}  // namespace

std::vector<std::string> DistinctKeywords() {
    CatalogueSession session;
    std::vector<std::string> keywords;
    if (!session.ok()) return keywords;
    ForEachRow(session.db(), kSelectKeywords,
               [&](sqlite3_stmt* row) { keywords.push_back(ColumnText(row, 0)); });
    return keywords;
}
