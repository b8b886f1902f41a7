#include <cstdio>

#include "catalogue/catalogue_file_check.h"
#include "catalogue/photo_catalogue.h"
#include "cli/cli_commands.h"

namespace {

const char* Reason(CatalogueFileState state) {
    switch (state) {
        case CatalogueFileState::NotADatabase:
            return "it is not a database";
        case CatalogueFileState::Truncated:
            return "it is truncated";
        case CatalogueFileState::Damaged:
            return "it is damaged";
        case CatalogueFileState::WrongTables:
            return "a table lacks columns or has wrongly typed columns";
        case CatalogueFileState::Unreadable:
            return "it cannot be read";
        case CatalogueFileState::NotWritable:
            return "it cannot be written";
        case CatalogueFileState::Usable:
            break;
    }
    return "unknown reason";
}

}  // namespace

bool OpenCatalogueOrReport(Library& library) {
    if (OpenCatalogue(library)) return true;
    const CatalogueFileState state = CatalogueOpenState(library);
    std::fprintf(stderr, "darazoz-cli: cannot open the catalogue %s: %s%s\n",
                 CatalogueFilePath().c_str(), Reason(state),
                 IsDamagedState(state) ? " (the file was left untouched)" : "");
    return false;
}

int ReportSaveFailure() {
    std::fprintf(stderr, "darazoz-cli: the catalogue file %s could not be written\n",
                 CatalogueFilePath().c_str());
    return 1;
}
