#pragma once
// The file calls of the photo writer, the catalogue save, the folder walk and
// the command line that the standard library does not offer: reads at an
// offset of an open file, flushes of a file or folder to the disk, and the
// facts of an open file the rewrite keeps. Paths are UTF-8 (the code page on
// POSIX). Any thread; every function reports failure through its result
// (with errno set on POSIX) and never throws.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// An open file descriptor for reading, closed with the object.
class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }

  private:
    int fd_;
};

struct OpenFileFacts {
    std::uint64_t size = 0;
    unsigned permissions = 0;  // the mode bits a replacement file takes over
};

// Size and mode of the open file fd; nullopt when it is not a regular file.
std::optional<OpenFileFacts> RegularFileFacts(int fd);

// Fills out with the bytes of fd from offset on; false when the file ends
// before out is full or the read fails.
bool ReadAt(int fd, std::uint64_t offset, std::span<std::uint8_t> out);

// Reads the bytes of fd from offset on into out until it is full, the file
// ends or a read fails; returns how many it read.
std::size_t ReadAtMost(int fd, std::uint64_t offset, std::span<std::uint8_t> out);

// Something (a file, a folder, a dangling link) has this name.
bool PathEntryExists(const std::string& path);

// This process may write the file.
bool IsWritableFile(const std::string& path);

// Removes the file (never a folder).
bool RemoveFile(const std::string& path);

// Creates the file, or empties it, and writes bytes into it (not flushed).
bool WriteNewFile(const std::string& path, std::span<const std::uint8_t> bytes);

// Flushes the file's content to the disk.
bool FlushFileToDisk(const std::string& path);

// Flushes the folder's entries to the disk, so that a rename into it lasts.
bool FlushFolderToDisk(const std::string& folder);

// Both the standard output and the standard error are a terminal.
bool OutputIsTerminal();

// The user id the per-volume trash folders are named after.
unsigned long CurrentUserId();
