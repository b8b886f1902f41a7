#include "viewer/viewer_image_cache.h"

ViewerImageCache::CacheGuard::CacheGuard(ViewerImageCache& cache)
    : cache_(cache), lock_(cache.guard_) {
    cache_.cacheBusy_ = true;
}

ViewerImageCache::CacheGuard::~CacheGuard() {
    cache_.cacheBusy_ = false;
}

DisplayImagePtr ViewerImageCache::Find(int index) {
    CacheGuard guard(*this);
    for (const Slot& slot : slots_)
        if (slot.index == index && index >= 0) return slot.image;
    return nullptr;
}

SlotIndices ViewerImageCache::Indices() {
    CacheGuard guard(*this);
    SlotIndices indices;
    for (int i = 0; i < kCacheSlots; ++i) indices[i] = slots_[i].index;
    return indices;
}

void ViewerImageCache::Clear() {
    CacheGuard guard(*this);
    for (int i = 0; i < kCacheSlots; ++i) EvictLocked(i);
}

int ViewerImageCache::Held() {
    CacheGuard guard(*this);
    int held = 0;
    for (const Slot& slot : slots_) held += slot.image ? 1 : 0;
    return held;
}

void ViewerImageCache::EvictLocked(int slot) {
    slots_[slot] = Slot{};
}

void ViewerImageCache::ShiftAfterRemovalLocked(int removedIndex) {
    SlotIndices indices;
    for (int i = 0; i < kCacheSlots; ++i) indices[i] = slots_[i].index;
    const SlotIndices shifted = ShiftAfterRemoval(indices, removedIndex);
    for (int i = 0; i < kCacheSlots; ++i) {
        if (shifted[i] == -1)
            EvictLocked(i);
        else
            slots_[i].index = shifted[i];
    }
}

bool ViewerImageCache::ReplaceLocked(int index, DisplayImagePtr image) {
    for (Slot& slot : slots_) {
        if (slot.index == index && index >= 0) {
            slot.image = std::move(image);
            return true;
        }
    }
    return false;
}
