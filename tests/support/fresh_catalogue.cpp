#include "fresh_catalogue.h"

#include "catalogue/process_flags.h"
#include "platform/data_folder.h"

FreshCatalogue::FreshCatalogue() {
    ExitToken.Clear();
    SetDataFolder(DataFolder());
}

FreshCatalogue::~FreshCatalogue() {
    ExitToken.Clear();
}

PhotoRecord RecordOf(const std::string& folder, const std::string& name) {
    PhotoRecord r;
    SetField(r.strName, name);
    SetField(r.strPath, folder);
    SetField(r.strFullPath, folder + "/" + name);
    return r;
}
