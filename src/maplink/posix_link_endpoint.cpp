#include "maplink/posix_link_endpoint.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
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

// A connection whose request frame is still arriving.
struct PosixLinkEndpoint::Arriving {
    UniqueFd fd;
    Deadline deadline;
    std::vector<std::uint8_t> bytes;  // the header, then the data
    std::size_t have = 0;
    std::optional<FrameHeader> header;

    enum class Progress { Waiting, Complete, Failed };

    // Reads what the socket holds without blocking.
    Progress ReadAvailable() {
        for (;;) {
            const ssize_t n = read(fd.Get(), bytes.data() + have, bytes.size() - have);
            if (n == 0) return Progress::Failed;  // closed before the frame was whole
            if (n < 0) {
                if (errno == EINTR) continue;
                return errno == EAGAIN || errno == EWOULDBLOCK ? Progress::Waiting
                                                               : Progress::Failed;
            }
            have += static_cast<std::size_t>(n);
            if (have < bytes.size()) continue;
            if (header) return Progress::Complete;
            header = DecodeRequestHeader(bytes.data());
            if (!header) return Progress::Failed;
            if (header->cbData == 0) return Progress::Complete;
            bytes.resize(kFrameHeaderSize + header->cbData);
        }
    }
};

void PosixLinkEndpoint::ListenerLoop() {
    std::vector<Arriving> arriving;
    std::vector<pollfd> fds;
    for (;;) {
        fds.assign({{listenFd_.Get(), POLLIN, 0}, {stopRead_.Get(), POLLIN, 0}});
        auto nextDeadline = Deadline::max();
        for (const Arriving& a : arriving) {
            fds.push_back({a.fd.Get(), POLLIN, 0});
            nextDeadline = std::min(nextDeadline, a.deadline);
        }
        int timeout = -1;
        if (!arriving.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                nextDeadline - std::chrono::steady_clock::now());
            timeout = static_cast<int>(std::max<std::int64_t>(0, left.count() + 1));
        }
        if (poll(fds.data(), fds.size(), timeout) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;

        // Work off the connections first, then accept, so that fds still
        // lines up with arriving while it is read.
        const auto now = std::chrono::steady_clock::now();
        std::vector<Arriving> still;
        still.reserve(arriving.size());
        for (std::size_t i = 0; i < arriving.size(); ++i) {
            Arriving& a = arriving[i];
            auto progress = Arriving::Progress::Waiting;
            if (fds[i + 2].revents) progress = a.ReadAvailable();
            if (progress == Arriving::Progress::Complete) {
                Incoming in;
                in.message.wParam = a.header->wParam;
                in.message.dwData = a.header->dwData;
                in.message.flags = a.header->flags;
                in.message.data.assign(a.bytes.begin() + kFrameHeaderSize, a.bytes.end());
                in.connection = std::move(a.fd);
                Queue(std::move(in));
            } else if (progress == Arriving::Progress::Waiting && now < a.deadline) {
                still.push_back(std::move(a));
            }  // failed or too slow: closed without a reply
        }
        arriving = std::move(still);
        if (fds[0].revents & POLLIN) Accept(arriving);
    }
}

void PosixLinkEndpoint::Accept(std::vector<Arriving>& arriving) {
    // Enough for any honest use; beyond it new peers wait in the backlog
    // until a slot frees, so a flood cannot exhaust the descriptors.
    constexpr std::size_t kMaxArriving = 64;
    if (arriving.size() >= kMaxArriving) return;
    UniqueFd connection(accept(listenFd_.Get(), nullptr, nullptr));
    if (!connection.Valid()) return;
    fcntl(connection.Get(), F_SETFD, FD_CLOEXEC);
    fcntl(connection.Get(), F_SETFL, fcntl(connection.Get(), F_GETFL) | O_NONBLOCK);
    if (!PeerIsSameUser(connection.Get())) return;  // closed without reply
    Arriving a;
    a.fd = std::move(connection);
    a.deadline = DeadlineFromNow();
    a.bytes.resize(kFrameHeaderSize);
    arriving.push_back(std::move(a));
}

void PosixLinkEndpoint::Queue(Incoming in) {
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

void PosixLinkEndpoint::WaitAndProcess(std::chrono::milliseconds duration,
                                       const std::function<bool()>& until) {
    if (!OnDispatchThread() || !wakeRead_.Valid()) {
        std::this_thread::sleep_for(duration);
        return;
    }
    const Deadline deadline = std::chrono::steady_clock::now() + duration;
    do {
        ProcessPendingMessages();
        if (interrupted_.exchange(false) || (until && until())) return;
    } while (WaitForFd(wakeRead_.Get(), false, -1, deadline) == WaitResult::Ready);
}

void PosixLinkEndpoint::Interrupt() {
    interrupted_ = true;
    const char byte = 1;
    if (wakeWrite_.Valid()) (void)!write(wakeWrite_.Get(), &byte, 1);
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
