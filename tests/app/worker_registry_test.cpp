#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "app/worker_registry.h"

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

TEST(WorkerSlot, MovedIntoAThreadIsClearedWhenTheThreadFunctionThrows) {
    WorkerSlot slot(WorkerKind::Tidy);
    std::thread worker([held = std::move(slot)] {
        try {
            throw std::runtime_error("worker failed");
        } catch (const std::runtime_error&) {
        }
    });
    worker.join();
    EXPECT_FALSE(WorkerRegistry::IsRunning(WorkerKind::Tidy));
}

TEST(WorkerRegistry, DoesNotWaitForTheMapLinkWorkers) {
    WorkerSlot lookup(WorkerKind::RegionLookup);
    WorkerSlot tracks(WorkerKind::TrackApply);
    EXPECT_TRUE(WorkerRegistry::AnyRunning());
    EXPECT_FALSE(WorkerRegistry::AnyWaitedForRunning());
}

}  // namespace
