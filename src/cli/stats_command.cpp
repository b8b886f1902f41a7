#include <cstdio>

#include "catalogue/photo_catalogue.h"
#include "catalogue/table_counts.h"
#include "cli/cli_commands.h"

int RunStats(Library& library, const std::vector<std::string>& args) {
    if (!args.empty()) {
        std::fprintf(stderr, "darazoz-cli stats: takes no arguments\n");
        return 2;
    }
    if (!OpenCatalogueOrReport(library)) return 1;
    std::printf("catalogue: %s\n", CatalogueFilePath().c_str());
    for (const TableRowCount& count : CountTableRows(library))
        std::printf("%-10s %lld\n", count.table, static_cast<long long>(count.rows));
    return 0;
}
