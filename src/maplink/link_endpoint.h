#pragma once
// A named endpoint of the map link: it receives messages addressed to its
// class and sends synchronous messages to other classes. The POSIX transport
// (Unix-domain sockets) implements it; a WM_COPYDATA transport can implement
// the same interface on Windows.
//
// Threads: messages received by an endpoint are handled on its dispatch
// thread (the thread that created it, or the one that called
// BindDispatchThread), one at a time, in arrival order. The owner either
// pumps with ProcessPendingMessages / WaitAndProcess, or gets the
// messageWaiting callback (called on an internal thread) and arranges a pump
// on the dispatch thread. While the dispatch thread blocks in Send, it keeps
// handling its own incoming messages, so a peer that answers with a message
// of its own before returning cannot deadlock it.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "maplink/link_message.h"

class LinkEndpoint {
  public:
    // Returns the result (LRESULT) given back to the sender.
    using Handler = std::function<std::int64_t(const LinkMessage&)>;

    virtual ~LinkEndpoint() = default;

    // False when another live endpoint holds the class name or the link
    // folder is unsafe: the endpoint then receives nothing but can send.
    virtual bool IsListening() const = 0;

    // "Finding the window": true when an endpoint of that class is reachable.
    virtual bool PeerExists(const std::string& peerClass) = 0;

    // Sends and waits for the result, at most 5 seconds; 0 when there is no
    // such peer, it does not answer in time or closes without answering.
    // Any thread.
    virtual std::int64_t Send(const std::string& peerClass, const LinkMessage& message) = 0;

    // Handles the messages that are waiting; returns how many. Dispatch
    // thread only; other threads get 0 and nothing happens.
    virtual int ProcessPendingMessages() = 0;

    // Waits for the duration; on the dispatch thread, messages arriving in
    // the meantime are handled, and the wait ends as soon as until() holds
    // after a message was handled. Any thread; on other threads until is
    // not consulted (they wait on what the handler signals instead).
    virtual void WaitAndProcess(std::chrono::milliseconds duration,
                                const std::function<bool()>& until) = 0;
    void WaitAndProcess(std::chrono::milliseconds duration) { WaitAndProcess(duration, {}); }

    // Ends a WaitAndProcess of the dispatch thread early (for example when a
    // worker it waits for has finished). Any thread.
    virtual void Interrupt() = 0;

    // Makes the calling thread the dispatch thread.
    virtual void BindDispatchThread() = 0;
    virtual bool OnDispatchThread() const = 0;
};

struct LinkEndpointConfig {
    std::string className;
    LinkEndpoint::Handler handler;
    // Called on an internal thread whenever a message starts waiting.
    std::function<void()> messageWaiting;
};

// The platform's endpoint, listening under config.className when it can.
std::unique_ptr<LinkEndpoint> CreateLinkEndpoint(LinkEndpointConfig config);
