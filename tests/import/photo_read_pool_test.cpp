#include "import/photo_read_pool.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <latch>
#include <mutex>
#include <new>

namespace {

CataloguePhoto PhotoNumbered(const std::string& path) {
    CataloguePhoto photo;
    photo.id = std::stoi(path);
    return photo;
}

}  // namespace

// Four reads under way at once finish last to first, one of them failing:
// the owner still takes them first to last, the failure as a file without a
// photo.
TEST(PhotoReadPool, HandsReadsBackInTheOrderTheyWereSubmittedWhateverOrderTheyFinishIn) {
    std::latch allStarted(4);
    std::array<std::latch, 4> release{std::latch(1), std::latch(1), std::latch(1), std::latch(1)};
    std::latch othersFinished(3);
    std::mutex orderMutex;
    std::vector<int> finishOrder;
    StopToken stop;
    {
        PhotoReadPool pool(stop, 4, [&](const std::string& path) -> std::optional<CataloguePhoto> {
            const int index = std::stoi(path);
            allStarted.count_down();
            release[index].wait();
            {
                std::lock_guard lock(orderMutex);
                finishOrder.push_back(index);
            }
            if (index != 0) othersFinished.count_down();
            if (index == 2) throw std::bad_alloc();
            return PhotoNumbered(path);
        });
        for (int i = 0; i < 4; ++i) pool.Submit(std::to_string(i));
        allStarted.wait();
        for (int i = 3; i >= 1; --i) release[i].count_down();
        othersFinished.wait();
        release[0].count_down();

        for (int i = 0; i < 4; ++i) {
            std::optional<PhotoRead> read = pool.TakeOldest();
            ASSERT_TRUE(read) << i;
            EXPECT_EQ(read->path, std::to_string(i));
            EXPECT_EQ(read->photo.has_value(), i != 2) << i;
            if (read->photo) {
                EXPECT_EQ(read->photo->id, i);
            }
        }
        EXPECT_EQ(pool.Pending(), 0u);
        EXPECT_FALSE(pool.TakeOldest()) << "nothing pending";
    }
    EXPECT_EQ(finishOrder.back(), 0);
}

// A stop while one read is under way: that read is still handed back, every
// read not started is skipped without touching its file, and the pool ends
// without waiting for them.
TEST(PhotoReadPool, AStopSkipsTheReadsNotYetStartedAndKeepsTheOneUnderWay) {
    std::latch started(1);
    std::latch release(1);
    std::atomic<int> reads{0};
    StopToken exit;
    StopToken stop(&exit);
    {
        PhotoReadPool pool(stop, 1, [&](const std::string& path) -> std::optional<CataloguePhoto> {
            if (++reads == 1) {
                started.count_down();
                release.wait();
            }
            return PhotoNumbered(path);
        });
        for (int i = 0; i < 10; ++i) pool.Submit(std::to_string(i));
        started.wait();
        exit.RequestStop();  // the parent's request stops the pool as well
        release.count_down();

        std::optional<PhotoRead> first = pool.TakeOldest();
        ASSERT_TRUE(first && first->photo);
        EXPECT_EQ(first->photo->id, 0);
        EXPECT_FALSE(pool.TakeOldest()) << "skipped after the stop";
        EXPECT_EQ(pool.Pending(), 8u);
    }
    EXPECT_EQ(reads, 1);
}
