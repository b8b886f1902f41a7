#pragma once
// The link endpoint over Unix-domain stream sockets: one connection per
// message, a listener thread that accepts connections from peers of the same
// user and reads their frames side by side (a peer that stalls mid-frame
// delays nobody else), and a queue that the dispatch thread works off. See
// link_endpoint.h for the thread contract.

#include <sys/types.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "maplink/link_endpoint.h"
#include "maplink/unix_socket.h"

class PosixLinkEndpoint final : public LinkEndpoint {
  public:
    explicit PosixLinkEndpoint(LinkEndpointConfig config);
    ~PosixLinkEndpoint() override;

    bool IsListening() const override { return listenFd_.Valid(); }
    bool PeerExists(const std::string& peerClass) override;
    std::int64_t Send(const std::string& peerClass, const LinkMessage& message) override;
    int ProcessPendingMessages() override;
    using LinkEndpoint::WaitAndProcess;
    void WaitAndProcess(std::chrono::milliseconds duration,
                        const std::function<bool()>& until) override;
    void BindDispatchThread() override { dispatchThread_ = std::this_thread::get_id(); }
    bool OnDispatchThread() const override { return dispatchThread_ == std::this_thread::get_id(); }
    void Interrupt() override;

  private:
    struct Incoming {
        LinkMessage message;
        UniqueFd connection;  // the reply goes here
    };

    struct Arriving;

    void StartListening();
    void ListenerLoop();
    void Accept(std::vector<Arriving>& arriving);
    void Queue(Incoming in);
    std::optional<Incoming> PopIncoming();

    LinkEndpointConfig config_;
    UniqueFd listenFd_;
    std::string socketPath_;
    dev_t socketDevice_ = 0;
    ino_t socketInode_ = 0;
    UniqueFd wakeRead_, wakeWrite_;  // one byte per queued message
    UniqueFd stopRead_, stopWrite_;  // closing the write end ends the listener
    std::mutex queueMutex_;
    std::deque<Incoming> queue_;
    std::atomic<std::thread::id> dispatchThread_;
    std::atomic<bool> interrupted_{false};
    std::thread listener_;
};
