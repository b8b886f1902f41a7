#pragma once
// PrefetchWorker: one background thread that keeps the current photo of
// the main view's list and its two neighbours decoded in the
// ViewerImageCache, so that stepping in the viewer shows a full image at
// once.
//
// The worker holds its own copy of the list (photo references) and of the
// current index, given by the UI thread. Each decode is tagged with the
// list's generation; a new list, a removal or a cleared cache starts a new
// generation, and a decode of an older one is dropped instead of stored.
// Pausing is cooperative: the worker looks at the flag before each photo.
// A decode the user moved away from (a jump, a new list) is cancelled: it
// stops part-way and its result is dropped.
//
// Threads: the public functions are for the UI thread, where the worker is
// created; Notices() signals there (queued from the worker thread). The worker stops on
// the exit token and when it is destroyed (the destructor waits for it).

#include <QObject>
#include <QSize>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "catalogue/photo_display_source.h"
#include "catalogue/process_flags.h"
#include "messaging/worker_registry.h"
#include "record/photo_ref.h"
#include "viewer/viewer_image_cache.h"

class PrefetchNotices : public QObject {
    Q_OBJECT

  signals:
    void stored(int index);
};

class Library;

class PrefetchWorker {
  public:
    using SourceLookup = std::function<std::optional<PhotoDisplaySource>(PhotoRef)>;
    using Decoder = std::function<DisplayImage(const DecodeRequest&)>;

    // lookup finds each photo's file (CatalogueSources: in the catalogue);
    // decoder defaults to DecodeDisplayImage.
    PrefetchWorker(ViewerImageCache& cache, SourceLookup lookup, Decoder decoder = {});
    ~PrefetchWorker();
    PrefetchWorker(const PrefetchWorker&) = delete;
    PrefetchWorker& operator=(const PrefetchWorker&) = delete;

    // A new list (or the same list refilled): empties the cache and starts
    // the thread when it does not run yet.
    void Reset(std::vector<PhotoRef> photos, int currentIndex);
    void SetCurrent(int currentIndex);
    // Empties the cache, keeping the list (the pictures are turned the old way).
    void ClearCache();
    // Photo index left the list: the worker's list and the slot indices
    // above it move down by one. The current index moves with its photo.
    void RemoveAt(int index);
    void Pause();
    void Resume();
    // Asks for the photo at index at full resolution in its slot.
    void RequestFullResolution(int index);
    // The screen (logical pixels, and its device pixel ratio) that photos
    // are reduced for; empty: always decode whole.
    void SetScreen(QSize screen, qreal devicePixelRatio = 1);
    void SetAutoOrient(bool autoOrient);
    // Tells the UI thread that the image of a list index was stored.
    const PrefetchNotices* Notices() const { return &notices_; }

    // True when the worker has nothing left to do for the current list.
    bool Idle();
    int Count();

  private:
    struct Task {
        int slot = -1;
        int index = -1;
        bool fullResolution = false;
        int fixedTurns = -1;
        DisplayImagePtr replaces;  // the reduced picture a full one replaces
        PhotoRef photo;
        std::uint64_t generation = 0;
    };

    void Run();
    std::optional<Task> NextTask();
    // Under state_: cancels the running decode when its photo is no longer
    // wanted (another list, or out of the current photo's reach).
    void CancelStaleDecodeLocked();
    void Store(const Task& task, DisplayImage image);
    void Wake();

    ViewerImageCache& cache_;
    SourceLookup lookup_;
    Decoder decoder_;

    std::mutex state_;  // taken before the CacheGuard, never after it
    std::condition_variable wake_;
    std::vector<PhotoRef> photos_;
    int currentIndex_ = 0;
    std::uint64_t generation_ = 0;
    int fullResolutionIndex_ = -1;
    QSize screen_;
    qreal devicePixelRatio_ = 1;
    bool autoOrient_ = false;
    bool busy_ = false;  // a task is being decoded
    Task running_;       // the task being decoded, while busy_
    bool woken_ = false;
    // The pictures NextTask evicted, freed outside the locks once the task
    // it planned is stored: freeing three screen-sized pictures takes a few
    // milliseconds that a jump's decode (and the UI thread waiting for the
    // cache) should not wait for. Worker thread only.
    std::vector<DisplayImagePtr> evicted_;

    std::atomic<bool> paused_{false};
    std::atomic<bool> cancelRunning_{false};  // polled by the running decode
    StopToken stop_{&ExitToken};              // the destructor's stop, below the exit token
    PrefetchNotices notices_;                 // lives on the creating (UI) thread
    std::optional<WorkerSlot> workerSlot_;
    std::thread thread_;
};

// The lookup of the photos' files in library.
PrefetchWorker::SourceLookup CatalogueSources(Library& library);
