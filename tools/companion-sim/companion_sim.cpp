#include "companion_sim.h"

#include <sstream>

CompanionSim::CompanionSim(CompanionSimOptions options) : options_(std::move(options)) {
    endpoint_ = CreateLinkEndpoint(
        {kCompanionLinkClass, [this](const LinkMessage& m) { return Handle(m); }, {}});
    thread_ = std::thread(&CompanionSim::Loop, this);
}

CompanionSim::~CompanionSim() {
    stop_ = true;
    thread_.join();
    endpoint_.reset();
}

void CompanionSim::Loop() {
    endpoint_->BindDispatchThread();
    while (!stop_) {
        endpoint_->WaitAndProcess(std::chrono::milliseconds(10));
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(mutex_);
                if (outgoing_.empty()) break;
                task = std::move(outgoing_.front());
                outgoing_.pop_front();
            }
            task();
        }
    }
}

std::vector<ReceivedMessage> CompanionSim::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

void CompanionSim::SendPhotoSelection(const std::vector<std::int64_t>& ids,
                                      std::int32_t firstKind) {
    std::vector<MapPhotoRecord> records;
    for (std::int64_t id : ids) {
        MapPhotoRecord r;
        r.idPic = id;
        r.kind = records.empty() ? firstKind : kMapPhotoSelectionKind;
        records.push_back(r);
    }
    std::lock_guard lock(mutex_);
    outgoing_.push_back(
        [this, data = PackMapPhotoRecords(records)] { SendToProgram(kCodeShowPhotos, data); });
}

void CompanionSim::SendToProgram(std::uint16_t code, const std::vector<std::uint8_t>& data) {
    LinkMessage message;
    message.dwData = code;
    message.data = data;
    endpoint_->Send(kAlbumLinkClass, message);
}

std::int64_t CompanionSim::Handle(const LinkMessage& message) {
    const std::int64_t result = Answer(message);
    ReceivedMessage entry{message.Code(), message.LinkId(), message.flags, message.data.size(),
                          result};
    std::ostringstream line;
    line << "received code=" << entry.code << " link=" << entry.linkId << " flags=" << entry.flags
         << " size=" << entry.size << " result=" << entry.result;
    {
        std::lock_guard lock(mutex_);
        received_.push_back(entry);
    }
    if (options_.logLine) options_.logLine(line.str());
    return result;
}

std::int64_t CompanionSim::Answer(const LinkMessage& message) {
    if (message.wParam != kMapLinkWParam) return 0;
    if (message.Code() == kCodeHandshake) {
        if (message.data != PackHandshakeText()) return -1;
        linkIdKnown_ = true;
        return options_.linkId;
    }
    if (!linkIdKnown_ || message.LinkId() != options_.linkId) return -1;

    switch (message.Code()) {
        case kCodeRegionLookup:
            if (options_.regionMode != RegionReplyMode::Silent) {
                Reply(kCodeRegionLookup, RegionReply(message));
            }
            break;
        case kCodePickPosition:
            Reply(kCodePickPosition, PackPickedPosition(options_.pickedPosition));
            break;
        case kCodeTrackPositions:
            Reply(kCodeTrackPositions, TrackReply(message));
            break;
        default:
            break;  // 20004: photos shown on the map; only logged
    }
    return 1;
}

void CompanionSim::Reply(std::uint16_t code, std::vector<std::uint8_t> data) {
    if (options_.timing == ReplyTiming::Synchronous) {
        SendToProgram(code, data);
        return;
    }
    std::lock_guard lock(mutex_);
    outgoing_.push_back([this, code, data = std::move(data)] { SendToProgram(code, data); });
}

std::vector<std::uint8_t> CompanionSim::RegionReply(const LinkMessage& request) const {
    RegionLookupBlock block;
    if (auto asked = UnpackRegionLookupBlock(request.data.data(), request.data.size())) {
        block.latitude = asked->latitude;
        block.longitude = asked->longitude;
    }
    switch (options_.regionMode) {
        case RegionReplyMode::NoNames:
            block.nameCount = kRegionNoNames;
            break;
        case RegionReplyMode::ZeroNames:
            block.nameCount = 0;
            break;
        default:
            if (auto names = options_.regions.Lookup(block.latitude, block.longitude)) {
                block.nameCount = static_cast<std::int32_t>(names->size());
                for (std::size_t i = 0; i < names->size(); ++i) {
                    block.SetNameAt(static_cast<int>(i), (*names)[i]);
                }
            } else {
                // Outside every box: one empty name, i.e. "outside the resolvable area".
                block.nameCount = options_.noNamesOutsideTable ? kRegionNoNames : 1;
            }
            break;
    }
    return PackRegionLookupBlock(block);
}

std::vector<std::uint8_t> CompanionSim::TrackReply(const LinkMessage& request) const {
    auto records = UnpackMapPhotoRecords(request.data.data(), request.data.size());
    for (MapPhotoRecord& r : records) {
        const auto point = options_.track.PositionAt(r.dwDateTime);
        r.latitude = point ? point->latitude : 0;
        r.longitude = point ? point->longitude : 0;
    }
    return PackMapPhotoRecords(records);
}
