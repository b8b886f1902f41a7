#pragma once
// ViewerImageCache: the three decoded photos the viewer can show at once,
// each with its list index (-1 = empty). The prefetch worker fills it; the
// viewer reads it and replaces an entry when it turns a photo or gets its
// full-resolution picture.
//
// Threads: any. Every access to the slots holds the CacheGuard (the mutex
// below); cacheBusy is set while it is held. Images are shared read-only,
// so the picture the viewer shows stays valid after its slot is emptied.

#include <atomic>
#include <mutex>

#include "viewer/display_image.h"
#include "viewer/prefetch_plan.h"

class ViewerImageCache {
  public:
    struct Slot {
        DisplayImagePtr image;
        int index = -1;
        int reserved = 0;
    };

    // Holds the cache's lock for its scope and marks the cache busy.
    class CacheGuard {
      public:
        explicit CacheGuard(ViewerImageCache& cache);
        ~CacheGuard();
        CacheGuard(const CacheGuard&) = delete;
        CacheGuard& operator=(const CacheGuard&) = delete;

      private:
        ViewerImageCache& cache_;
        std::lock_guard<std::mutex> lock_;
    };

    // The image of the slot holding index, or null.
    DisplayImagePtr Find(int index);
    SlotIndices Indices();
    // Empties every slot.
    void Clear();
    // Number of slots holding an image.
    int Held();
    bool Busy() const { return cacheBusy_; }

    // With the CacheGuard held (the worker and the viewer's replacements).
    Slot& SlotAt(int slot) { return slots_[static_cast<std::size_t>(slot)]; }
    void EvictLocked(int slot);
    void ShiftAfterRemovalLocked(int removedIndex);
    // Puts image in place of the one the slot holding index has; false when
    // no slot holds index.
    bool ReplaceLocked(int index, DisplayImagePtr image);

  private:
    std::mutex guard_;
    std::atomic<bool> cacheBusy_{false};
    std::array<Slot, kCacheSlots> slots_;
};
