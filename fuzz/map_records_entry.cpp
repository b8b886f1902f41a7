#include "fuzz_entries.h"
#include "maplink/map_records.h"

int FuzzMapRecords(const std::uint8_t* data, std::size_t size) {
    UnpackPickedPosition(data, size);
    UnpackMapPhotoRecords(data, size);
    if (auto block = UnpackRegionLookupBlock(data, size)) {
        for (int place = 0; place < kRegionNamePlaces; ++place) block->NameAt(place);
        // What the album sends back after reading a block must pack again.
        block->SetNameAt(0, block->NameAt(kRegionNamePlaces - 1));
        PackRegionLookupBlock(*block);
    }
    return 0;
}
