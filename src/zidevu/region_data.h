#pragma once
// Opens the region data file for the lookups and says, once, why it could
// not be opened: without it every lookup answers that no names will come.

#include <string>

#include "companion/region_atlas.h"

struct RegionDataState {
    std::string path;     // the file opened, or empty when none was found
    std::string problem;  // one line; empty when the data is ready

    bool Ready() const { return problem.empty(); }
};

// explicitPath (from the command line) wins over the file shipped beside the
// program in executableDir.
RegionDataState OpenRegionData(RegionAtlas& atlas, const std::string& explicitPath,
                               const std::string& executableDir);
