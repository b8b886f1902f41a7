#include "maplink/map_link.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "companion_sim.h"
#include "link_test_environment.h"

namespace {

RegionTable ShanghaiTable() {
    RegionTable table;
    table.Add({30.7, 31.9, 120.8, 122.2, {"上海市", "上海市", "浦东新区"}});
    return table;
}

std::vector<std::uint16_t> Codes(const std::vector<ReceivedMessage>& log) {
    std::vector<std::uint16_t> codes;
    for (const auto& m : log) codes.push_back(m.code);
    return codes;
}

LinkMessage RegionReply(const RegionLookupBlock& block) {
    LinkMessage m;
    m.dwData = kCodeRegionLookup;
    m.data = PackRegionLookupBlock(block);
    return m;
}

}  // namespace

class AMapLink : public ::testing::Test {
  protected:
    LinkTestEnvironment env;
    RegionBuffer regions;
    MapLink link{regions};

    std::unique_ptr<CompanionSim> StartCompanion(CompanionSimOptions options = {}) {
        auto sim = std::make_unique<CompanionSim>(std::move(options));
        EXPECT_TRUE(sim->IsListening());
        return sim;
    }
};

TEST_F(AMapLink, sendsTheRefusedRequestTheHandshakeAndTheResendOnTheFirstRequestOnly) {
    CompanionSimOptions options;
    options.linkId = 4711;
    auto sim = StartCompanion(options);

    EXPECT_EQ(link.SendToCompanion(kCodeShowPhotos, PackMapPhotoRecords({{1, 0, 30, 120, 0}})), 1);
    EXPECT_EQ(link.LinkId(), 4711);
    EXPECT_EQ(link.SendToCompanion(kCodePickPosition, {}), 1);

    const auto log = sim->Received();
    ASSERT_EQ(Codes(log), (std::vector<std::uint16_t>{20004, 20000, 20004, 20001}));
    EXPECT_EQ(log[0].linkId, 0);
    EXPECT_LT(log[0].result, 0);
    EXPECT_EQ(log[1].size, 20u);
    EXPECT_EQ(log[2].linkId, 4711);
    EXPECT_EQ(log[3].linkId, 4711);
    // Restore the window on every request; bring it to the top for 20001 too.
    EXPECT_EQ(log[2].flags, kFlagRestoreWindow);
    EXPECT_EQ(log[3].flags, kFlagRestoreWindow | kFlagBringToTop);
}

TEST_F(AMapLink, runsTheHandshakeAgainForARestartedCompanion) {
    auto sim = StartCompanion();
    link.SendToCompanion(kCodeShowPhotos, {});
    sim->ForgetLinkId();
    link.SendToCompanion(kCodeShowPhotos, {});
    EXPECT_EQ(Codes(sim->Received()),
              (std::vector<std::uint16_t>{20004, 20000, 20004, 20004, 20000, 20004}));
}

TEST_F(AMapLink, returnsZeroAndSendsNothingWithoutACompanion) {
    EXPECT_FALSE(link.CompanionWindowExists());
    EXPECT_EQ(link.SendToCompanion(kCodePickPosition, {}), 0);
    EXPECT_EQ(link.LinkId(), 0);
}

TEST_F(AMapLink, fillsTheRegionBufferFromAReplyAfterTheRequestReturned) {
    CompanionSimOptions options;
    options.regions = ShanghaiTable();
    auto sim = StartCompanion(options);
    ASSERT_TRUE(link.CompanionWindowExists());

    EXPECT_TRUE(link.RequestRegionNames(31.2, 121.5, 5));
    EXPECT_FALSE(regions.awaitingRegionReply);
    EXPECT_EQ(regions.Slot(0), "上海市");
    EXPECT_EQ(regions.Slot(2), "浦东新区");
    EXPECT_EQ(regions.Slot(3), "");

    // Outside every box: one empty name ends the wait with nothing resolved.
    EXPECT_TRUE(link.RequestRegionNames(10, 10, 5));
    EXPECT_EQ(regions.Slot(0), "");
}

TEST_F(AMapLink, doesNotDeadlockWhenTheCompanionRepliesFromInsideItsHandler) {
    CompanionSimOptions options;
    options.regions = ShanghaiTable();
    options.timing = ReplyTiming::Synchronous;
    auto sim = StartCompanion(options);

    // This thread created the link, so it is its "user-interface thread".
    EXPECT_TRUE(link.RequestRegionNames(31.2, 121.5, 5));
    EXPECT_EQ(regions.Slot(1), "上海市");
    EXPECT_EQ(Codes(sim->Received()), (std::vector<std::uint16_t>{20003, 20000, 20003}));
}

TEST_F(AMapLink, servesAWorkerThreadsRegionRequestWhileTheOwnerPumps) {
    CompanionSimOptions options;
    options.regions = ShanghaiTable();
    options.timing = ReplyTiming::Synchronous;
    auto sim = StartCompanion(options);

    std::atomic<bool> done{false};
    bool resolved = false;
    std::thread worker([&] {
        resolved = link.RequestRegionNames(31.2, 121.5, 5);
        done = true;
    });
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return done.load(); }));
    worker.join();
    EXPECT_TRUE(resolved);
    EXPECT_EQ(regions.Slot(0), "上海市");
}

TEST_F(AMapLink, wakesTheWaitingThreadAsSoonAsTheReplyIsIn) {
    CompanionSimOptions options;
    options.regions = ShanghaiTable();
    auto sim = StartCompanion(options);
    // A wait that only a woken waiter gets out of before the test is killed.
    link.SetRegionReplyPause(std::chrono::hours(1));

    for (const bool onWorker : {false, true}) {
        SCOPED_TRACE(onWorker ? "worker thread" : "the link's own thread");
        regions.SetSlot(0, "stale");
        std::atomic<bool> done{false};
        bool resolved = false;
        const auto request = [&] {
            resolved = link.RequestRegionNames(31.2, 121.5, 5);
            done = true;
        };
        if (onWorker) {
            std::thread worker(request);
            ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return done.load(); }));
            worker.join();
        } else {
            request();
        }
        EXPECT_TRUE(resolved);
        EXPECT_EQ(regions.Slot(2), "浦东新区");
    }
    // One send per lookup: nobody waited out the pause and asked again.
    const auto codes = Codes(sim->Received());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kCodeRegionLookup), 3);  // refused + 2
}

TEST_F(AMapLink, keepsRepeatingWhileRepliesCarryNoNamesYet) {
    CompanionSimOptions options;
    options.regionMode = RegionReplyMode::ZeroNames;
    auto sim = StartCompanion(options);

    EXPECT_FALSE(link.RequestRegionNames(31.2, 121.5, 5));
    EXPECT_TRUE(regions.awaitingRegionReply);
    const auto codes = Codes(sim->Received());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kCodeRegionLookup), 6);  // refused + 5 sends
}

TEST_F(AMapLink, endsTheWaitWithEmptyNamesWhenNoNamesWillCome) {
    CompanionSimOptions options;
    options.regionMode = RegionReplyMode::NoNames;
    auto sim = StartCompanion(options);
    regions.SetSlot(0, "old");

    EXPECT_TRUE(link.RequestRegionNames(31.2, 121.5, 5));
    EXPECT_EQ(regions.Slot(0), "");
}

TEST_F(AMapLink, stopsRepeatingWhenAskedTo) {
    CompanionSimOptions options;
    options.regionMode = RegionReplyMode::Silent;
    auto sim = StartCompanion(options);
    StopToken stop;
    stop.RequestStop();

    EXPECT_FALSE(link.RequestRegionNames(31.2, 121.5, 5, &stop));
    const auto codes = Codes(sim->Received());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kCodeRegionLookup), 2);  // refused + 1 send
}

TEST_F(AMapLink, keepsEightNamesAndCutsLongOnesTo127Bytes) {
    RegionLookupBlock block;
    block.nameCount = 10;
    for (int i = 0; i < 8; ++i) block.SetNameAt(i, "n" + std::to_string(i));
    block.SetNameAt(0, std::string(128, 'a'));         // no terminator at all
    block.SetNameAt(1, std::string(126, 'b') + "区");  // 3-byte character across the cut
    regions.awaitingRegionReply = true;

    link.HandleMessage(RegionReply(block));
    EXPECT_FALSE(regions.awaitingRegionReply);
    EXPECT_EQ(regions.Slot(0), std::string(127, 'a'));
    EXPECT_EQ(regions.Slot(1), std::string(126, 'b'));
    EXPECT_EQ(regions.Slot(7), "n7");
}

TEST_F(AMapLink, leavesTheSenderWaitingForUnexpectedCountsOrACutShortBlock) {
    RegionLookupBlock block;
    block.nameCount = -1;
    block.SetNameAt(0, "x");
    regions.SetSlot(0, "stale");
    regions.awaitingRegionReply = true;
    link.HandleMessage(RegionReply(block));
    EXPECT_TRUE(regions.awaitingRegionReply);
    EXPECT_EQ(regions.Slot(0), "");

    block.nameCount = 1;
    LinkMessage cut = RegionReply(block);
    cut.data.resize(100);
    link.HandleMessage(cut);
    EXPECT_TRUE(regions.awaitingRegionReply);
}

TEST_F(AMapLink, bringsTheWindowToTheFrontOnTheFirstRegionReplyAfterTheTimer) {
    int raised = 0;
    link.SetBringToFrontReceiver([&] { ++raised; });
    RegionLookupBlock block;
    block.nameCount = kRegionNoNames;

    link.HandleMessage(RegionReply(block));
    EXPECT_EQ(raised, 0);
    link.OnBringToFrontTimer();
    link.HandleMessage(RegionReply(block));
    link.HandleMessage(RegionReply(block));
    EXPECT_EQ(raised, 1);
    EXPECT_FALSE(link.BringToFrontArmed());
}

TEST_F(AMapLink, handsOverOnlyTheKnownPhotosOfAMapSelection) {
    auto sim = StartCompanion();
    const std::set<std::int64_t> catalogue = {11, 33};
    link.SetPhotoIdCheck([&](std::int64_t id) { return catalogue.count(id) > 0; });
    std::vector<std::vector<std::int64_t>> selections;
    link.SetPhotoSelectionReceiver(
        [&](std::vector<std::int64_t> ids) { selections.push_back(ids); });
    int raised = 0;
    link.SetBringToFrontReceiver([&] { ++raised; });

    sim->SendPhotoSelection({11, 22, 33});
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return selections.size() == 1; }));
    EXPECT_EQ(selections[0], (std::vector<std::int64_t>{11, 33}));
    EXPECT_EQ(raised, 1);
}

TEST_F(AMapLink, ignoresASelectionWhoseFirstRecordIsNotOfKindTwo) {
    int selections = 0, raised = 0;
    link.SetPhotoIdCheck([](std::int64_t) { return true; });
    link.SetPhotoSelectionReceiver([&](std::vector<std::int64_t>) { ++selections; });
    link.SetBringToFrontReceiver([&] { ++raised; });
    LinkMessage m;
    m.dwData = kCodeShowPhotos;
    m.data = PackMapPhotoRecords({{1, 0, 0, 0, 0}, {2, 0, 0, 0, 2}});
    link.HandleMessage(m);
    m.data.clear();
    link.HandleMessage(m);
    EXPECT_EQ(selections, 0);
    EXPECT_EQ(raised, 0);
}

TEST_F(AMapLink, handsOverAPickedPositionAndIgnoresACutShortOne) {
    CompanionSimOptions options;
    options.pickedPosition = {39.9, 116.4};
    auto sim = StartCompanion(options);
    std::vector<PickedPosition> picked;
    link.SetPickedPositionReceiver([&](PickedPosition p) { picked.push_back(p); });

    link.SendToCompanion(kCodePickPosition, {});
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return picked.size() == 1; }));
    EXPECT_EQ(picked[0].latitude, 39.9);
    EXPECT_EQ(picked[0].longitude, 116.4);

    LinkMessage cut;
    cut.dwData = kCodePickPosition;
    cut.data.resize(12);
    link.HandleMessage(cut);
    EXPECT_EQ(picked.size(), 1u);
}

TEST_F(AMapLink, handsOverTrackPositionsOnlyWhenOneRecordHasAPosition) {
    CompanionSimOptions options;
    options.track = GpxTrack::Parse(R"(<gpx><trk><trkseg>
        <trkpt lat="30.0" lon="120.0"><time>2024-05-01T00:00:00Z</time></trkpt>
        <trkpt lat="31.0" lon="122.0"><time>2024-05-01T00:10:00Z</time></trkpt>
        </trkseg></trk></gpx>)");
    auto sim = StartCompanion(options);
    std::vector<std::vector<MapPhotoRecord>> answers;
    link.SetTrackPositionsReceiver([&](std::vector<MapPhotoRecord> r) { answers.push_back(r); });
    const std::int32_t start = 1714521600;  // 2024-05-01T00:00:00Z

    link.SendToCompanion(kCodeTrackPositions,
                         PackMapPhotoRecords({{1, start + 300}, {2, start - 1}}));
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return answers.size() == 1; }));
    ASSERT_EQ(answers[0].size(), 2u);
    EXPECT_DOUBLE_EQ(answers[0][0].latitude, 30.5);
    EXPECT_DOUBLE_EQ(answers[0][0].longitude, 121.0);
    EXPECT_EQ(answers[0][1].latitude, 0);

    link.SendToCompanion(kCodeTrackPositions, PackMapPhotoRecords({{3, start - 100}}));
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return link.LastTrackRecordCount() == 1; }));
    EXPECT_EQ(answers.size(), 1u);
}
