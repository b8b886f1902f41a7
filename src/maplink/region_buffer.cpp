#include "maplink/region_buffer.h"

#include <algorithm>
#include <cstring>

void RegionBuffer::Fill(std::array<char, kSlotSize>& slot, std::string_view name) {
    slot.fill('\0');
    std::size_t length = std::min(name.size(), kSlotSize - 1);
    if (length < name.size()) {
        // Step back over UTF-8 continuation bytes so the cut keeps whole characters.
        while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
    }
    std::memcpy(slot.data(), name.data(), length);
}

void RegionBuffer::Clear() {
    std::lock_guard lock(mutex_);
    for (auto& slot : slots_) slot.fill('\0');
}

void RegionBuffer::Replace(const std::vector<std::string>& names) {
    std::lock_guard lock(mutex_);
    for (int i = 0; i < kSlots; ++i) {
        Fill(slots_[i], i < static_cast<int>(names.size()) ? std::string_view(names[i]) : "");
    }
}

void RegionBuffer::SetSlot(int slot, std::string_view name) {
    std::lock_guard lock(mutex_);
    Fill(slots_.at(static_cast<std::size_t>(slot)), name);
}

std::string RegionBuffer::Slot(int slot) const {
    std::lock_guard lock(mutex_);
    const auto& s = slots_.at(static_cast<std::size_t>(slot));
    return std::string(s.data(), std::find(s.begin(), s.end(), '\0'));
}

void RegionBuffer::EndAwaiting() {
    {
        // Under the lock, so that a waiter cannot test the flag, miss this
        // change and then sleep through the notification.
        std::lock_guard lock(mutex_);
        awaitingRegionReply = false;
    }
    replied_.notify_all();
}

bool RegionBuffer::WaitForReply(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    return replied_.wait_for(lock, duration, [this] { return !awaitingRegionReply; });
}
