#include "platform/thread_priority.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <thread>

// The priority is the calling thread's alone, and the threads it starts
// afterwards (a decode's band threads) inherit it.
TEST(LowerThisThreadPriority, LowersOnlyTheCallingThreadAndTheThreadsItStarts) {
    const int before = getpriority(PRIO_PROCESS, 0);
    if (before > 14) GTEST_SKIP() << "the tests already run at the lowest priority";
    int lowered = before, started = before;
    std::thread worker([&] {
        ASSERT_TRUE(LowerThisThreadPriority());
        lowered = getpriority(PRIO_PROCESS, 0);
        std::thread band([&] { started = getpriority(PRIO_PROCESS, 0); });
        band.join();
    });
    worker.join();
    EXPECT_GT(lowered, before);
    EXPECT_EQ(started, lowered);
    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), before);
}
