#pragma once
// Reads photo files ahead of an import on a few threads of its own and
// hands the reads back in the order they were asked for, so that the one
// thread that writes the catalogue stores them in walk order. The read
// (file, decode of a generated thumbnail, its digest) is the costly part of
// a photo without an embedded thumbnail; the writes stay on one thread.
//
// Threads: Submit, Pending and TakeOldest are for the one thread that owns
// the pool; the reads run on the workers. A stop request skips every read
// not yet started; the destructor waits only for the reads under way.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "import/catalogue_photo_read.h"
#include "platform/stop_token.h"

struct PhotoRead {
    std::string path;
    std::optional<CataloguePhoto> photo;  // nothing: the file could not be read
};

class PhotoReadPool {
  public:
    using ReadFunction = std::function<std::optional<CataloguePhoto>(const std::string& path)>;

    // One worker per processor, at least 1 and at most 4: beyond that the
    // one writer and the disk set the pace.
    static int DefaultWorkerCount();

    PhotoReadPool(const StopToken& stop, int workers, ReadFunction read = ReadCataloguePhoto);
    ~PhotoReadPool();
    PhotoReadPool(const PhotoReadPool&) = delete;
    PhotoReadPool& operator=(const PhotoReadPool&) = delete;

    void Submit(std::string path);
    // Submitted and not yet taken.
    std::size_t Pending() const;
    // Waits for the oldest pending read. Nothing when it was skipped because
    // the stop was requested before it started (or nothing is pending).
    std::optional<PhotoRead> TakeOldest();

  private:
    enum class SlotState { Queued, Reading, Done, Skipped };
    struct Slot {
        PhotoRead read;
        SlotState state = SlotState::Queued;
    };

    void Work();

    const StopToken& stop_;
    const ReadFunction readPhoto_;
    mutable std::mutex mutex_;
    std::condition_variable queued_;  // a slot to read, or closing
    std::condition_variable done_;    // a slot read or skipped
    // Submission order; a worker reads its slot outside the lock, which is
    // safe because a deque keeps its elements in place when either end
    // changes and the owner removes only finished slots.
    std::deque<Slot> slots_;
    std::uint64_t firstSlotNumber_ = 0;  // submission number of slots_.front()
    std::uint64_t nextToRead_ = 0;       // submission number of the next slot to start
    bool closing_ = false;
    std::vector<std::thread> workers_;
};
