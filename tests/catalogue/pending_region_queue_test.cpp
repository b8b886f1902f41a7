#include "catalogue/pending_region_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

std::vector<std::int64_t> Ids(const PendingRegionList& list) {
    std::vector<std::int64_t> ids;
    for (const PendingRegion& entry : list) ids.push_back(entry.idPic);
    return ids;
}

}  // namespace

TEST(APendingRegionQueue, DropsWhatALookupAskedAndKeepsItsUnansweredBeforeLaterEntries) {
    PendingRegionQueue queue;
    for (std::int64_t id : {1, 2, 3}) queue.Push({id, 31.2, 121.4});
    const PendingRegionList asked = queue.Snapshot();
    queue.Push({4, 31.2, 121.4});  // queued while the lookup ran
    queue.DropFirst(asked.size(), {asked[1]});
    EXPECT_EQ(Ids(queue.Snapshot()), (std::vector<std::int64_t>{2, 4}));
    queue.DropFirst(5);
    EXPECT_EQ(queue.Size(), 0u);
}

// An import pushing while a lookup takes and drops: every entry is taken
// exactly once, in the order it was queued.
TEST(APendingRegionQueue, LosesNoEntryPushedWhileAnotherThreadDrops) {
    constexpr std::int64_t kEntries = 2000;
    PendingRegionQueue queue;
    std::atomic<bool> pushed{false};
    std::thread producer([&] {
        for (std::int64_t id = 1; id <= kEntries; ++id) queue.Push({id, 0, 0});
        pushed = true;
    });
    std::vector<std::int64_t> taken;
    while (!pushed || queue.Size() > 0) {
        const std::vector<std::int64_t> batch = Ids(queue.Snapshot());
        taken.insert(taken.end(), batch.begin(), batch.end());
        queue.DropFirst(batch.size());
    }
    producer.join();
    std::vector<std::int64_t> expected;
    for (std::int64_t id = 1; id <= kEntries; ++id) expected.push_back(id);
    EXPECT_EQ(taken, expected);
    EXPECT_EQ(queue.Size(), 0u);
}
