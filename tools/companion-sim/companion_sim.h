#pragma once
// A stand-in for the companion map application: it listens as "zazadoRud",
// answers the handshake, refuses unknown link ids, answers region, position
// and track requests from configured data, logs every message it receives,
// and sends a photo selection on command. Used by the tests and by a person
// trying the program without the real companion.
//
// Threads: the simulator handles its messages on its own thread; the public
// functions may be called from any thread.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gpx_track.h"
#include "maplink/link_endpoint.h"
#include "maplink/map_records.h"
#include "region_table.h"

enum class RegionReplyMode {
    Table,      // names from the region table
    NoNames,    // always n = -2
    ZeroNames,  // always n = 0: the sender keeps waiting
    Silent,     // no reply at all
};

enum class ReplyTiming {
    AfterReturn,  // the reply is sent after the request's handler returned
    Synchronous,  // the reply is sent from inside the request's handler
};

struct CompanionSimOptions {
    RegionTable regions;
    RegionReplyMode regionMode = RegionReplyMode::Table;
    bool noNamesOutsideTable = false;  // outside every box: n = -2 instead of one empty name
    ReplyTiming timing = ReplyTiming::AfterReturn;
    PickedPosition pickedPosition;
    GpxTrack track;
    std::int32_t linkId = 7;
    std::function<void(const std::string&)> logLine;  // one line per received message
};

struct ReceivedMessage {
    std::uint16_t code = 0;
    std::int32_t linkId = 0;
    std::uint32_t flags = 0;
    std::size_t size = 0;
    std::int64_t result = 0;
};

class CompanionSim {
  public:
    explicit CompanionSim(CompanionSimOptions options);
    ~CompanionSim();

    bool IsListening() const { return endpoint_->IsListening(); }

    // Sends a 20004 photo selection (first record of kind firstKind, the
    // others of kind 2) to the program, from the simulator's thread.
    void SendPhotoSelection(const std::vector<std::int64_t>& ids,
                            std::int32_t firstKind = kMapPhotoSelectionKind);
    // Acts as a restarted companion: the current link id is refused.
    void ForgetLinkId() { linkIdKnown_ = false; }

    std::vector<ReceivedMessage> Received() const;

  private:
    std::int64_t Handle(const LinkMessage& message);
    std::int64_t Answer(const LinkMessage& message);
    void Reply(std::uint16_t code, std::vector<std::uint8_t> data);
    void SendToProgram(std::uint16_t code, const std::vector<std::uint8_t>& data);
    std::vector<std::uint8_t> RegionReply(const LinkMessage& request) const;
    std::vector<std::uint8_t> TrackReply(const LinkMessage& request) const;
    void Loop();

    CompanionSimOptions options_;
    std::atomic<bool> linkIdKnown_{false};
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<ReceivedMessage> received_;
    std::deque<std::function<void()>> outgoing_;  // run on the simulator's thread
    std::unique_ptr<LinkEndpoint> endpoint_;
    std::thread thread_;
};
