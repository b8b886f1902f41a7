#include "import/photo_read_pool.h"

#include <algorithm>
#include <exception>

namespace {

constexpr int kMaxWorkers = 4;

}  // namespace

int PhotoReadPool::DefaultWorkerCount() {
    const int processors = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(processors, 1, kMaxWorkers);
}

PhotoReadPool::PhotoReadPool(const StopToken& stop, int workers, ReadFunction read)
    : stop_(stop), readPhoto_(std::move(read)) {
    const int count = std::max(workers, 1);
    workers_.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) workers_.emplace_back([this] { Work(); });
}

PhotoReadPool::~PhotoReadPool() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    queued_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

void PhotoReadPool::Submit(std::string path) {
    {
        std::lock_guard lock(mutex_);
        slots_.push_back({{std::move(path), std::nullopt}});
    }
    queued_.notify_one();
}

std::size_t PhotoReadPool::Pending() const {
    std::lock_guard lock(mutex_);
    return slots_.size();
}

std::optional<PhotoRead> PhotoReadPool::TakeOldest() {
    std::unique_lock lock(mutex_);
    if (slots_.empty()) return std::nullopt;
    done_.wait(lock, [this] {
        const SlotState state = slots_.front().state;
        return state == SlotState::Done || state == SlotState::Skipped;
    });
    Slot slot = std::move(slots_.front());
    slots_.pop_front();
    ++firstSlotNumber_;
    if (slot.state == SlotState::Skipped) return std::nullopt;
    return std::move(slot.read);
}

void PhotoReadPool::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock,
                     [this] { return closing_ || nextToRead_ < firstSlotNumber_ + slots_.size(); });
        if (closing_) return;
        Slot& slot = slots_[static_cast<std::size_t>(nextToRead_ - firstSlotNumber_)];
        ++nextToRead_;
        if (stop_.StopRequested()) {
            slot.state = SlotState::Skipped;
        } else {
            slot.state = SlotState::Reading;
            lock.unlock();
            std::optional<CataloguePhoto> photo;
            try {
                photo = readPhoto_(slot.read.path);
            } catch (const std::exception&) {
                // Out of memory over one hostile file: that file is unreadable.
            }
            lock.lock();
            slot.read.photo = std::move(photo);
            slot.state = SlotState::Done;
        }
        done_.notify_one();  // only the owner waits for it
    }
}
