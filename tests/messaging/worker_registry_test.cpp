#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "messaging/worker_registry.h"

namespace {

TEST(WorkerSlot, MarksTheKindRunningUntilReleased) {
    {
        WorkerSlot slot(WorkerKind::Save);
        EXPECT_TRUE(slot.Held());
        EXPECT_TRUE(WorkerRegistry::IsRunning(WorkerKind::Save));
        EXPECT_TRUE(WorkerRegistry::AnyWaitedForRunning());
    }
    EXPECT_FALSE(WorkerRegistry::IsRunning(WorkerKind::Save));
    EXPECT_FALSE(WorkerRegistry::AnyRunning());
}

TEST(WorkerSlot, AllowsOnlyOneWorkerOfAKind) {
    WorkerSlot first(WorkerKind::FolderImport);
    WorkerSlot second(WorkerKind::FolderImport);
    EXPECT_TRUE(first.Held());
    EXPECT_FALSE(second.Held());
    second.Release();  // a slot it never held stays with the first worker
    EXPECT_TRUE(WorkerRegistry::IsRunning(WorkerKind::FolderImport));
}

// A worker function takes its slot by value, as the import workers do.
void ThrowingWorker(WorkerSlot held) {
    ASSERT_TRUE(held.Held());
    throw std::runtime_error("worker failed");
}

TEST(WorkerSlot, MovedIntoAThreadIsClearedWhenTheThreadFunctionThrows) {
    WorkerSlot slot(WorkerKind::Tidy);
    bool runningAfterThrow = true;
    std::thread worker([&runningAfterThrow, held = std::move(slot)]() mutable {
        try {
            ThrowingWorker(std::move(held));
        } catch (const std::runtime_error&) {
            // Checked while the thread's own closure is still alive: only the
            // unwinding of the worker function can have released the slot.
            runningAfterThrow = WorkerRegistry::IsRunning(WorkerKind::Tidy);
        }
    });
    worker.join();
    EXPECT_FALSE(runningAfterThrow);
}

TEST(WorkerRegistry, DoesNotWaitForTheMapLinkWorkers) {
    WorkerSlot lookup(WorkerKind::RegionLookup);
    WorkerSlot tracks(WorkerKind::TrackApply);
    EXPECT_TRUE(WorkerRegistry::AnyRunning());
    EXPECT_FALSE(WorkerRegistry::AnyWaitedForRunning());
}

}  // namespace
