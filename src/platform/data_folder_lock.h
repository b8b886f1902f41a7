#pragma once
// An advisory lock on the data folder, held for the life of a process that
// loads and saves the catalogue, so that two processes never overwrite each
// other's saves. The lock is released by the kernel when the process ends,
// so a crash never leaves a stale lock behind.

#include <string>

class DataFolderLock {
  public:
    // Tries to take the lock on folder; check held().
    explicit DataFolderLock(const std::string& folder);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    bool held() const { return fd_ >= 0; }
    // Not held because another holder has it (rather than because the
    // folder cannot take a lock at all).
    bool busy() const { return busy_; }

  private:
    int fd_ = -1;
    bool busy_ = false;
};
