#include "platform/file_replace.h"

#include <fcntl.h>
#include <glob.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/file_ops.h"
#include "platform/native_path.h"

namespace {

constexpr const char* kTemporarySuffix = ".darazoz-tmp";

std::string TemporaryPrefix(const std::string& target) {
    const std::size_t nameStart = NameStart(target);
    return target.substr(0, nameStart) + "." + target.substr(nameStart) + ".";
}

bool IsGlobSpecial(char c) {
    return c == '*' || c == '?' || c == '[' || c == ']' || c == '\\';
}

// Removes temporary files of target left by processes that no longer run.
void RemoveStaleTemporaries(const std::string& target) {
    std::string pattern;
    for (char c : TemporaryPrefix(target)) {
        if (IsGlobSpecial(c)) pattern += '\\';
        pattern += c;
    }
    pattern += std::string("*") + kTemporarySuffix;
    glob_t found{};
    if (glob(pattern.c_str(), GLOB_NOSORT, nullptr, &found) == 0) {
        const std::size_t prefixLength = TemporaryPrefix(target).size();
        for (std::size_t i = 0; i < found.gl_pathc; ++i) {
            const std::string stale = found.gl_pathv[i];
            const long pid = std::strtol(stale.c_str() + prefixLength, nullptr, 10);
            if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
                RemoveFile(stale);
        }
    }
    globfree(&found);
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
    // File systems without the flag: a hard link also refuses an existing name.
    if (link(from.c_str(), to.c_str()) == 0) {
        RemoveFile(from);
        return true;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) return false;
    // Neither: check, then rename (a race with another writer remains).
    if (PathEntryExists(to)) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

bool FileOperations::Write(int fd, std::span<const std::uint8_t> bytes) const {
    while (!bytes.empty()) {
        ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

bool FileOperations::Copy(int outFd, int inFd, std::uint64_t offset, std::uint64_t length) const {
    auto in = static_cast<off_t>(offset);
    while (length > 0) {
        ssize_t copied = copy_file_range(inFd, &in, outFd, nullptr, length, 0);
        if (copied < 0 && errno == EINTR) continue;
        if (copied < 0 &&
            (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
            break;  // not between these files: copy through memory below
        }
        if (copied <= 0) {
            if (copied == 0) errno = EIO;  // the file got shorter meanwhile
            return false;
        }
        length -= static_cast<std::uint64_t>(copied);
    }
    std::vector<std::uint8_t> buffer(1 << 20);
    while (length > 0) {
        ssize_t got =
            pread(inFd, buffer.data(), std::min<std::uint64_t>(length, buffer.size()), in);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got == 0) errno = EIO;
            return false;
        }
        if (!Write(outFd,
                   std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(got))))
            return false;
        in += got;
        length -= static_cast<std::uint64_t>(got);
    }
    return true;
}

bool FileOperations::Flush(int fd) const {
    return fdatasync(fd) == 0;
}

bool FileOperations::FlushFileSystem(const std::string& folder) const {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = syncfs(fd) == 0;
    close(fd);
    return ok;
}

bool FileOperations::Rename(const std::string& from, const std::string& to, bool noReplace) const {
    return noReplace ? RenameNoReplace(from, to) : std::rename(from.c_str(), to.c_str()) == 0;
}

bool FileOperations::FlushFolder(const std::string& folder) const {
    return FlushFolderToDisk(folder);
}

const FileOperations& SystemFileOperations() {
    static const FileOperations system;
    return system;
}

std::string TemporaryNameFor(const std::string& target) {
    return TemporaryPrefix(target) + std::to_string(getpid()) + kTemporarySuffix;
}

std::string FolderForReplace(const std::string& path) {
    std::string folder(FolderOfPath(path));
    return folder.empty() ? std::string(".") : folder;
}

ReplaceResult WriteTemporary(const std::string& target, const NewContent& content,
                             unsigned permissions, bool noReplace, bool flush,
                             PendingReplace& pending, const FileOperations& ops) {
    RemoveStaleTemporaries(target);
    pending = {TemporaryNameFor(target), target, noReplace, false};
    int fd = open(pending.temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return ReplaceResult::WriteFailed;
    bool written = fchmod(fd, permissions & 07777) == 0;
    for (std::span<const std::uint8_t> piece : content.pieces)
        written = written && ops.Write(fd, piece);
    if (content.tailLength > 0)
        written = written && ops.Copy(fd, content.tailFd, content.tailOffset, content.tailLength);
    for (std::span<const std::uint8_t> piece : content.after)
        written = written && ops.Write(fd, piece);
    written = written && (!flush || ops.Flush(fd));
    written = close(fd) == 0 && written;
    if (!written) {
        DiscardTemporary(pending);
        return ReplaceResult::WriteFailed;
    }
    pending.flushed = flush;
    return ReplaceResult::Done;
}

bool FlushTemporaries(std::span<PendingReplace* const> pending, const FileOperations& ops) {
    std::set<dev_t> flushedDevices;
    for (PendingReplace* p : pending) {
        if (p->flushed) continue;
        struct stat status;
        if (stat(p->temporary.c_str(), &status) != 0) return false;
        if (flushedDevices.insert(status.st_dev).second &&
            !ops.FlushFileSystem(FolderForReplace(p->temporary)))
            return false;
    }
    for (PendingReplace* p : pending) p->flushed = true;
    return true;
}

ReplaceResult PutInPlace(PendingReplace& pending, bool flushFolder, const FileOperations& ops) {
    if (!pending.flushed || !ops.Rename(pending.temporary, pending.target, pending.noReplace)) {
        const bool occupied = pending.flushed && pending.noReplace && errno == EEXIST;
        DiscardTemporary(pending);
        return occupied ? ReplaceResult::Occupied : ReplaceResult::ReplaceFailed;
    }
    pending.temporary.clear();
    // The new content is complete on disk; flushing the folder makes the
    // rename itself durable. Its failure cannot undo the replace.
    if (flushFolder) ops.FlushFolder(FolderForReplace(pending.target));
    return ReplaceResult::Done;
}

void DiscardTemporary(PendingReplace& pending) {
    if (!pending.temporary.empty()) RemoveFile(pending.temporary);
    pending.temporary.clear();
}

ReplaceResult ReplaceFileContents(const std::string& target, const NewContent& content,
                                  unsigned permissions, bool noReplace, const FileOperations& ops) {
    PendingReplace pending;
    ReplaceResult written =
        WriteTemporary(target, content, permissions, noReplace, true, pending, ops);
    return written != ReplaceResult::Done ? written : PutInPlace(pending, true, ops);
}
