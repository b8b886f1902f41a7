#include "maplink/map_link.h"

#include <algorithm>

namespace {

std::uint32_t RequestFlags(std::uint16_t code) {
    std::uint32_t flags = kFlagRestoreWindow;
    if (code == kCodePickPosition || code == kCodeTrackPositions) flags |= kFlagBringToTop;
    return flags;
}

}  // namespace

MapLink::MapLink(RegionBuffer& regionBuffer, std::function<void()> messageWaiting,
                 const EndpointFactory& makeEndpoint)
    : regionBuffer_(regionBuffer) {
    endpoint_ = makeEndpoint(LinkEndpointConfig{
        kAlbumLinkClass, [this](const LinkMessage& m) { return HandleMessage(m); },
        std::move(messageWaiting)});
}

void MapLink::SetPhotoIdCheck(std::function<bool(std::int64_t)> photoIdExists) {
    std::lock_guard lock(receiversMutex_);
    receivers_.photoIdExists = std::move(photoIdExists);
}

void MapLink::SetBringToFrontReceiver(std::function<void()> bringToFront) {
    std::lock_guard lock(receiversMutex_);
    receivers_.bringToFront = std::move(bringToFront);
}

void MapLink::SetPhotoSelectionReceiver(std::function<void(std::vector<std::int64_t>)> receiver) {
    std::lock_guard lock(receiversMutex_);
    receivers_.photoSelection = std::move(receiver);
}

void MapLink::SetPickedPositionReceiver(std::function<void(PickedPosition)> receiver) {
    std::lock_guard lock(receiversMutex_);
    receivers_.pickedPosition = std::move(receiver);
}

void MapLink::SetTrackPositionsReceiver(std::function<void(std::vector<MapPhotoRecord>)> receiver) {
    std::lock_guard lock(receiversMutex_);
    receivers_.trackPositions = std::move(receiver);
}

MapLink::Receivers MapLink::CurrentReceivers() const {
    std::lock_guard lock(receiversMutex_);
    return receivers_;
}

std::int64_t MapLink::SendToCompanion(std::uint16_t code, const std::vector<std::uint8_t>& data) {
    LinkMessage request;
    request.wParam = kMapLinkWParam;
    request.flags = RequestFlags(code);
    request.dwData = MakeDwData(code, mapLinkId_);
    request.data = data;
    const std::int64_t result = endpoint_->Send(kCompanionLinkClass, request);
    if (result >= 0) return result;

    // The companion does not know our link id (first request of the run, or
    // it was restarted): introduce ourselves and resend under the new id.
    LinkMessage handshake;
    handshake.wParam = kMapLinkWParam;
    handshake.flags = RequestFlags(kCodeHandshake);
    handshake.dwData = kCodeHandshake;
    handshake.data = PackHandshakeText();
    mapLinkId_ = static_cast<std::int32_t>(endpoint_->Send(kCompanionLinkClass, handshake));
    request.dwData = MakeDwData(code, mapLinkId_);
    return endpoint_->Send(kCompanionLinkClass, request);
}

bool MapLink::RequestRegionNames(double latitude, double longitude, int maxSends,
                                 const StopToken* stop) {
    regionBuffer_.Clear();
    RegionLookupBlock block;
    block.latitude = latitude;
    block.longitude = longitude;
    const std::vector<std::uint8_t> request = PackRegionLookupBlock(block);
    regionBuffer_.awaitingRegionReply = true;
    for (int sent = 0; sent < maxSends; ++sent) {
        SendToCompanion(kCodeRegionLookup, request);
        AwaitRegionReply();
        if (!regionBuffer_.awaitingRegionReply) return true;
        if (stop && stop->StopRequested()) break;
    }
    return !regionBuffer_.awaitingRegionReply;
}

void MapLink::AwaitRegionReply() {
    if (endpoint_->OnDispatchThread()) {
        // The reply is handled by this very thread, while it waits here.
        endpoint_->WaitAndProcess(regionReplyPause_,
                                  [this] { return !regionBuffer_.awaitingRegionReply; });
    } else {
        regionBuffer_.WaitForReply(regionReplyPause_);
    }
}

void MapLink::BringToFront(const Receivers& receivers) const {
    if (receivers.bringToFront) receivers.bringToFront();
}

std::int64_t MapLink::HandleMessage(const LinkMessage& message) {
    if (message.wParam != kMapLinkWParam) return 0;
    const Receivers receivers = CurrentReceivers();
    // Only the code matters here; the link-id bits are not checked.
    switch (message.Code()) {
        case kCodeShowPhotos:
            HandlePhotoSelection(message, receivers);
            break;
        case kCodeRegionLookup:
            HandleRegionReply(message, receivers);
            break;
        case kCodePickPosition: {
            BringToFront(receivers);
            auto position = UnpackPickedPosition(message.data.data(), message.data.size());
            if (position && receivers.pickedPosition) receivers.pickedPosition(*position);
            break;
        }
        case kCodeTrackPositions:
            HandleTrackPositions(message, receivers);
            break;
        default:
            BringToFront(receivers);
            break;
    }
    return 1;
}

void MapLink::HandlePhotoSelection(const LinkMessage& message, const Receivers& receivers) {
    const auto records = UnpackMapPhotoRecords(message.data.data(), message.data.size());
    if (records.empty() || records.front().kind != kMapPhotoSelectionKind) return;
    BringToFront(receivers);
    std::vector<std::int64_t> ids;
    for (const MapPhotoRecord& r : records) {
        if (receivers.photoIdExists && receivers.photoIdExists(r.idPic)) ids.push_back(r.idPic);
    }
    if (receivers.photoSelection) receivers.photoSelection(std::move(ids));
}

void MapLink::HandleRegionReply(const LinkMessage& message, const Receivers& receivers) {
    if (bringToFrontOnRegionReply_.exchange(false)) BringToFront(receivers);
    const auto block = UnpackRegionLookupBlock(message.data.data(), message.data.size());
    if (!block) return;  // a cut-short block says nothing; keep waiting
    std::vector<std::string> names;
    const int count = std::min(block->nameCount, kRegionNamePlaces);
    for (int i = 0; i < count; ++i) names.push_back(block->NameAt(i));
    regionBuffer_.Replace(names);
    // Any other count (0 or a negative other than -2) leaves the sender waiting.
    if (block->nameCount >= 1 || block->nameCount == kRegionNoNames) regionBuffer_.EndAwaiting();
}

void MapLink::HandleTrackPositions(const LinkMessage& message, const Receivers& receivers) {
    BringToFront(receivers);
    auto records = UnpackMapPhotoRecords(message.data.data(), message.data.size());
    lastTrackRecordCount_ = static_cast<int>(records.size());
    const bool anyPosition =
        std::any_of(records.begin(), records.end(),
                    [](const MapPhotoRecord& r) { return r.latitude != 0 || r.longitude != 0; });
    if (anyPosition && receivers.trackPositions) receivers.trackPositions(std::move(records));
}
