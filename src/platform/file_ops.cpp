#include "platform/file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_replace.h"

namespace {

bool FlushOpened(const std::string& path, int flags) {
    int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

}  // namespace

ReadOnlyFile::ReadOnlyFile(const std::string& path)
    : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}

ReadOnlyFile::~ReadOnlyFile() {
    if (fd_ >= 0) close(fd_);
}

std::optional<OpenFileFacts> RegularFileFacts(int fd) {
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return OpenFileFacts{static_cast<std::uint64_t>(status.st_size), status.st_mode};
}

bool ReadAt(int fd, std::uint64_t offset, std::span<std::uint8_t> out) {
    return ReadAtMost(fd, offset, out) == out.size();
}

std::size_t ReadAtMost(int fd, std::uint64_t offset, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        ssize_t got =
            pread(fd, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool PathEntryExists(const std::string& path) {
    struct stat status;
    return lstat(path.c_str(), &status) == 0;
}

bool IsWritableFile(const std::string& path) {
    return access(path.c_str(), W_OK) == 0;
}

bool RemoveFile(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

bool WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = SystemFileOperations().Write(fd, bytes);
    const int error = errno;
    if (close(fd) != 0) return false;
    errno = error;
    return written;
}

bool FlushFileToDisk(const std::string& path) {
    return FlushOpened(path, O_RDONLY);
}

bool FlushFolderToDisk(const std::string& folder) {
    return FlushOpened(folder, O_RDONLY | O_DIRECTORY);
}

bool OutputIsTerminal() {
    return isatty(STDOUT_FILENO) && isatty(STDERR_FILENO);
}

unsigned long CurrentUserId() {
    return getuid();
}
