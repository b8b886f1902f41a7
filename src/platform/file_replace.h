#pragma once
// Crash-safe writing of a whole file: the new content goes to a temporary
// file beside the target, is flushed to disk and renamed into place, then
// the folder is flushed. Until that rename the target is untouched; a
// failure at any step removes the temporary file.
//
// Many files can share one flush: write each temporary file without
// flushing, flush them all with FlushTemporaries, then put each in place.
// Every target is still replaced only after its new content is on disk.
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
    // Appends length bytes of inFd from offset (in the kernel where it can).
    virtual bool Copy(int outFd, int inFd, std::uint64_t offset, std::uint64_t length) const;
    // Flushes the file's data to the disk.
    virtual bool Flush(int fd) const;
    // Flushes everything written to the file system that holds folder.
    virtual bool FlushFileSystem(const std::string& folder) const;
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

// The new content: memory pieces, in order, then optionally a range of an
// open file (the part of the old file that stays as it was), then more
// memory pieces (a trailer written anew).
struct NewContent {
    std::span<const std::span<const std::uint8_t>> pieces;
    int tailFd = -1;
    std::uint64_t tailOffset = 0;
    std::uint64_t tailLength = 0;
    std::span<const std::span<const std::uint8_t>> after;
};

// A temporary file written and waiting to be renamed over its target.
struct PendingReplace {
    std::string temporary;
    std::string target;
    bool noReplace = false;
    bool flushed = false;
};

// Writes content to the temporary file of target with the given permission
// bits, flushed when flush is set. On failure nothing is left behind.
ReplaceResult WriteTemporary(const std::string& target, const NewContent& content,
                             unsigned permissions, bool noReplace, bool flush,
                             PendingReplace& pending,
                             const FileOperations& ops = SystemFileOperations());

// Flushes the temporary files not yet flushed (one flush per file system).
// False when that fails; the caller then discards them.
bool FlushTemporaries(std::span<PendingReplace* const> pending,
                      const FileOperations& ops = SystemFileOperations());

// Renames the flushed temporary file over its target (or, with noReplace,
// to a target that does not exist) and flushes the folder when flushFolder
// is set. On failure the temporary file is removed.
ReplaceResult PutInPlace(PendingReplace& pending, bool flushFolder,
                         const FileOperations& ops = SystemFileOperations());

// Removes a temporary file that will not be put in place.
void DiscardTemporary(PendingReplace& pending);

// WriteTemporary with flush, then PutInPlace.
ReplaceResult ReplaceFileContents(const std::string& target, const NewContent& content,
                                  unsigned permissions, bool noReplace,
                                  const FileOperations& ops = SystemFileOperations());

// The temporary name a replace of target by this process uses.
std::string TemporaryNameFor(const std::string& target);
// The folder of path ("." when it has none).
std::string FolderForReplace(const std::string& path);
