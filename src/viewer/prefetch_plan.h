#pragma once
// Which photo the prefetch worker decodes next into which cache slot. Pure
// rules over the slots' photo indices (-1 = empty), any thread.
//
// While the current photo is not cached: empty every slot more than one
// photo away from the current one, and a slot holding the same index as
// the next slot (cyclically); then decode the current photo into an empty
// slot. Once it is cached: decode the next photo, else the previous one,
// into the first slot that is empty or more than one photo away.

#include <array>

inline constexpr int kCacheSlots = 3;
using SlotIndices = std::array<int, kCacheSlots>;

struct PrefetchStep {
    std::array<bool, kCacheSlots> evict{};  // slots to empty first
    int slot = -1;                          // slot to decode into; -1: nothing to do
    int photoIndex = -1;                    // list index to decode
};

PrefetchStep PlanPrefetchStep(const SlotIndices& slots, int currentIndex, int count);

// The slot indices after photo removedIndex left the list: its slot
// empties and every index above it moves down by one.
SlotIndices ShiftAfterRemoval(const SlotIndices& slots, int removedIndex);
