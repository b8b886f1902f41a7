#include "fresh_catalogue.h"

#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "platform/data_folder.h"

namespace {

void ResetCatalogue() {
    CloseCatalogue();
    CatalogueModified = false;
    ExitRequested = false;
}

}  // namespace

FreshCatalogue::FreshCatalogue() {
    ResetCatalogue();
    SetDataFolder(DataFolder());
}

FreshCatalogue::~FreshCatalogue() {
    ResetCatalogue();
}

PhotoRecord RecordOf(const std::string& folder, const std::string& name) {
    PhotoRecord r;
    SetField(r.strName, name);
    SetField(r.strPath, folder);
    SetField(r.strFullPath, folder + "/" + name);
    return r;
}
