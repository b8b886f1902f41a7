#pragma once
// The region names of the last region reply of the companion map application
// (place 0 = largest administrative level), and the flag a sender polls
// while it waits for that reply.
//
// Threads: the reply handler writes it on the link's dispatch thread while a
// worker that sent the request waits for awaitingRegionReply to clear; a
// mutex keeps a late reply from tearing a slot a reader is copying. The flag
// is cleared only after the slots are written, so a reader that sees it
// cleared sees the names.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class RegionBuffer {
  public:
    static constexpr int kSlots = 8;
    static constexpr std::size_t kSlotSize = 128;  // bytes, NUL included

    std::atomic<bool> awaitingRegionReply{false};

    // Clears awaitingRegionReply and wakes the threads in WaitForReply.
    void EndAwaiting();
    // Returns as soon as awaitingRegionReply is clear, at the latest after
    // the duration; true when it is clear. Any thread but the one that
    // handles the replies (which would wait for itself).
    bool WaitForReply(std::chrono::milliseconds duration);

    // Empties all eight slots.
    void Clear();
    // Empties all slots, then fills slots 0..min(n, 8) - 1 from names, each
    // cut to at most 127 bytes without splitting a UTF-8 character.
    void Replace(const std::vector<std::string>& names);
    void SetSlot(int slot, std::string_view name);
    std::string Slot(int slot) const;

  private:
    static void Fill(std::array<char, kSlotSize>& slot, std::string_view name);

    mutable std::mutex mutex_;
    std::condition_variable replied_;
    std::array<std::array<char, kSlotSize>, kSlots> slots_{};
};
