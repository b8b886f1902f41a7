#include "zidevu/region_data.h"

RegionDataState OpenRegionData(RegionAtlas& atlas, const std::string& explicitPath,
                               const std::string& executableDir) {
    RegionDataState state;
    state.path = explicitPath.empty() ? FindRegionDataFile(executableDir) : explicitPath;
    if (state.path.empty()) {
        state.problem = "region data file not found (zidevu-regions.db in " + executableDir +
                        " or " + executableDir + "/../share/darazoz)";
    } else if (!atlas.Open(state.path)) {
        state.problem = atlas.ErrorText().empty() ? "region data file cannot be read: " + state.path
                                                  : atlas.ErrorText();
    }
    return state;
}
