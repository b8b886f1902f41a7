#include "import/import_state.h"

#include <mutex>

namespace {

std::mutex registrationMutex;
RegionSource* regionSource = nullptr;

}  // namespace

void SetRegionSource(RegionSource* source) {
    std::lock_guard lock(registrationMutex);
    regionSource = source;
}

RegionSource* CurrentRegionSource() {
    std::lock_guard lock(registrationMutex);
    return regionSource;
}
