#include "catalogue/pending_region_queue.h"

#include <algorithm>

void PendingRegionQueue::Push(const PendingRegion& entry) {
    std::lock_guard lock(mutex_);
    entries_.push_back(entry);
}

void PendingRegionQueue::Replace(PendingRegionList entries) {
    std::lock_guard lock(mutex_);
    entries_ = std::move(entries);
}

PendingRegionList PendingRegionQueue::Snapshot() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

void PendingRegionQueue::DropFirst(std::size_t count, const PendingRegionList& keepInFront) {
    std::lock_guard lock(mutex_);
    entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(
                                                            std::min(count, entries_.size())));
    entries_.insert(entries_.begin(), keepInFront.begin(), keepInFront.end());
}

std::size_t PendingRegionQueue::Size() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

void PendingRegionQueue::Clear() {
    std::lock_guard lock(mutex_);
    entries_.clear();
}
