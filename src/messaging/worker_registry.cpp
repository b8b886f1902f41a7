#include "messaging/worker_registry.h"

namespace {

std::array<std::atomic<bool>, static_cast<std::size_t>(WorkerKind::Count)> running{};

std::atomic<bool>& Flag(WorkerKind kind) {
    return running[static_cast<std::size_t>(kind)];
}

}  // namespace

namespace WorkerRegistry {

bool IsRunning(WorkerKind kind) {
    return Flag(kind).load();
}

bool IsWaitedFor(WorkerKind kind) {
    return kind != WorkerKind::RegionLookup && kind != WorkerKind::TrackApply;
}

bool AnyRunning() {
    for (const auto& flag : running)
        if (flag.load()) return true;
    return false;
}

bool AnyWaitedForRunning() {
    for (std::size_t i = 0; i < running.size(); ++i) {
        const auto kind = static_cast<WorkerKind>(i);
        if (IsWaitedFor(kind) && IsRunning(kind)) return true;
    }
    return false;
}

}  // namespace WorkerRegistry

WorkerSlot::WorkerSlot(WorkerKind kind) : kind_(kind), held_(!Flag(kind).exchange(true)) {}

WorkerSlot::WorkerSlot(WorkerSlot&& other) noexcept : kind_(other.kind_), held_(other.held_) {
    other.held_ = false;
}

WorkerSlot::~WorkerSlot() {
    Release();
}

void WorkerSlot::Release() {
    if (held_) Flag(kind_).store(false);
    held_ = false;
}
