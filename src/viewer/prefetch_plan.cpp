#include "viewer/prefetch_plan.h"

#include <cstdlib>

namespace {

bool Holds(const SlotIndices& slots, int index) {
    for (int held : slots)
        if (held == index) return true;
    return false;
}

bool FarFrom(int held, int currentIndex) {
    return held != -1 && std::abs(held - currentIndex) > 1;
}

PrefetchStep LoadCurrent(const SlotIndices& slots, int currentIndex) {
    PrefetchStep step;
    SlotIndices after = slots;
    for (int i = 0; i < kCacheSlots; ++i) {
        const bool duplicate = after[i] != -1 && after[i] == after[(i + 1) % kCacheSlots];
        if (FarFrom(after[i], currentIndex) || duplicate) {
            step.evict[i] = true;
            after[i] = -1;
        }
    }
    if (Holds(after, currentIndex)) return step;
    for (int i = 0; i < kCacheSlots; ++i) {
        if (after[i] == -1) {
            step.slot = i;
            step.photoIndex = currentIndex;
            break;
        }
    }
    return step;
}

PrefetchStep LoadNeighbour(const SlotIndices& slots, int currentIndex, int neighbour) {
    PrefetchStep step;
    for (int i = 0; i < kCacheSlots; ++i) {
        if (slots[i] == -1 || FarFrom(slots[i], currentIndex)) {
            step.evict[i] = slots[i] != -1;
            step.slot = i;
            step.photoIndex = neighbour;
            break;
        }
    }
    return step;
}

}  // namespace

PrefetchStep PlanPrefetchStep(const SlotIndices& slots, int currentIndex, int count) {
    if (count <= 0 || currentIndex < 0 || currentIndex >= count) return {};
    if (!Holds(slots, currentIndex)) return LoadCurrent(slots, currentIndex);
    if (currentIndex + 1 < count && !Holds(slots, currentIndex + 1))
        return LoadNeighbour(slots, currentIndex, currentIndex + 1);
    if (currentIndex >= 1 && !Holds(slots, currentIndex - 1))
        return LoadNeighbour(slots, currentIndex, currentIndex - 1);
    return {};
}

SlotIndices ShiftAfterRemoval(const SlotIndices& slots, int removedIndex) {
    SlotIndices shifted = slots;
    for (int& held : shifted) {
        if (held == removedIndex)
            held = -1;
        else if (held > removedIndex)
            --held;
    }
    return shifted;
}
