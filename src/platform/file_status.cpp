#include "platform/file_status.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

std::optional<FileStatus> StatFile(const std::string& utf8Path) {
#if defined(STATX_BTIME)
    struct statx sx {};
    if (statx(AT_FDCWD, utf8Path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0) {
        FileStatus status;
        status.size = static_cast<std::int64_t>(sx.stx_size);
        status.lastWriteTime = sx.stx_mtime.tv_sec;
        status.creationTime =
            (sx.stx_mask & STATX_BTIME) ? sx.stx_btime.tv_sec : sx.stx_ctime.tv_sec;
        return status;
    }
    return std::nullopt;
#else
    struct stat st {};
    if (stat(utf8Path.c_str(), &st) != 0) return std::nullopt;
    return FileStatus{st.st_size, st.st_ctime, st.st_mtime};
#endif
}

std::int64_t FileSizeOfUtf8Path(const std::string& utf8Path) {
    struct stat st {};
    if (utf8Path.empty() || stat(utf8Path.c_str(), &st) != 0) return -1;
    return st.st_size;
}

std::int64_t FolderLastWriteTime(const std::string& utf8Path) {
    struct stat st {};
    if (utf8Path.empty() || stat(utf8Path.c_str(), &st) != 0) return 0;
    return st.st_mtime;
}

bool IsDirectory(const std::string& utf8Path) {
    struct stat st {};
    return stat(utf8Path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SetFileLastWriteTime(const std::string& utf8Path, std::int64_t secondsSinceEpoch) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;  // access time stays
    times[1].tv_sec = static_cast<time_t>(secondsSinceEpoch);
    times[1].tv_nsec = 0;
    return utimensat(AT_FDCWD, utf8Path.c_str(), times, 0) == 0;
}
