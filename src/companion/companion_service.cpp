#include "companion/companion_service.h"

#include <chrono>
#include <random>

namespace {

std::int32_t FreshLinkId() {
    std::random_device seed;
    return std::uniform_int_distribution<std::int32_t>(1, 32767)(seed);
}

}  // namespace

CompanionService::CompanionService(RegionNamer namer, MapRequestHandlers map, std::int32_t linkId,
                                   const EndpointFactory& makeEndpoint)
    : protocol_(std::move(namer), linkId != 0 ? linkId : FreshLinkId(), std::move(map)) {
    endpoint_ = makeEndpoint({kCompanionLinkClass,
                              [this](const LinkMessage& m) {
                                  std::vector<LinkMessage> answers;
                                  const std::int64_t result = protocol_.Handle(m, answers);
                                  for (LinkMessage& a : answers) SendToProgram(std::move(a));
                                  return result;
                              },
                              {}});
    thread_ = std::thread(&CompanionService::Loop, this);
}

CompanionService::~CompanionService() {
    stop_ = true;
    endpoint_->Interrupt();
    thread_.join();
}

void CompanionService::SendToProgram(LinkMessage message) {
    {
        std::lock_guard lock(outgoingMutex_);
        outgoing_.push_back(std::move(message));
    }
    // On the service's own thread (from a handler) the wait in Loop notices
    // the message anyway; another thread has to wake it.
    if (!endpoint_->OnDispatchThread()) endpoint_->Interrupt();
}

void CompanionService::AnswerProgram(std::uint16_t code, std::vector<std::uint8_t> data) {
    LinkMessage message;
    message.dwData = MakeDwData(code, protocol_.LinkId());
    message.data = std::move(data);
    SendToProgram(std::move(message));
}

bool CompanionService::HasOutgoing() {
    std::lock_guard lock(outgoingMutex_);
    return !outgoing_.empty();
}

void CompanionService::SendOutgoing() {
    for (;;) {
        LinkMessage message;
        {
            std::lock_guard lock(outgoingMutex_);
            if (outgoing_.empty()) return;
            message = std::move(outgoing_.front());
            outgoing_.pop_front();
        }
        // Blocks until the program has handled it; our own incoming
        // messages are still served meanwhile.
        endpoint_->Send(kAlbumLinkClass, message);
    }
}

void CompanionService::Loop() {
    endpoint_->BindDispatchThread();
    while (!stop_) {
        endpoint_->WaitAndProcess(std::chrono::seconds(1), [this] { return HasOutgoing(); });
        SendOutgoing();
    }
}
