#include "import/import_state.h"

#include <mutex>

namespace {

std::mutex registrationMutex;
RegionSource* regionSource = nullptr;
ImportReceivers importReceivers;

}  // namespace

ImportProgress& CurrentImportProgress() {
    static ImportProgress progress;
    return progress;
}

void SetRegionSource(RegionSource* source) {
    std::lock_guard lock(registrationMutex);
    regionSource = source;
}

RegionSource* CurrentRegionSource() {
    std::lock_guard lock(registrationMutex);
    return regionSource;
}

void SetImportReceivers(ImportReceivers receivers) {
    std::lock_guard lock(registrationMutex);
    importReceivers = std::move(receivers);
}

ImportReceivers CurrentImportReceivers() {
    std::lock_guard lock(registrationMutex);
    return importReceivers;
}
