#include "viewer/prefetch_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "temp_folder.h"
#include "test_jpeg_writer.h"

namespace {

// A worker over photos 0..n-1 of a temporary folder, whose ids are their
// list positions at the start; files named in `broken` hold no JPEG.
class PrefetchWorkerTest : public ::testing::Test {
  protected:
    void MakePhotos(int n, const std::set<int>& broken = {}, int width = 64, int height = 48) {
        for (int i = 0; i < n; ++i) {
            const std::string path = folder_.File("p" + std::to_string(i) + ".jpg");
            if (broken.count(i)) {
                WriteBytesFile(path, {0xFF, 0xD8, 0xFF, 0x00, 'n', 'o'});
            } else {
                TestJpegOptions options;
                options.width = width;
                options.height = height;
                options.seed = static_cast<std::uint32_t>(i + 1);
                options.withExif = false;
                ASSERT_TRUE(WriteTestJpeg(path, options));
            }
            PhotoDisplaySource source;
            source.fullPath = path;
            source.width = width;
            source.height = height;
            source.orientation = orientations_.count(i) ? orientations_[i] : "Top-left";
            sources_[i] = source;
            photos_.push_back(PhotoRef{i, false});
        }
    }
    PrefetchWorker::SourceLookup Lookup() {
        return [this](PhotoRef photo) -> std::optional<PhotoDisplaySource> {
            const auto found = sources_.find(photo.idPic);
            if (found == sources_.end()) return std::nullopt;
            return found->second;
        };
    }
    // Waits (with a generous bound, not a timing check) until the worker
    // has nothing left to do.
    static void WaitIdle(PrefetchWorker& worker) {
        for (int i = 0; i < 1000 && !worker.Idle(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_TRUE(worker.Idle());
    }
    std::string PathAt(int index) { return folder_.File("p" + std::to_string(index) + ".jpg"); }

    TempFolder folder_;
    std::map<std::int64_t, PhotoDisplaySource> sources_;
    std::map<int, std::string> orientations_;
    std::vector<PhotoRef> photos_;
    ViewerImageCache cache_;
};

}  // namespace

TEST_F(PrefetchWorkerTest, KeepsTheCurrentPhotoAndItsNeighboursAndEvictsFarOnes) {
    MakePhotos(10);
    PrefetchWorker worker(cache_, Lookup());
    worker.Reset(photos_, 5);
    WaitIdle(worker);
    SlotIndices held = cache_.Indices();
    std::sort(held.begin(), held.end());
    EXPECT_EQ(held, (SlotIndices{4, 5, 6}));
    EXPECT_EQ(cache_.Find(6)->sourcePath, PathAt(6));

    worker.SetCurrent(6);
    WaitIdle(worker);
    held = cache_.Indices();
    std::sort(held.begin(), held.end());
    EXPECT_EQ(held, (SlotIndices{5, 6, 7}));

    // A jump empties everything far away; never more than three are held,
    // and the evicted pictures are freed (after the next decode).
    const std::weak_ptr<const DisplayImage> far = cache_.Find(5);
    worker.SetCurrent(9);
    WaitIdle(worker);
    held = cache_.Indices();
    std::sort(held.begin(), held.end());
    EXPECT_EQ(held, (SlotIndices{-1, 8, 9}));
    EXPECT_LE(cache_.Held(), kCacheSlots);
    for (int i = 0; i < 1000 && !far.expired(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(far.expired());
}

TEST_F(PrefetchWorkerTest, SteppingHoldsAtMostThreeScreenSizedPictures) {
    MakePhotos(6, {}, 1600, 1200);
    PrefetchWorker worker(cache_, Lookup());
    worker.SetScreen(QSize(400, 300));
    worker.Reset(photos_, 0);
    for (int current = 0; current < 6; ++current) {
        worker.SetCurrent(current);
        WaitIdle(worker);
        EXPECT_LE(cache_.Held(), kCacheSlots);
        for (const int index : cache_.Indices()) {
            if (index < 0) continue;
            const DisplayImagePtr image = cache_.Find(index);
            EXPECT_EQ(image->picture.size(), QSize(400, 300)) << index;
            EXPECT_TRUE(image->fullPicture.isNull()) << index;  // only asked for when zoomed
        }
    }
}

TEST_F(PrefetchWorkerTest, ANewListEmptiesTheCacheFirst) {
    MakePhotos(4);
    PrefetchWorker worker(cache_, Lookup());
    worker.Reset(photos_, 0);
    WaitIdle(worker);
    ASSERT_EQ(cache_.Find(0)->sourcePath, PathAt(0));

    // The same positions now name other photos: none of the old pictures stays.
    std::vector<PhotoRef> reversed(photos_.rbegin(), photos_.rend());
    worker.Reset(reversed, 0);
    WaitIdle(worker);
    EXPECT_EQ(cache_.Find(0)->sourcePath, PathAt(3));
    EXPECT_EQ(cache_.Find(1)->sourcePath, PathAt(2));

    worker.Pause();  // so that nothing is decoded again before the check
    worker.ClearCache();
    EXPECT_EQ(cache_.Held(), 0);
    worker.Resume();
    WaitIdle(worker);
    EXPECT_NE(cache_.Find(0), nullptr);
}

TEST_F(PrefetchWorkerTest, RemovalWhilePausedShiftsTheSlotsWithTheirPhotos) {
    MakePhotos(10);
    PrefetchWorker worker(cache_, Lookup());
    worker.Reset(photos_, 5);
    WaitIdle(worker);
    // The viewer steps to the next photo, then removes photo 5.
    worker.SetCurrent(6);
    WaitIdle(worker);
    worker.Pause();
    worker.RemoveAt(5);
    EXPECT_EQ(cache_.Find(5)->sourcePath, PathAt(6));  // the photo shown stays cached
    EXPECT_EQ(cache_.Find(6)->sourcePath, PathAt(7));
    EXPECT_EQ(worker.Count(), 9);
    worker.SetCurrent(5);
    worker.Resume();
    WaitIdle(worker);
    EXPECT_EQ(cache_.Find(4)->sourcePath, PathAt(4));
    EXPECT_EQ(cache_.Find(5)->sourcePath, PathAt(6));
    EXPECT_EQ(cache_.Find(6)->sourcePath, PathAt(7));
}

TEST_F(PrefetchWorkerTest, RemovingTheOnlyPhotoLeavesAnEmptyIdleCache) {
    MakePhotos(1);
    PrefetchWorker worker(cache_, Lookup());
    worker.Reset(photos_, 0);
    WaitIdle(worker);
    worker.Pause();
    worker.RemoveAt(0);
    worker.Resume();
    WaitIdle(worker);
    EXPECT_EQ(cache_.Held(), 0);
    EXPECT_EQ(worker.Count(), 0);
}

TEST_F(PrefetchWorkerTest, AnUndecodableOrMissingPhotoBecomesThePlaceholderAndPrefetchGoesOn) {
    MakePhotos(3, {1});
    sources_.erase(2);  // no catalogue row any more
    PrefetchWorker worker(cache_, Lookup());
    worker.Reset(photos_, 1);
    WaitIdle(worker);
    ASSERT_NE(cache_.Find(1), nullptr);
    EXPECT_TRUE(cache_.Find(1)->placeholder);
    EXPECT_FALSE(cache_.Find(1)->picture.isNull());
    EXPECT_TRUE(cache_.Find(2)->placeholder);
    EXPECT_FALSE(cache_.Find(0)->placeholder);
}

TEST_F(PrefetchWorkerTest, ADecodeForAReplacedListIsDropped) {
    MakePhotos(3);
    std::atomic<bool> release{false};
    PrefetchWorker worker(cache_, Lookup(), [&](const DecodeRequest& request) {
        while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return DecodeDisplayImage(request);
    });
    worker.Reset(photos_, 0);  // the worker now decodes photo 0 of this list
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    worker.Reset({photos_[2]}, 0);
    release = true;
    WaitIdle(worker);
    EXPECT_EQ(cache_.Find(0)->sourcePath, PathAt(2));
    EXPECT_EQ(cache_.Held(), 1);
}

// What the UI does while photo 0 of ten is being decoded, and whether that
// decode is still wanted. The decoder holds each decode until the test lets
// it go or the worker cancels it.
TEST_F(PrefetchWorkerTest, ADecodeThatIsNoLongerWantedIsCancelledAndNotStored) {
    MakePhotos(10);
    struct Case {
        const char* what;
        std::function<void(PrefetchWorker&)> act;
        bool cancelled;
        bool photo0HeldAfter;  // a cleared cache decodes it afresh
    };
    const Case cases[] = {
        {"a step to the next photo", [](PrefetchWorker& w) { w.SetCurrent(1); }, false, true},
        {"a jump of five photos", [](PrefetchWorker& w) { w.SetCurrent(5); }, true, false},
        {"a new list",
         [this](PrefetchWorker& w) {
             w.Reset({photos_[7], photos_[8]}, 0);
         },
         true, false},
        {"a cleared cache", [](PrefetchWorker& w) { w.ClearCache(); }, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cache_.Clear();
        std::mutex mutex;
        std::condition_variable changed;
        bool started = false, release = false, sawCancel = false;
        PrefetchWorker worker(cache_, Lookup(), [&](const DecodeRequest& request) {
            if (request.path == PathAt(0) && !started) {
                std::unique_lock lock(mutex);
                started = true;
                changed.notify_all();
                // Polls the flag as a real decode does; the bound only keeps a
                // broken worker from hanging the test.
                for (int i = 0; i < 10000 && !release && !request.cancel->load(); ++i) {
                    lock.unlock();
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    lock.lock();
                }
                sawCancel = request.cancel->load();
            }
            return DecodeDisplayImage(request);
        });
        worker.Reset(photos_, 0);
        {
            std::unique_lock lock(mutex);
            ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(10), [&] { return started; }));
        }
        c.act(worker);
        {
            std::lock_guard lock(mutex);
            release = true;  // after the act: the flag is set by then or never
        }
        WaitIdle(worker);
        std::lock_guard lock(mutex);
        EXPECT_EQ(sawCancel, c.cancelled);
        // A cancelled decode leaves no picture of photo 0 behind; only a
        // decode started afterwards may store one.
        bool photo0Held = false;
        ViewerImageCache::CacheGuard guard(cache_);
        for (int i = 0; i < kCacheSlots; ++i) {
            const auto& slot = cache_.SlotAt(i);
            if (slot.image && slot.image->sourcePath == PathAt(0)) photo0Held = true;
        }
        EXPECT_EQ(photo0Held, c.photo0HeldAfter);
    }
}

TEST_F(PrefetchWorkerTest, ALargePhotoIsDecodedReducedUntilFullResolutionIsAsked) {
    orientations_[0] = "Right-top";
    MakePhotos(1, {}, 1600, 1200);
    PrefetchWorker worker(cache_, Lookup());
    worker.SetScreen(QSize(400, 300));
    worker.SetAutoOrient(true);
    worker.Reset(photos_, 0);
    WaitIdle(worker);
    const DisplayImagePtr reduced = cache_.Find(0);
    EXPECT_EQ(reduced->fullSize, QSize(1200, 1600));  // turned upright
    EXPECT_TRUE(reduced->Reduced());
    // Made at its size on the screen: fitted at 187 (300 / 1600).
    EXPECT_EQ(reduced->picture.size(), QSize(224, 299));

    worker.RequestFullResolution(0);
    WaitIdle(worker);
    const DisplayImagePtr full = cache_.Find(0);
    EXPECT_FALSE(full->Reduced());
    EXPECT_EQ(full->fullPicture.size(), QSize(1200, 1600));
    EXPECT_EQ(full->picture.size(), QSize(224, 299));  // still there for the fitted view
    EXPECT_EQ(&full->PictureFor({225, 300}), &full->fullPicture);
    EXPECT_EQ(&full->PictureFor({224, 299}), &full->picture);
}

TEST_F(PrefetchWorkerTest, AFailedFullResolutionDecodeKeepsTheReducedPicture) {
    MakePhotos(1, {}, 1600, 1200);
    PrefetchWorker worker(cache_, Lookup(), [](const DecodeRequest& request) {
        // The whole picture does not fit in memory.
        return request.fullResolution ? PlaceholderImage(request.path)
                                      : DecodeDisplayImage(request);
    });
    worker.SetScreen(QSize(400, 300));
    worker.Reset(photos_, 0);
    WaitIdle(worker);
    const QSize reducedSize = cache_.Find(0)->picture.size();
    worker.RequestFullResolution(0);
    WaitIdle(worker);
    EXPECT_FALSE(cache_.Find(0)->placeholder);
    EXPECT_EQ(cache_.Find(0)->picture.size(), reducedSize);
    EXPECT_FALSE(cache_.Find(0)->Reduced());  // not asked for again
}

TEST(DisplayImage, TurningKeepsTheSizeAndTheTurnsInStep) {
    DisplayImage image;
    image.picture = QImage(4, 2, QImage::Format_RGB32);
    image.picture.fill(Qt::black);
    image.picture.setPixel(0, 0, qRgb(255, 0, 0));
    image.fullSize = QSize(400, 200);
    const DisplayImage right = Turned(image, 1);
    EXPECT_EQ(right.fullSize, QSize(200, 400));
    EXPECT_EQ(right.picture.pixel(1, 0), qRgb(255, 0, 0));  // top-left goes top-right
    const DisplayImage back = Turned(right, -1);
    EXPECT_EQ(back.quarterTurns, 0);
    EXPECT_EQ(back.picture, image.picture);

    QImage grey(2, 1, QImage::Format_RGB32);
    grey.setPixel(0, 0, qRgb(200, 100, 20));
    grey.setPixel(1, 0, qRgb(255, 255, 255));
    Lighten(grey, -150);
    EXPECT_EQ(grey.pixel(0, 0), qRgb(50, 0, 0));
    EXPECT_EQ(grey.pixel(1, 0), qRgb(105, 105, 105));
}
