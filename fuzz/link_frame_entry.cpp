#include <algorithm>

#include "fuzz_entries.h"
#include "maplink/link_frame.h"
#include "maplink/map_records.h"

int FuzzLinkFrame(const std::uint8_t* data, std::size_t size) {
    if (size < kFrameHeaderSize) return 0;
    const auto header = DecodeRequestHeader(data);
    if (!header) return 0;
    // The endpoint reads exactly cbData bytes after the header; a short
    // input stands for a sender that stopped early.
    const std::uint8_t* body = data + kFrameHeaderSize;
    const std::size_t length = std::min<std::size_t>(header->cbData, size - kFrameHeaderSize);
    switch (static_cast<std::uint16_t>(header->dwData & 0xFFFF)) {
        case kCodePickPosition:
            UnpackPickedPosition(body, length);
            break;
        case kCodeRegionLookup:
            if (auto block = UnpackRegionLookupBlock(body, length)) {
                for (int place = 0; place < kRegionNamePlaces; ++place) block->NameAt(place);
            }
            break;
        case kCodeShowPhotos:
        case kCodeTrackPositions:
            UnpackMapPhotoRecords(body, length);
            break;
        default:
            break;
    }
    return 0;
}
