#pragma once
// The program's side of the map link: sends requests to the companion map
// application (with the link-id handshake) and handles the companion's
// messages, updating the region reply state and handing everything else to
// receivers the user interface registers by role.
//
// Threads: MapLink is created on the thread that handles the companion's
// messages (the UI thread), which becomes the endpoint's dispatch thread.
// SendToCompanion and RequestRegionNames may be called from any thread.
// Receivers are called on the dispatch thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "maplink/link_endpoint.h"
#include "maplink/map_records.h"
#include "maplink/region_buffer.h"
#include "platform/stop_token.h"

// The main frame's one-shot timer that arms bring-to-front for the next
// region reply; result dialogs and the import dialog start it when created.
inline constexpr std::chrono::milliseconds kBringToFrontTimerDelay{500};

// The longest wait for the reply after each region request; the waiting
// thread wakes as soon as the reply is in.
inline constexpr std::chrono::milliseconds kRegionReplyPause{100};

class MapLink {
  public:
    using EndpointFactory = std::function<std::unique_ptr<LinkEndpoint>(LinkEndpointConfig)>;

    // messageWaiting is called on an internal thread when a companion message
    // waits; the UI posts an event and calls Endpoint().ProcessPendingMessages()
    // on its own thread.
    explicit MapLink(RegionBuffer& regionBuffer, std::function<void()> messageWaiting = {},
                     const EndpointFactory& makeEndpoint = CreateLinkEndpoint);

    // Receivers; unset ones are skipped. photoIdExists answers whether an id
    // is still catalogued; without it a photo selection keeps no ids.
    void SetPhotoIdCheck(std::function<bool(std::int64_t)> photoIdExists);
    void SetBringToFrontReceiver(std::function<void()> bringToFront);
    void SetPhotoSelectionReceiver(std::function<void(std::vector<std::int64_t>)> receiver);
    void SetPickedPositionReceiver(std::function<void(PickedPosition)> receiver);
    void SetTrackPositionsReceiver(std::function<void(std::vector<MapPhotoRecord>)> receiver);

    bool CompanionWindowExists() { return endpoint_->PeerExists(kCompanionLinkClass); }

    // Sends one request; a refusal (negative result) runs the handshake and
    // resends once. Returns the companion's result, 0 without a companion.
    std::int64_t SendToCompanion(std::uint16_t code, const std::vector<std::uint8_t>& data);

    // Clears the region buffer and asks for the names of one position: sets
    // awaitingRegionReply, then up to maxSends times sends the request and
    // waits up to 100 ms for the reply, until the reply handler clears the
    // flag or stop is set. True when a final reply arrived; the names are
    // then in the buffer.
    bool RequestRegionNames(double latitude, double longitude, int maxSends,
                            const StopToken* stop = nullptr);
    // Lengthens (or shortens) the wait after each region request; tests use
    // a wait long enough that only a woken waiter can return.
    void SetRegionReplyPause(std::chrono::milliseconds pause) { regionReplyPause_ = pause; }

    // The bring-to-front timer fired: the next region reply brings the main window to the front.
    void OnBringToFrontTimer() { bringToFrontOnRegionReply_ = true; }
    bool BringToFrontArmed() const { return bringToFrontOnRegionReply_; }

    std::int32_t LinkId() const { return mapLinkId_; }
    // Number of records in the companion's last track answer.
    int LastTrackRecordCount() const { return lastTrackRecordCount_; }

    LinkEndpoint& Endpoint() { return *endpoint_; }

    // Handles one message addressed to the program's endpoint; returns its
    // result. Dispatch thread.
    std::int64_t HandleMessage(const LinkMessage& message);

  private:
    struct Receivers {
        std::function<bool(std::int64_t)> photoIdExists;
        std::function<void()> bringToFront;
        std::function<void(std::vector<std::int64_t>)> photoSelection;
        std::function<void(PickedPosition)> pickedPosition;
        std::function<void(std::vector<MapPhotoRecord>)> trackPositions;
    };

    Receivers CurrentReceivers() const;
    void BringToFront(const Receivers& receivers) const;
    void HandlePhotoSelection(const LinkMessage& message, const Receivers& receivers);
    void HandleRegionReply(const LinkMessage& message, const Receivers& receivers);
    void HandleTrackPositions(const LinkMessage& message, const Receivers& receivers);
    void AwaitRegionReply();

    RegionBuffer& regionBuffer_;
    std::atomic<std::int32_t> mapLinkId_{0};
    std::atomic<bool> bringToFrontOnRegionReply_{false};
    std::atomic<int> lastTrackRecordCount_{0};
    std::chrono::milliseconds regionReplyPause_ = kRegionReplyPause;
    mutable std::mutex receiversMutex_;
    Receivers receivers_;
    std::unique_ptr<LinkEndpoint> endpoint_;  // last: its thread calls back into this object
};
