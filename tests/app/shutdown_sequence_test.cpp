#include <gtest/gtest.h>

#include <QFile>
#include <atomic>
#include <thread>

#include "app/shutdown_sequence.h"
#include "app_test_folder.h"
#include "catalogue/deleted_paths.h"
#include "messaging/worker_registry.h"

namespace {

// A worker that runs until it sees the exit token, as every worker loop does.
std::thread StartFakeWorker(WorkerKind kind, std::atomic<bool>& started) {
    WorkerSlot slot(kind);
    return std::thread([held = std::move(slot), &started] {
        started = true;
        while (!ExitToken.StopRequested()) std::this_thread::yield();
    });
}

TEST(ShutdownSequence, StopsAndWaitsForARunningWorker) {
    AppTestFolder folder;
    std::atomic<bool> started{false};
    std::thread worker = StartFakeWorker(WorkerKind::ListImport, started);
    int pauses = 0;
    RunShutdownSequence(&folder.library(), [&] {
        ++pauses;
        std::this_thread::yield();
    });
    EXPECT_TRUE(ExitToken.StopRequested());
    EXPECT_FALSE(WorkerRegistry::IsRunning(WorkerKind::ListImport));
    worker.join();
}

TEST(ShutdownSequence, SavesTheCatalogueOnlyWhenModified) {
    AppTestFolder folder;
    ASSERT_TRUE(OpenCatalogue(folder.library()));
    ASSERT_TRUE(QFile::remove(folder.CatalogueFile()));

    EXPECT_FALSE(RunShutdownSequence(&folder.library(), [] {}));
    EXPECT_FALSE(QFile::exists(folder.CatalogueFile()));

    AddDeletedPath(folder.library(), "/photos/removed.jpg");  // a committed change
    EXPECT_TRUE(RunShutdownSequence(&folder.library(), [] {}));
    EXPECT_TRUE(QFile::exists(folder.CatalogueFile()));
}

TEST(ShutdownSequence, LeavesTheExitTokenClearWhenNoWorkerRuns) {
    AppTestFolder folder;
    int pauses = 0;
    RunShutdownSequence(&folder.library(), [&] { ++pauses; });
    EXPECT_FALSE(ExitToken.StopRequested());
    EXPECT_EQ(pauses, 0);
}

TEST(ShutdownSequence, DoesNotWaitForTheRegionLookup) {
    AppTestFolder folder;
    WorkerSlot lookup(WorkerKind::RegionLookup);
    int pauses = 0;
    RunShutdownSequence(&folder.library(), [&] { ++pauses; });
    EXPECT_TRUE(ExitToken.StopRequested());  // it still gets told to stop
    EXPECT_EQ(pauses, 0);
}

}  // namespace
