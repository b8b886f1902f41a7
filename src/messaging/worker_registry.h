#pragma once
// One slot per kind of worker thread, set while a worker of that kind runs.
// At most one worker of each kind runs at a time. Shutdown asks whether
// waited-for workers still run and waits for them.
//
// Threads: any. A starter takes a WorkerSlot on its own thread and moves it
// into the worker's thread function; the slot is released when that
// function returns or throws, so it is cleared on every path.
//
// Process-wide on purpose: the one-of-a-kind rule and the shutdown wait span
// every starter in the process, whoever owns it.

#include <array>
#include <atomic>
#include <cstddef>

enum class WorkerKind {
    FolderCount,
    FolderImport,
    ListImport,
    LibraryUpdate,
    Tidy,
    Save,
    Prefetch,
    BatchApply,
    RegionLookup,
    TrackApply,
    Count
};

namespace WorkerRegistry {
bool IsRunning(WorkerKind kind);
bool AnyRunning();
// True while a worker runs that shutdown must wait for: every kind except
// the region lookup and the track application, which may block on the
// companion map application and only read from it.
bool AnyWaitedForRunning();
bool IsWaitedFor(WorkerKind kind);
}  // namespace WorkerRegistry

class WorkerSlot {
  public:
    // Takes the slot of kind when it is free; check Held().
    explicit WorkerSlot(WorkerKind kind);
    WorkerSlot(WorkerSlot&& other) noexcept;
    WorkerSlot& operator=(WorkerSlot&&) = delete;
    WorkerSlot(const WorkerSlot&) = delete;
    WorkerSlot& operator=(const WorkerSlot&) = delete;
    ~WorkerSlot();

    bool Held() const { return held_; }
    void Release();

  private:
    WorkerKind kind_;
    bool held_;
};
