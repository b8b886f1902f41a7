#pragma once
// The progress of one library update or tidy, owned by whoever starts the
// worker and shows or prints it, and handed to the worker's body.
//
// Threads: the counters are atomics written by the worker and read without
// locking; the stop token is requested by the UI thread; the
// new files' paths are kept under a lock of their own; onChange is set while
// no worker runs and called on the worker.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue/process_flags.h"
#include "platform/stop_token.h"

enum class UpkeepChange {
    Refreshed,      // a modified file was read again (path: the file)
    PhotoRemoved,   // a photo whose file is gone lost its rows (path: the file)
    FolderRemoved,  // a folder that is gone or empty lost all its rows (path: the folder)
    FolderOffline,  // a folder on an unplugged volume was left alone (path: the folder)
    NewFileSeen,  // a JPEG in a catalogued folder that the catalogue does not hold (path: the file)
};

struct UpkeepProgress {
    // exit is the parent of the job's stop token: the program's exit token,
    // or a test's own.
    explicit UpkeepProgress(const StopToken* exit = &ExitToken) : stop(exit) {}

    std::atomic<int> foldersTotal{0};  // changed folders the update walks
    std::atomic<int> foldersDone{0};
    std::atomic<int> refreshed{0};
    std::atomic<int> photosRemoved{0};
    std::atomic<int> foldersRemoved{0};
    std::atomic<int> foldersOffline{0};
    std::atomic<int> copied{0};  // photos copied by the thorough tidy
    std::atomic<int> newFiles{0};
    // The job's stop, polled by the update and the tidy. Requested by the
    // update dialog's 取消 (and cleared when it opens): the update stops
    // between files and folders. Reset() leaves it alone.
    StopToken stop;
    std::function<void(UpkeepChange, const std::string& path)> onChange;

    void Reset() {
        foldersTotal = 0;
        foldersDone = 0;
        refreshed = 0;
        photosRemoved = 0;
        foldersRemoved = 0;
        foldersOffline = 0;
        copied = 0;
        newFiles = 0;
        std::lock_guard lock(newFilesMutex_);
        newFilePaths_.clear();
    }
    void Report(UpkeepChange change, const std::string& path);
    // The files reported as NewFileSeen since the last Reset, in order.
    std::vector<std::string> NewFilePaths() const;

  private:
    mutable std::mutex newFilesMutex_;
    std::vector<std::string> newFilePaths_;
};
