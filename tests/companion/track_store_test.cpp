// The companion's own store of tracks: imported once, listed, drawn,
// removed, kept across opens, and refusing what is not a store.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "companion/track_positions.h"
#include "companion/track_store.h"
#include "companion/track_time.h"
#include "temp_folder.h"
#include "track_file_writer.h"

namespace {

const std::int64_t kNoon = UtcDayStartMs(2026, 5, 1) + 12 * 3600'000;

class ATrackStore : public ::testing::Test {
  protected:
    ATrackStore() {
        std::ofstream(folder.File("walk.gpx"))
            << GpxText({{{kNoon, 22.5, 114.0}, {kNoon + 1000, 22.5001, 114.0001}},
                        {{kNoon + 600'000, 22.6, 114.1}}});
        std::ofstream(folder.File("ride.gpx")) << GpxText({{{kNoon + 7200'000, 39.9, 116.4}}}, "");
        EXPECT_TRUE(store.Open(StorePath())) << store.ErrorText();
    }
    std::string StorePath() const { return folder.File("zidevu/tracks.db"); }

    TempFolder folder;
    TrackStore store;
};

TEST_F(ATrackStore, storesAFileOnceWithItsSegments) {
    const TrackImport first = ImportTrackFile(store, folder.File("walk.gpx"));
    ASSERT_EQ(first.outcome, StoreOutcome::Stored) << first.detail;
    EXPECT_EQ(first.fixes, 3u);
    EXPECT_EQ(first.segments, 2u);
    const TrackImport again = ImportTrackFile(store, folder.File("walk.gpx"));
    EXPECT_EQ(again.outcome, StoreOutcome::AlreadyStored);
    EXPECT_EQ(again.trackId, first.trackId);
    EXPECT_EQ(ImportTrackFile(store, folder.File("ride.gpx")).outcome, StoreOutcome::Stored);

    const auto list = store.List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "walk");
    EXPECT_EQ(list[0].source, folder.File("walk.gpx"));
    EXPECT_EQ(list[0].fixes, 3);
    EXPECT_EQ(list[0].segments, 2);
    EXPECT_EQ(list[0].firstMs, kNoon);
    EXPECT_EQ(list[0].lastMs, kNoon + 600'000);
    EXPECT_EQ(list[1].name, "ride") << "a track without a name is named after its file";

    const auto tracks = store.LoadAll();
    ASSERT_EQ(tracks.size(), 2u);
    ASSERT_EQ(tracks[0].segments.size(), 2u);
    EXPECT_EQ(tracks[0].segments[0][1].timeMs, kNoon + 1000);
    EXPECT_DOUBLE_EQ(tracks[0].segments[0][1].latitude, 22.5001);

    const auto lines = store.Polylines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].trackId, first.trackId);
    EXPECT_EQ(lines[0].points,
              (std::vector<std::pair<double, double>>{{22.5, 114.0}, {22.5001, 114.0001}}));
}

TEST_F(ATrackStore, removesATrackWithItsSegmentsAndKeepsTheRestAcrossOpens) {
    const auto walk = ImportTrackFile(store, folder.File("walk.gpx"));
    ImportTrackFile(store, folder.File("ride.gpx"));
    EXPECT_TRUE(store.Remove(walk.trackId));
    EXPECT_FALSE(store.Remove(walk.trackId));

    TrackStore reopened;
    ASSERT_TRUE(reopened.Open(StorePath()));
    ASSERT_EQ(reopened.List().size(), 1u);
    EXPECT_EQ(reopened.List()[0].name, "ride");
    EXPECT_EQ(reopened.Polylines().size(), 1u);
    EXPECT_EQ(ImportTrackFile(reopened, folder.File("walk.gpx")).outcome, StoreOutcome::Stored)
        << "a removed track can come back";
}

TEST_F(ATrackStore, importsNothingFromAFileThatIsNotATrack) {
    std::ofstream(folder.File("cut.gpx")) << GpxText({{{kNoon, 1, 2}}}).substr(0, 120);
    const TrackImport cut = ImportTrackFile(store, folder.File("cut.gpx"));
    EXPECT_EQ(cut.status, TrackReadStatus::Truncated);
    EXPECT_EQ(cut.outcome, StoreOutcome::Failed);
    std::int64_t id = 0;
    EXPECT_EQ(store.Store(Track{"empty", {{}, {}}}, "nowhere", id), StoreOutcome::Failed);
    EXPECT_TRUE(store.List().empty());
}

TEST_F(ATrackStore, refusesAFileThatIsNotAStoreAndSkipsADamagedSegment) {
    std::ofstream(folder.File("junk.db")) << "SQLite format 3" << std::string(4000, '\x7f');
    TrackStore junk;
    EXPECT_FALSE(junk.Open(folder.File("junk.db")));
    EXPECT_FALSE(junk.ErrorText().empty());
    EXPECT_TRUE(junk.List().empty());

    ImportTrackFile(store, folder.File("walk.gpx"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(StorePath().c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "update segment set fixes = x'0102030405' where seq = 0", nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);
    const auto tracks = store.LoadAll();
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks[0].segments.size(), 1u);
    EXPECT_EQ(store.Polylines().size(), 1u);
}

}  // namespace
