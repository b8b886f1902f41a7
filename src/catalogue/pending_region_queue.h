#pragma once
// The photos whose region names wait for the companion map, in the order
// they were queued. The queue lives in memory only.
//
// Threads: any thread; every member takes the queue's own lock, so a push
// by the import never interleaves with a lookup's drop.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

struct PendingRegion {
    std::int64_t idPic;
    double latitude;
    double longitude;
};
using PendingRegionList = std::vector<PendingRegion>;

class PendingRegionQueue {
  public:
    void Push(const PendingRegion& entry);
    // Puts entries in place of everything queued (a lookup of chosen photos).
    void Replace(PendingRegionList entries);
    PendingRegionList Snapshot() const;
    // Removes the first count entries (those a lookup asked for) and puts
    // keepInFront before the entries queued since.
    void DropFirst(std::size_t count, const PendingRegionList& keepInFront = {});
    std::size_t Size() const;
    void Clear();

  private:
    mutable std::mutex mutex_;
    PendingRegionList entries_;
};
