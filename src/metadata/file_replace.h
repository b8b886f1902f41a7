#pragma once
// Crash-safe writing of a whole file: the new content goes to a temporary
// file beside the target, is flushed to disk and renamed into place, then
// the folder is flushed. Until that rename the target is untouched; a
// failure at any step removes the temporary file.
//
// Temporary files are named ".<name>.<pid>.darazoz-tmp". One left behind by a
// killed process is removed by the next replace of the same name once that
// process is gone.
//
// Threads: any thread; replaces of different targets may run at once.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The system calls a replace makes, replaceable so that tests can fail each
// step. Each returns false with errno set on failure.
class FileOperations {
  public:
    virtual ~FileOperations() = default;
    // Writes all bytes.
    virtual bool Write(int fd, std::span<const std::uint8_t> bytes) const;
    // Flushes the file's data to the disk.
    virtual bool Flush(int fd) const;
    // Renames from to to; with noReplace it fails (errno EEXIST) when to exists.
    virtual bool Rename(const std::string& from, const std::string& to, bool noReplace) const;
    virtual bool FlushFolder(const std::string& folder) const;
};

const FileOperations& SystemFileOperations();

enum class ReplaceResult {
    Done,
    Occupied,       // noReplace and the target exists
    WriteFailed,    // temporary file not created, written or flushed
    ReplaceFailed,  // the rename failed
};

// Writes the pieces, in order, as the new content of target with the given
// permission bits. noReplace refuses to replace an existing target.
ReplaceResult ReplaceFileContents(const std::string& target,
                                  std::span<const std::span<const std::uint8_t>> pieces,
                                  unsigned permissions, bool noReplace,
                                  const FileOperations& ops = SystemFileOperations());

// The temporary name a replace of target by this process uses.
std::string TemporaryNameFor(const std::string& target);
