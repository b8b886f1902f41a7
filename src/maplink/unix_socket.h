#pragma once
// Small blocking-with-deadline helpers over Unix-domain stream sockets, used
// by the POSIX link endpoint only.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

using Deadline = std::chrono::steady_clock::time_point;

// Owns one file descriptor; closes it on destruction.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release();
    void Reset();

  private:
    int fd_ = -1;
};

enum class ConnectResult { Connected, Refused, Missing, Failed };

// Non-blocking, close-on-exec stream socket connected to path; a full
// backlog is retried until the deadline.
ConnectResult ConnectUnix(const std::string& path, Deadline deadline, UniqueFd& out);

// True when the socket's peer runs under this process's effective user id.
bool PeerIsSameUser(int fd);

enum class WaitResult { Ready, Other, TimedOut, Failed };

// Waits until fd is readable (or writable), or otherFd (when >= 0) becomes
// readable, or the deadline passes.
WaitResult WaitForFd(int fd, bool forWriting, int otherFd, Deadline deadline);

// Writes all bytes before the deadline; false on error, closed peer or time-out.
bool WriteAll(int fd, const std::uint8_t* data, std::size_t size, Deadline deadline);

// Reads exactly size bytes before the deadline; false on error, end of
// stream before size bytes, time-out, or when stopFd becomes readable.
bool ReadAll(int fd, std::uint8_t* data, std::size_t size, Deadline deadline, int stopFd = -1);
