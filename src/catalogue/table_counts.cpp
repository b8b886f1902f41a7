#include "catalogue/table_counts.h"

#include <string>

#include "catalogue/catalogue_rows.h"
#include "catalogue/catalogue_schema.h"
#include "catalogue/photo_catalogue.h"

std::vector<TableRowCount> CountTableRows(Library& library) {
    CatalogueSession session(library);
    std::vector<TableRowCount> counts;
    for (const TableSchema& table : CatalogueTables()) {
        const auto rows = QueryInt64(session, std::string("select count(*) from ") + table.name);
        counts.push_back({table.name, rows.value_or(0)});
    }
    return counts;
}
