#pragma once
// File and folder status through the operating system.

#include <cstdint>
#include <optional>
#include <string>

struct FileStatus {
    std::int64_t size = 0;
    std::int64_t creationTime = 0;   // seconds since 1970-01-01 00:00 UTC
    std::int64_t lastWriteTime = 0;  // seconds since 1970-01-01 00:00 UTC
};

// Size, creation and last-write time of a file. The creation time is the
// birth time where the file system records one, else the change time.
std::optional<FileStatus> StatFile(const std::string& utf8Path);

// Size of the file in bytes, or -1 when it cannot be found. Doubles as the
// test whether a file exists.
std::int64_t FileSizeOfUtf8Path(const std::string& utf8Path);

// Last-write time of the folder (or file) entry itself, not its contents;
// 0 when the path cannot be found.
std::int64_t FolderLastWriteTime(const std::string& utf8Path);

bool IsDirectory(const std::string& utf8Path);

// Sets the last-write time of an existing file, leaving the other times
// alone. Never creates the file.
bool SetFileLastWriteTime(const std::string& utf8Path, std::int64_t secondsSinceEpoch);
