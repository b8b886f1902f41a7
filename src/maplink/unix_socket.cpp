#include "maplink/unix_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace {

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;
#else
constexpr int kSendFlags = 0;
#endif

int MillisecondsLeft(Deadline deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, 60'000));
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Reset();
        fd_ = other.Release();
    }
    return *this;
}

int UniqueFd::Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::Reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

ConnectResult ConnectUnix(const std::string& path, Deadline deadline, UniqueFd& out) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof(addr.sun_path)) return ConnectResult::Failed;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);

    UniqueFd fd(socket(AF_UNIX, SOCK_STREAM, 0));
    if (!fd.Valid()) return ConnectResult::Failed;
    fcntl(fd.Get(), F_SETFD, FD_CLOEXEC);
    fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) | O_NONBLOCK);
#ifdef SO_NOSIGPIPE
    int one = 1;
    setsockopt(fd.Get(), SOL_SOCKET, SO_NOSIGPIPE, &one, sizeof one);
#endif
    for (;;) {
        if (connect(fd.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) break;
        if (errno == EINTR) continue;
        if (errno == ECONNREFUSED) return ConnectResult::Refused;
        if (errno == ENOENT) return ConnectResult::Missing;
        if (errno == EINPROGRESS) {
            // Only some systems complete Unix connects asynchronously.
            if (WaitForFd(fd.Get(), true, -1, deadline) != WaitResult::Ready) {
                return ConnectResult::Failed;
            }
            int error = 0;
            socklen_t len = sizeof error;
            getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &len);
            if (error == 0) break;
            return error == ECONNREFUSED ? ConnectResult::Refused : ConnectResult::Failed;
        }
        if (errno != EAGAIN || std::chrono::steady_clock::now() >= deadline) {
            return ConnectResult::Failed;
        }
        // Listener's backlog is full: it is alive but busy.
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    out = std::move(fd);
    return ConnectResult::Connected;
}

bool PeerIsSameUser(int fd) {
#if defined(SO_PEERCRED)
    struct ucred cred {};
    socklen_t len = sizeof cred;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return false;
    return cred.uid == geteuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    if (getpeereid(fd, &uid, &gid) != 0) return false;
    return uid == geteuid();
#endif
}

WaitResult WaitForFd(int fd, bool forWriting, int otherFd, Deadline deadline) {
    for (;;) {
        pollfd fds[2] = {{fd, static_cast<short>(forWriting ? POLLOUT : POLLIN), 0},
                         {otherFd, POLLIN, 0}};
        int count = otherFd >= 0 ? 2 : 1;
        int n = poll(fds, count, MillisecondsLeft(deadline));
        if (n < 0) {
            if (errno == EINTR) continue;
            return WaitResult::Failed;
        }
        if (n == 0) {
            if (std::chrono::steady_clock::now() >= deadline) return WaitResult::TimedOut;
            continue;
        }
        if (count == 2 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) return WaitResult::Other;
        if (fds[0].revents & POLLNVAL) return WaitResult::Failed;
        // Hang-ups and errors surface in the following read or write.
        if (fds[0].revents) return WaitResult::Ready;
    }
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size, Deadline deadline) {
    while (size > 0) {
        ssize_t n = send(fd, data, size, kSendFlags);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (WaitForFd(fd, true, -1, deadline) != WaitResult::Ready) return false;
            continue;
        }
        return false;
    }
    return true;
}

bool ReadAll(int fd, std::uint8_t* data, std::size_t size, Deadline deadline, int stopFd) {
    while (size > 0) {
        ssize_t n = recv(fd, data, size, 0);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0) return false;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (WaitForFd(fd, false, stopFd, deadline) != WaitResult::Ready) return false;
    }
    return true;
}
