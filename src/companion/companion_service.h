#pragma once
// The companion program's end of the map link: listens as "zazadoRud" and
// answers the program through CompanionProtocol, on a thread of its own.
// Answers that the protocol produces (the 20003 region reply) are sent to
// "RezidaDoz" right after the request's sender has its result, so that the
// program's waiting thread wakes at once.
//
// Threads: messages are handled and answers sent on the service's thread;
// the public functions may be called from any thread. The destructor stops
// the thread and closes the endpoint, which removes its socket file.

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "companion/companion_protocol.h"
#include "maplink/link_endpoint.h"

class CompanionService {
  public:
    using EndpointFactory = std::function<std::unique_ptr<LinkEndpoint>(LinkEndpointConfig)>;

    // linkId 0 picks a fresh one for this run (1..32767), so that a
    // restarted companion refuses the id of its predecessor.
    explicit CompanionService(RegionNamer namer, MapRequestHandlers map = {},
                              std::int32_t linkId = 0,
                              const EndpointFactory& makeEndpoint = CreateLinkEndpoint);
    ~CompanionService();
    CompanionService(const CompanionService&) = delete;
    CompanionService& operator=(const CompanionService&) = delete;

    // False when another companion already listens (or the link folder is unsafe).
    bool IsListening() const { return endpoint_->IsListening(); }
    // Not listening because a live companion holds the name (rather than an
    // unsafe link folder).
    bool AnotherCompanionListens() {
        return !IsListening() && endpoint_->PeerExists(kCompanionLinkClass);
    }
    std::int32_t LinkId() const { return protocol_.LinkId(); }
    CompanionStatus Status() const { return protocol_.Status(); }

    // Queues a message to the program; sent from the service's thread.
    void SendToProgram(LinkMessage message);
    // Queues an answer of ours under this run's link id (a picked position,
    // track positions, photos selected on the map).
    void AnswerProgram(std::uint16_t code, std::vector<std::uint8_t> data);

  private:
    void Loop();
    bool HasOutgoing();
    void SendOutgoing();

    CompanionProtocol protocol_;
    std::mutex outgoingMutex_;
    std::deque<LinkMessage> outgoing_;
    std::atomic<bool> stop_{false};
    std::unique_ptr<LinkEndpoint> endpoint_;
    std::thread thread_;  // last: it uses everything above
};
