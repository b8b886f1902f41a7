#include <algorithm>

#include "companion/companion_protocol.h"
#include "companion/region_atlas.h"
#include "fuzz_entries.h"
#include "maplink/link_frame.h"
#include "maplink/map_records.h"

namespace {

constexpr std::int32_t kLinkId = 5;  // the link id of the seeds' frames

// The shipped data file, opened once: it is only ever read.
const RegionAtlas& Atlas() {
    static RegionAtlas atlas;
    static const bool opened = atlas.Open(DARAZOZ_REGION_DATA);
    (void)opened;
    return atlas;
}

}  // namespace

int FuzzCompanionRequest(const std::uint8_t* data, std::size_t size) {
    if (size < kFrameHeaderSize) return 0;
    const auto header = DecodeRequestHeader(data);
    // The endpoint hands over only whole frames.
    if (!header || size - kFrameHeaderSize < header->cbData) return 0;
    LinkMessage message;
    message.wParam = header->wParam;
    message.dwData = header->dwData;
    message.flags = header->flags;
    message.data.assign(data + kFrameHeaderSize, data + kFrameHeaderSize + header->cbData);

    const RegionAtlas& atlas = Atlas();
    CompanionProtocol protocol(
        [&atlas](double latitude, double longitude) { return atlas.Lookup(latitude, longitude); },
        kLinkId);
    std::vector<LinkMessage> toProgram;
    LinkMessage handshake;
    handshake.dwData = kCodeHandshake;
    handshake.data = PackHandshakeText();
    protocol.Handle(handshake, toProgram);
    protocol.Handle(message, toProgram);
    // The answers must read back as the album reads them.
    for (const LinkMessage& answer : toProgram) {
        if (auto block = UnpackRegionLookupBlock(answer.data.data(), answer.data.size())) {
            for (int place = 0; place < kRegionNamePlaces; ++place) block->NameAt(place);
        }
    }
    return 0;
}
