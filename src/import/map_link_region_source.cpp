#include "import/map_link_region_source.h"

#include "catalogue/process_flags.h"
#include "maplink/map_link.h"
#include "maplink/region_buffer.h"

bool MapLinkRegionSource::CompanionAvailable() {
    return link_.CompanionWindowExists();
}

RegionNames MapLinkRegionSource::RequestNames(double latitude, double longitude, int maxSends) {
    link_.RequestRegionNames(latitude, longitude, maxSends, &ExitToken);
    RegionNames names{buffer_.Slot(0), buffer_.Slot(1), buffer_.Slot(2)};
    buffer_.Clear();
    return names;
}
