#include "maplink/posix_link_endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "maplink/link_frame.h"
#include "maplink/link_socket_folder.h"

namespace {

// Covers connect, write and read of one message together.
constexpr auto kMessageTimeLimit = std::chrono::seconds(5);

bool MakePipe(UniqueFd& readEnd, UniqueFd& writeEnd) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    for (int fd : fds) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    readEnd = UniqueFd(fds[0]);
    writeEnd = UniqueFd(fds[1]);
    return true;
}

void DrainPipe(int fd) {
    char buffer[64];
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
}

Deadline DeadlineFromNow() {
    return std::chrono::steady_clock::now() + kMessageTimeLimit;
}

}  // namespace

std::unique_ptr<LinkEndpoint> CreateLinkEndpoint(LinkEndpointConfig config) {
    return std::make_unique<PosixLinkEndpoint>(std::move(config));
}

PosixLinkEndpoint::PosixLinkEndpoint(LinkEndpointConfig config)
    : config_(std::move(config)), dispatchThread_(std::this_thread::get_id()) {
    if (!MakePipe(wakeRead_, wakeWrite_) || !MakePipe(stopRead_, stopWrite_)) return;
    StartListening();
    if (listenFd_.Valid()) listener_ = std::thread(&PosixLinkEndpoint::ListenerLoop, this);
}

PosixLinkEndpoint::~PosixLinkEndpoint() {
    stopWrite_.Reset();
    if (listener_.joinable()) listener_.join();
    if (listenFd_.Valid()) {
        // Remove the file only while it is still ours; a successor may have
        // replaced it.
        struct stat st {};
        if (lstat(socketPath_.c_str(), &st) == 0 && st.st_dev == socketDevice_ &&
            st.st_ino == socketInode_) {
            unlink(socketPath_.c_str());
        }
    }
}

void PosixLinkEndpoint::StartListening() {
    std::optional<std::string> path = LinkSocketPath(config_.className);
    if (!path) return;

    struct stat st {};
    if (lstat(path->c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode)) return;  // never delete what is not a socket
        UniqueFd probe;
        ConnectResult r = ConnectUnix(*path, DeadlineFromNow(), probe);
        if (r != ConnectResult::Refused) return;  // a live endpoint holds the name
        unlink(path->c_str());                    // stale file of an ended endpoint
    }

    UniqueFd fd(socket(AF_UNIX, SOCK_STREAM, 0));
    if (!fd.Valid()) return;
    fcntl(fd.Get(), F_SETFD, FD_CLOEXEC);
    fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) | O_NONBLOCK);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path->c_str(), path->size() + 1);
    if (bind(fd.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return;
    if (listen(fd.Get(), 16) != 0 || lstat(path->c_str(), &st) != 0) {
        unlink(path->c_str());
        return;
    }
    socketPath_ = *path;
    socketDevice_ = st.st_dev;
    socketInode_ = st.st_ino;
    listenFd_ = std::move(fd);
}

void PosixLinkEndpoint::ListenerLoop() {
    for (;;) {
        pollfd fds[2] = {{listenFd_.Get(), POLLIN, 0}, {stopRead_.Get(), POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) continue;
        UniqueFd connection(accept(listenFd_.Get(), nullptr, nullptr));
        if (!connection.Valid()) continue;
        fcntl(connection.Get(), F_SETFD, FD_CLOEXEC);
        fcntl(connection.Get(), F_SETFL, fcntl(connection.Get(), F_GETFL) | O_NONBLOCK);
        if (!PeerIsSameUser(connection.Get())) continue;  // closed without reply
        Receive(std::move(connection));
    }
}

void PosixLinkEndpoint::Receive(UniqueFd connection) {
    const Deadline deadline = DeadlineFromNow();
    std::uint8_t header[kFrameHeaderSize];
    if (!ReadAll(connection.Get(), header, sizeof header, deadline, stopRead_.Get())) return;
    std::optional<FrameHeader> h = DecodeRequestHeader(header);
    if (!h) return;
    Incoming in;
    in.message.wParam = h->wParam;
    in.message.dwData = h->dwData;
    in.message.flags = h->flags;
    in.message.data.resize(h->cbData);
    if (h->cbData > 0 &&
        !ReadAll(connection.Get(), in.message.data.data(), h->cbData, deadline, stopRead_.Get())) {
        return;
    }
    in.connection = std::move(connection);
    {
        std::lock_guard lock(queueMutex_);
        queue_.push_back(std::move(in));
    }
    const char byte = 1;
    (void)!write(wakeWrite_.Get(), &byte, 1);
    if (config_.messageWaiting) config_.messageWaiting();
}

std::optional<PosixLinkEndpoint::Incoming> PosixLinkEndpoint::PopIncoming() {
    std::lock_guard lock(queueMutex_);
    if (queue_.empty()) return std::nullopt;
    Incoming in = std::move(queue_.front());
    queue_.pop_front();
    return in;
}

int PosixLinkEndpoint::ProcessPendingMessages() {
    if (!OnDispatchThread() || !wakeRead_.Valid()) return 0;
    DrainPipe(wakeRead_.Get());
    int handled = 0;
    while (std::optional<Incoming> in = PopIncoming()) {
        const std::int64_t result = config_.handler ? config_.handler(in->message) : 0;
        const auto reply = EncodeReplyFrame(result);
        WriteAll(in->connection.Get(), reply.data(), reply.size(), DeadlineFromNow());
        ++handled;
    }
    return handled;
}

void PosixLinkEndpoint::WaitAndProcess(std::chrono::milliseconds duration) {
    if (!OnDispatchThread() || !wakeRead_.Valid()) {
        std::this_thread::sleep_for(duration);
        return;
    }
    const Deadline deadline = std::chrono::steady_clock::now() + duration;
    do {
        ProcessPendingMessages();
    } while (WaitForFd(wakeRead_.Get(), false, -1, deadline) == WaitResult::Ready);
}

bool PosixLinkEndpoint::PeerExists(const std::string& peerClass) {
    std::optional<std::string> path = LinkSocketPath(peerClass);
    if (!path) return false;
    UniqueFd fd;
    return ConnectUnix(*path, DeadlineFromNow(), fd) == ConnectResult::Connected &&
           PeerIsSameUser(fd.Get());
}

std::int64_t PosixLinkEndpoint::Send(const std::string& peerClass, const LinkMessage& message) {
    std::optional<std::string> path = LinkSocketPath(peerClass);
    if (!path) return 0;
    const std::vector<std::uint8_t> frame = EncodeRequestFrame(message);
    if (frame.empty()) return 0;

    const Deadline deadline = DeadlineFromNow();
    UniqueFd fd;
    if (ConnectUnix(*path, deadline, fd) != ConnectResult::Connected) return 0;
    if (!PeerIsSameUser(fd.Get())) return 0;
    if (!WriteAll(fd.Get(), frame.data(), frame.size(), deadline)) return 0;

    std::uint8_t reply[kReplyFrameSize];
    std::size_t have = 0;
    while (have < sizeof reply) {
        // The dispatch thread keeps serving its own endpoint while it waits.
        const int wake = OnDispatchThread() ? wakeRead_.Get() : -1;
        switch (WaitForFd(fd.Get(), false, wake, deadline)) {
            case WaitResult::Other:
                ProcessPendingMessages();
                continue;
            case WaitResult::Ready: {
                ssize_t n = recv(fd.Get(), reply + have, sizeof reply - have, 0);
                if (n > 0) {
                    have += static_cast<std::size_t>(n);
                } else if (n == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)) {
                    return 0;
                }
                continue;
            }
            case WaitResult::TimedOut:
            case WaitResult::Failed:
                return 0;
        }
    }
    return DecodeReplyFrame(reply);
}
