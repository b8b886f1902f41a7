#include "viewer/prefetch_worker.h"

#include <chrono>
#include <cstdlib>

#include "platform/thread_priority.h"

namespace {

// How long the idle worker sleeps before it looks at the exit token again.
constexpr std::chrono::milliseconds kIdleTick{20};

}  // namespace

PrefetchWorker::SourceLookup CatalogueSources(Library& library) {
    return [&library](PhotoRef photo) { return LoadPhotoDisplaySource(library, photo); };
}

PrefetchWorker::PrefetchWorker(ViewerImageCache& cache, SourceLookup lookup, Decoder decoder)
    : cache_(cache), lookup_(std::move(lookup)), decoder_(std::move(decoder)) {
    if (!decoder_) decoder_ = DecodeDisplayImage;
}

PrefetchWorker::~PrefetchWorker() {
    stop_.RequestStop();
    cancelRunning_ = true;
    Wake();
    if (thread_.joinable()) thread_.join();
}

void PrefetchWorker::Wake() {
    {
        std::lock_guard lock(state_);
        woken_ = true;
    }
    wake_.notify_all();
}

void PrefetchWorker::Reset(std::vector<PhotoRef> photos, int currentIndex) {
    {
        std::lock_guard lock(state_);
        photos_ = std::move(photos);
        currentIndex_ = currentIndex;
        ++generation_;
        fullResolutionIndex_ = -1;
        cache_.Clear();
        CancelStaleDecodeLocked();
    }
    if (!thread_.joinable()) {
        // At most one prefetch worker runs; without the slot there is none.
        WorkerSlot slot(WorkerKind::Prefetch);
        if (slot.Held()) {
            workerSlot_.emplace(std::move(slot));
            thread_ = std::thread([this] { Run(); });
        }
    }
    Wake();
}

void PrefetchWorker::SetCurrent(int currentIndex) {
    {
        std::lock_guard lock(state_);
        currentIndex_ = currentIndex;
        CancelStaleDecodeLocked();
    }
    Wake();
}

void PrefetchWorker::ClearCache() {
    {
        std::lock_guard lock(state_);
        ++generation_;
        fullResolutionIndex_ = -1;
        cache_.Clear();
        CancelStaleDecodeLocked();
    }
    Wake();
}

void PrefetchWorker::RemoveAt(int index) {
    std::lock_guard lock(state_);
    if (index < 0 || index >= static_cast<int>(photos_.size())) return;
    photos_.erase(photos_.begin() + index);
    if (currentIndex_ > index) --currentIndex_;
    ++generation_;
    fullResolutionIndex_ = -1;
    CancelStaleDecodeLocked();
    ViewerImageCache::CacheGuard guard(cache_);
    cache_.ShiftAfterRemovalLocked(index);
}

void PrefetchWorker::Pause() {
    paused_ = true;
}

void PrefetchWorker::Resume() {
    paused_ = false;
    Wake();
}

void PrefetchWorker::RequestFullResolution(int index) {
    {
        std::lock_guard lock(state_);
        if (fullResolutionIndex_ == index) return;
        fullResolutionIndex_ = index;
    }
    Wake();
}

void PrefetchWorker::SetScreen(QSize screen, qreal devicePixelRatio) {
    std::lock_guard lock(state_);
    screen_ = screen;
    devicePixelRatio_ = devicePixelRatio;
}

void PrefetchWorker::SetAutoOrient(bool autoOrient) {
    std::lock_guard lock(state_);
    autoOrient_ = autoOrient;
}

void PrefetchWorker::CancelStaleDecodeLocked() {
    if (!busy_) return;
    const bool otherList = running_.generation != generation_;
    // The planner evicts photos more than one step away; a full-resolution
    // picture serves only the photo on screen.
    const bool outOfReach = std::abs(running_.index - currentIndex_) > 1 ||
                            (running_.fullResolution && running_.index != currentIndex_);
    if (otherList || outOfReach) cancelRunning_ = true;
}

int PrefetchWorker::Count() {
    std::lock_guard lock(state_);
    return static_cast<int>(photos_.size());
}

bool PrefetchWorker::Idle() {
    std::lock_guard lock(state_);
    if (busy_) return false;
    const int count = static_cast<int>(photos_.size());
    if (fullResolutionIndex_ >= 0) return false;
    return PlanPrefetchStep(cache_.Indices(), currentIndex_, count).slot < 0;
}

std::optional<PrefetchWorker::Task> PrefetchWorker::NextTask() {
    // Under state_.
    const int count = static_cast<int>(photos_.size());
    ViewerImageCache::CacheGuard guard(cache_);
    if (fullResolutionIndex_ >= 0) {
        const int index = fullResolutionIndex_;
        fullResolutionIndex_ = -1;
        for (int i = 0; i < kCacheSlots; ++i) {
            const ViewerImageCache::Slot& slot = cache_.SlotAt(i);
            if (slot.index == index && slot.image && slot.image->Reduced()) {
                Task task{i,          index,
                          true,       slot.image->quarterTurns,
                          slot.image, photos_[static_cast<std::size_t>(index)],
                          generation_};
                return task;
            }
        }
    }
    SlotIndices indices;
    for (int i = 0; i < kCacheSlots; ++i) indices[i] = cache_.SlotAt(i).index;
    const PrefetchStep step = PlanPrefetchStep(indices, currentIndex_, count);
    for (int i = 0; i < kCacheSlots; ++i) {
        if (!step.evict[i]) continue;
        evicted_.push_back(std::move(cache_.SlotAt(i).image));
        cache_.EvictLocked(i);
    }
    if (step.slot < 0) return std::nullopt;
    Task task;
    task.slot = step.slot;
    task.index = step.photoIndex;
    task.photo = photos_[static_cast<std::size_t>(step.photoIndex)];
    task.generation = generation_;
    return task;
}

void PrefetchWorker::Store(const Task& task, DisplayImage image) {
    {
        std::lock_guard lock(state_);
        busy_ = false;
        running_ = {};
        // The list changed meanwhile, or the user moved away from the photo.
        if (task.generation != generation_ || cancelRunning_ || image.cancelled) return;
        auto shared = std::make_shared<const DisplayImage>(std::move(image));
        ViewerImageCache::CacheGuard guard(cache_);
        ViewerImageCache::Slot& slot = cache_.SlotAt(task.slot);
        if (task.fullResolution) {
            // The viewer may have turned the photo while it was decoded.
            if (slot.index != task.index || slot.image != task.replaces) return;
            // The screen-sized picture stays for the fitted view.
            DisplayImage merged = *task.replaces;
            if (shared->placeholder || shared->fullSize != merged.fullSize)
                merged.fullResolutionFailed = true;
            else
                merged.fullPicture = shared->picture;
            slot.image = std::make_shared<const DisplayImage>(std::move(merged));
        } else {
            if (slot.index != -1) return;
            slot.image = std::move(shared);
            slot.index = task.index;
        }
    }
    // Queued to the UI thread; the destructor joins this thread before the
    // notices object goes, and pending calls die with it.
    QMetaObject::invokeMethod(
        &notices_, [this, index = task.index] { emit notices_.stored(index); },
        Qt::QueuedConnection);
}

void PrefetchWorker::Run() {
    // The decodes (and the band threads they start) yield to the UI thread,
    // so that a thumbnail standing in and a picture just stored are painted
    // at once rather than beside two decoding threads on two cores.
    LowerThisThreadPriority();
    while (!stop_.StopRequested()) {
        std::optional<Task> task;
        DecodeRequest request;
        {
            std::unique_lock lock(state_);
            if (!paused_) task = NextTask();
            if (!task && !evicted_.empty()) {
                lock.unlock();
                evicted_.clear();
                continue;
            }
            if (!task) {
                wake_.wait_for(lock, kIdleTick, [this] { return woken_ || stop_.StopRequested(); });
                woken_ = false;
                continue;
            }
            busy_ = true;
            running_ = *task;
            cancelRunning_ = stop_.StopRequested();
            request.cancel = &cancelRunning_;
            request.screen = screen_;
            request.devicePixelRatio = devicePixelRatio_;
            request.autoOrient = autoOrient_;
        }
        if (const auto source = lookup_(task->photo)) {
            request.path = source->fullPath;
            request.orientation = source->orientation;
        }
        request.fullResolution = task->fullResolution;
        request.fixedQuarterTurns = task->fixedTurns;
        Store(*task, request.path.empty() ? PlaceholderImage({}) : decoder_(request));
        evicted_.clear();
    }
    std::lock_guard lock(state_);
    busy_ = false;
    running_ = {};
    workerSlot_.reset();
}
