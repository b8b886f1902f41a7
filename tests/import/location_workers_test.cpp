// The region lookup and the track application against the in-process
// companion simulator: counters, what reaches the catalogue and the queue,
// the missing-window retries, cancel, and track records that cannot be
// applied.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "catalogue/catalogue_save.h"
#include "catalogue/photo_rows.h"
#include "catalogue/process_flags.h"
#include "companion_sim.h"
#include "fresh_catalogue.h"
#include "import/region_lookup_worker.h"
#include "import/track_apply_worker.h"
#include "link_test_environment.h"
#include "maplink/map_link.h"
#include "maplink/region_buffer.h"
#include "photo_edit_stub.h"

namespace {

class LocationWorkersTest : public ::testing::Test {
  protected:
    Library& library() { return fresh_.library(); }
    void SetUp() override { PhotoEditStub::Reset(); }
    void TearDown() override { PhotoEditStub::Reset(); }

    void StartCompanion(RegionReplyMode mode = RegionReplyMode::Table) {
        CompanionSimOptions options;
        options.regions = *RegionTable::Parse("30 32 120 122 | 上海市 | 上海市 | 徐汇区\n");
        options.regionMode = mode;
        sim_ = std::make_unique<CompanionSim>(std::move(options));
        ASSERT_TRUE(PumpUntil(link_.Endpoint(), [this] { return link_.CompanionWindowExists(); }));
    }

    // A catalogued photo at a position, queued for the lookup.
    void QueuePhoto(std::int64_t id, double latitude, double longitude) {
        PhotoRecord r = RecordOf(fresh_.Root(), "p" + std::to_string(id) + ".jpg");
        r.fGPSLatitude = static_cast<float>(latitude);
        r.fGPSLongitude = static_cast<float>(longitude);
        ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{id, false}, r, {}, {}), InsertResult::Done);
        fresh_.library().PendingRegions().Push({id, latitude, longitude});
    }

    std::size_t QueueLength() { return fresh_.library().PendingRegions().Size(); }

    // Runs the lookup on a worker while this thread handles the link, as
    // the program's UI thread does. The catalogue is saved first, so that
    // Modified() afterwards tells what the lookup stored.
    RegionLookupResult Lookup() { return Lookup(Job()); }
    RegionLookupResult Lookup(const RegionLookupJob& job) {
        EXPECT_EQ(SaveCatalogue(library()), 0);
        RegionLookupResult result;
        std::atomic<bool> done{false};
        std::thread worker([&] {
            result = RunRegionLookup(link_, buffer_, job);
            done = true;
        });
        EXPECT_TRUE(PumpUntil(link_.Endpoint(), [&] { return done.load(); }));
        worker.join();
        return result;
    }

    LinkTestEnvironment env_;
    // A lookup of the test's queue; the restarts count across the test's lookups.
    RegionLookupJob Job() {
        return {library(), fresh_.library().PendingRegions(), cancel_, retries_};
    }

    FreshCatalogue fresh_;
    int retries_ = 0;
    StopToken cancel_{&ExitToken};
    RegionBuffer buffer_;
    MapLink link_{buffer_};
    std::unique_ptr<CompanionSim> sim_;
};

TEST_F(LocationWorkersTest, StoresResolvedNamesAndCountsPhotosOutsideTheArea) {
    StartCompanion();
    QueuePhoto(1, 31.2, 121.4);
    QueuePhoto(2, 10, 10);  // outside every box: one empty name
    std::vector<LocationCounters> reports;
    int stale = 0;
    RegionLookupJob job = Job();
    job.report = [&](const LocationCounters& c) { reports.push_back(c); };
    job.regionTreeStale = [&] { ++stale; };

    const RegionLookupResult r = Lookup(job);
    EXPECT_EQ(r.end, RegionLookupEnd::Finished);
    EXPECT_EQ(r.resolved, 1);
    EXPECT_EQ(r.outside, 1);
    EXPECT_EQ(PhotoRegionNames(library(), PhotoRef{1, false}),
              (RegionNames{"上海市", "上海市", "徐汇区"}));
    EXPECT_EQ(PhotoRegionNames(library(), PhotoRef{2, false}), (RegionNames{"", "", ""}));
    EXPECT_EQ(QueueLength(), 0u);
    EXPECT_TRUE(fresh_.library().Modified());
    EXPECT_EQ(stale, 1);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().done, 1);
    EXPECT_EQ(reports.back().total, 2);
    EXPECT_EQ(reports.back().failed, 1);
}

TEST_F(LocationWorkersTest, ACompanionWithoutNamesLeavesEveryPhotoFailed) {
    StartCompanion(RegionReplyMode::NoNames);
    for (int id = 1; id <= 3; ++id) QueuePhoto(id, 31.2, 121.4);
    const RegionLookupResult r = Lookup();
    EXPECT_EQ(r.resolved, 0);
    EXPECT_EQ(r.outside, 3);
    EXPECT_EQ(r.total, 3);
    EXPECT_FALSE(fresh_.library().Modified()) << "nothing was stored";
}

TEST_F(LocationWorkersTest, AnUnansweredPhotoStaysQueuedForTheNextLookup) {
    StartCompanion(RegionReplyMode::Silent);
    QueuePhoto(1, 31.2, 121.4);
    const RegionLookupResult r = Lookup();
    EXPECT_EQ(r.unanswered, 1);
    EXPECT_EQ(r.resolved + r.outside, 0);
    EXPECT_EQ(QueueLength(), 1u) << "its position still waits for names";
}

TEST_F(LocationWorkersTest, CancelKeepsTheQueueAndStillInvalidatesTheRegionTree) {
    StartCompanion();
    QueuePhoto(1, 31.2, 121.4);
    cancel_.RequestStop();
    int stale = 0;
    RegionLookupJob job = Job();
    job.regionTreeStale = [&] { ++stale; };
    EXPECT_EQ(Lookup(job).end, RegionLookupEnd::Cancelled);
    EXPECT_EQ(QueueLength(), 1u);
    EXPECT_EQ(stale, 1);
    EXPECT_FALSE(fresh_.library().Modified()) << "nothing was stored";
}

TEST_F(LocationWorkersTest, AMissingCompanionIsRetriedThreeTimesUntilItIsFoundAgain) {
    QueuePhoto(1, 31.2, 121.4);
    int restarts = 0;
    RegionLookupJob job = Job();
    job.restart = [&] { ++restarts; };
    for (int run = 0; run < 4; ++run) EXPECT_EQ(Lookup(job).end, RegionLookupEnd::NoCompanion);
    EXPECT_EQ(restarts, 3);
    EXPECT_EQ(QueueLength(), 1u) << "the queue waits for the companion";

    StartCompanion();
    EXPECT_EQ(Lookup(job).resolved, 1);
    sim_.reset();
    ASSERT_TRUE(PumpUntil(link_.Endpoint(), [this] { return !link_.CompanionWindowExists(); }));
    QueuePhoto(2, 31.2, 121.4);
    Lookup(job);
    EXPECT_EQ(restarts, 4) << "finding the window resets the count";
}

TEST_F(LocationWorkersTest, TrackRecordsThatCannotBeAppliedCountAsFailed) {
    QueuePhoto(1, 0, 0);
    QueuePhoto(2, 0, 0);
    QueuePhoto(3, 0, 0);
    fresh_.library().PendingRegions().Clear();
    const std::string unwritable = fresh_.Root() + "/p3.jpg";
    PhotoEditStub::SetResponder([unwritable](const StubEditCall& call) {
        PhotoEditResult result = PhotoEditStub::Written(call);
        if (call.path == unwritable) {
            result.outcome = PhotoEditOutcome::RewriteFailed;
            result.rewriteFailure = RewriteFailure::WriteFailed;
        }
        return result;
    });
    const std::vector<MapPhotoRecord> records = {
        {1, 0, 31.5, 121.5, 0},  // applied
        {2, 0, 95, 121.5, 0},    // latitude out of range
        {3, 0, 31.5, 121.5, 0},  // the file cannot be written
        {9, 0, 31.5, 121.5, 0},  // not catalogued
        {2, 0, 0, 0, 0},         // no track position: the photo keeps its own
    };
    std::vector<LocationCounters> reports;
    ASSERT_EQ(SaveCatalogue(library()), 0);
    const TrackApplyResult r =
        RunTrackApply(records, {library(), RecordWrite, fresh_.library().PendingRegions(), cancel_,
                                [&](const LocationCounters& c) { reports.push_back(c); }});

    EXPECT_EQ(r.applied, 1);
    ASSERT_EQ(r.failures.size(), 4u);
    EXPECT_EQ(r.failures[0].why, TrackSkip::OutOfRange);
    EXPECT_EQ(r.failures[1].why, TrackSkip::WriteFailed);
    EXPECT_EQ(r.failures[1].path, unwritable);
    EXPECT_EQ(r.failures[2].why, TrackSkip::NotCatalogued);
    EXPECT_EQ(r.failures[3].why, TrackSkip::NoPosition);
    ASSERT_EQ(PhotoEditStub::CallCount(), 2u);
    EXPECT_FLOAT_EQ(PhotoEditStub::Calls()[0].edit.position->latitude, 31.5f);
    double latitude = 0, longitude = 0;
    EXPECT_TRUE(PhotoPosition(library(), PhotoRef{1, false}, latitude, longitude));
    EXPECT_FALSE(PhotoPosition(library(), PhotoRef{3, false}, latitude, longitude))
        << "a failed write leaves the row";
    EXPECT_EQ(QueueLength(), 1u) << "only the written photo waits for its region";
    EXPECT_TRUE(fresh_.library().Modified());
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().done, 1);
    EXPECT_EQ(reports.back().total, 5);
    EXPECT_EQ(reports.back().failed, 4);
}

// A stop during the run ends it before the next record, through the job's
// own token (取消) or the exit token above it; the photo written before the
// stop keeps its position and its place in the queue.
TEST_F(LocationWorkersTest, ATrackApplicationStoppedThroughEitherTokenKeepsWhatItWrote) {
    for (const bool throughExit : {false, true}) {
        SCOPED_TRACE(throughExit ? "exit token" : "job's own token");
        fresh_.library().PendingRegions().Clear();
        QueuePhoto(throughExit ? 12 : 2, 0, 0);
        QueuePhoto(throughExit ? 13 : 3, 0, 0);
        fresh_.library().PendingRegions().Clear();
        StopToken exit;
        StopToken stop{&exit};
        PhotoEditStub::SetResponder([&](const StubEditCall& call) {
            (throughExit ? exit : stop).RequestStop();
            return PhotoEditStub::Written(call);
        });
        const std::int64_t first = throughExit ? 12 : 2;
        const TrackApplyResult r =
            RunTrackApply({{first, 0, 31.5, 121.5, 0}, {first + 1, 0, 31.6, 121.6, 0}},
                          {library(), RecordWrite, fresh_.library().PendingRegions(), stop, {}});
        EXPECT_EQ(r.applied, 1);
        EXPECT_EQ(r.exited, throughExit);
        EXPECT_EQ(r.cancelled, !throughExit);
        double latitude = 0, longitude = 0;
        EXPECT_TRUE(PhotoPosition(library(), PhotoRef{first, false}, latitude, longitude));
        EXPECT_FALSE(PhotoPosition(library(), PhotoRef{first + 1, false}, latitude, longitude))
            << "never tried";
        EXPECT_EQ(QueueLength(), 1u) << "the written photo waits for its region";
    }
}

}  // namespace
