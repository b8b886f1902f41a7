#include <cstdio>

#include "catalogue/catalogue_rows.h"
#include "catalogue/catalogue_schema.h"
#include "catalogue/photo_catalogue.h"
#include "cli/cli_commands.h"

int RunStats(Library&, const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::fprintf(stderr, "darazoz-cli stats: takes no arguments\n");
        return 2;
    }
    if (!OpenCatalogueOrReport()) return 1;
    CatalogueSession session;
    std::printf("catalogue: %s\n", CatalogueFilePath().c_str());
    for (const TableSchema& table : CatalogueTables()) {
        auto rows = QueryInt64(session, std::string("select count(*) from ") + table.name);
        std::printf("%-10s %lld\n", table.name, static_cast<long long>(rows.value_or(0)));
    }
    return 0;
}
