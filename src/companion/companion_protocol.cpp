#include "companion/companion_protocol.h"

#include <algorithm>

#include "maplink/map_records.h"

namespace {
// Refusal of a request under an unknown link id; the program then runs the handshake.
constexpr std::int64_t kUnknownLinkId = -1;
}  // namespace

bool IsValidPosition(double latitude, double longitude) {
    // Written so that NaN fails every comparison.
    return latitude >= -90 && latitude <= 90 && longitude >= -180 && longitude <= 180;
}

CompanionProtocol::CompanionProtocol(RegionNamer namer, std::int32_t linkId, MapRequestHandlers map)
    : namer_(std::move(namer)), map_(std::move(map)), linkId_(linkId) {}

std::int64_t CompanionProtocol::Handle(const LinkMessage& message,
                                       std::vector<LinkMessage>& toProgram) {
    if (message.wParam != kMapLinkWParam) return 0;
    if (message.Code() == kCodeHandshake) {
        // Only the program's class may introduce itself: that is where answers go.
        if (message.data != PackHandshakeText()) return kUnknownLinkId;
        introduced_ = true;
        return linkId_;
    }
    if (!introduced_ || message.LinkId() != linkId_) return kUnknownLinkId;
    switch (message.Code()) {
        case kCodeRegionLookup:
            return AnswerRegionLookup(message, toProgram);
        case kCodePickPosition:
        case kCodeShowPhotos:
        case kCodeTrackPositions:
            return HandOnMapRequest(message);
        default:
            return 0;
    }
}

std::int64_t CompanionProtocol::HandOnMapRequest(const LinkMessage& request) const {
    const auto records = [&request] {
        return UnpackMapPhotoRecords(request.data.data(), request.data.size());
    };
    switch (request.Code()) {
        case kCodePickPosition:
            if (!map_.pickPosition) return 0;
            map_.pickPosition(request.flags);
            return 1;
        case kCodeShowPhotos:
            if (!map_.showPhotos) return 0;
            map_.showPhotos(records(), request.flags);
            return 1;
        case kCodeTrackPositions:
            if (!map_.findPositions) return 0;
            map_.findPositions(records(), request.flags);
            return 1;
        default:
            return 0;
    }
}

std::int64_t CompanionProtocol::AnswerRegionLookup(const LinkMessage& request,
                                                   std::vector<LinkMessage>& toProgram) {
    const auto asked = UnpackRegionLookupBlock(request.data.data(), request.data.size());
    if (!asked) return 0;  // cut short: no position to answer for

    RegionLookupRecord record{asked->latitude, asked->longitude, {}};
    if (IsValidPosition(record.latitude, record.longitude) && namer_) {
        record.names = namer_(record.latitude, record.longitude);
    }
    if (record.names.size() == 1) {
        // A country alone (outside China) repeats at the city level, as the
        // municipalities do: the album's region grouping lists photos only
        // below a city, and would show these nowhere.
        record.names.push_back(record.names.front());
    }
    if (record.names.size() > static_cast<std::size_t>(kRegionNamePlaces)) {
        record.names.resize(kRegionNamePlaces);
    }

    RegionLookupBlock reply;
    reply.latitude = record.latitude;
    reply.longitude = record.longitude;
    reply.nameCount =
        record.names.empty() ? kRegionNoNames : static_cast<std::int32_t>(record.names.size());
    for (std::size_t i = 0; i < record.names.size(); ++i) {
        reply.SetNameAt(static_cast<int>(i), record.names[i]);
    }
    LinkMessage answer;
    answer.dwData = MakeDwData(kCodeRegionLookup, linkId_);
    answer.data = PackRegionLookupBlock(reply);
    toProgram.push_back(std::move(answer));

    std::lock_guard lock(statusMutex_);
    ++status_.lookupsAnswered;
    status_.lastLookup = std::move(record);
    return 1;
}

CompanionStatus CompanionProtocol::Status() const {
    std::lock_guard lock(statusMutex_);
    return status_;
}
