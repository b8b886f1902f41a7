#include "companion/companion_protocol.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "maplink/map_records.h"

namespace {

constexpr std::int32_t kLinkId = 321;

LinkMessage Message(std::uint16_t code, std::int32_t linkId, std::vector<std::uint8_t> data = {}) {
    LinkMessage m;
    m.dwData = MakeDwData(code, linkId);
    m.data = std::move(data);
    return m;
}

LinkMessage Handshake() {
    return Message(20000, 0, PackHandshakeText());
}

LinkMessage RegionRequest(double latitude, double longitude, std::int32_t linkId = kLinkId) {
    RegionLookupBlock block;
    block.latitude = latitude;
    block.longitude = longitude;
    return Message(20003, linkId, PackRegionLookupBlock(block));
}

class ACompanionProtocol : public ::testing::Test {
  protected:
    std::vector<std::pair<double, double>> asked;
    std::vector<std::string> names = {"广东省", "深圳市", "福田区"};
    CompanionProtocol protocol{[this](double latitude, double longitude) {
                                   asked.emplace_back(latitude, longitude);
                                   return names;
                               },
                               kLinkId};
    std::vector<LinkMessage> toProgram;

    RegionLookupBlock OnlyAnswer() {
        EXPECT_EQ(toProgram.size(), 1u);
        if (toProgram.empty()) return {};
        EXPECT_EQ(toProgram[0].Code(), 20003);
        auto block = UnpackRegionLookupBlock(toProgram[0].data.data(), toProgram[0].data.size());
        EXPECT_TRUE(block);
        return block.value_or(RegionLookupBlock{});
    }
};

}  // namespace

TEST_F(ACompanionProtocol, refusesRequestsUntilTheHandshakeAndUnderAnyOtherLinkId) {
    EXPECT_LT(protocol.Handle(RegionRequest(22.5, 114.0, 0), toProgram), 0);
    // Only the album's own class may introduce itself.
    EXPECT_LT(protocol.Handle(Message(20000, 0, {'x', 0}), toProgram), 0);
    EXPECT_EQ(protocol.Handle(Handshake(), toProgram), kLinkId);
    EXPECT_LT(protocol.Handle(RegionRequest(22.5, 114.0, kLinkId + 1), toProgram), 0);
    EXPECT_LT(protocol.Handle(RegionRequest(22.5, 114.0, -kLinkId), toProgram), 0);
    EXPECT_TRUE(toProgram.empty());
    EXPECT_TRUE(asked.empty());

    EXPECT_EQ(protocol.Handle(RegionRequest(22.5, 114.0), toProgram), 1);
    EXPECT_EQ(toProgram.size(), 1u);
}

TEST_F(ACompanionProtocol, answersARegionRequestWithItsOwnMessageHoldingTheNames) {
    protocol.Handle(Handshake(), toProgram);
    protocol.Handle(RegionRequest(22.54, 114.05), toProgram);

    const RegionLookupBlock answer = OnlyAnswer();
    EXPECT_EQ(toProgram[0].wParam, 1001u);
    EXPECT_EQ(answer.latitude, 22.54);
    EXPECT_EQ(answer.longitude, 114.05);
    EXPECT_EQ(answer.nameCount, 3);
    EXPECT_EQ(answer.NameAt(0), "广东省");
    EXPECT_EQ(answer.NameAt(2), "福田区");
    EXPECT_EQ(answer.NameAt(3), "");
    const CompanionStatus status = protocol.Status();
    EXPECT_EQ(status.lookupsAnswered, 1);
    ASSERT_TRUE(status.lastLookup);
    EXPECT_EQ(status.lastLookup->names, names);
}

TEST_F(ACompanionProtocol, answersNoNamesForTheSeaAndForImpossiblePositions) {
    protocol.Handle(Handshake(), toProgram);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double latitude, longitude;
        bool asksTheAtlas;
    } cases[] = {
        {nan, 114.0, false},   {22.5, nan, false}, {inf, 0, false},
        {-inf, 0, false},      {90.5, 0, false},   {0, -180.001, false},
        {1e308, 1e308, false}, {90, 180, true},  // the edges are positions
        {-90, -180, true},
    };
    names.clear();  // the atlas knows nothing here: the sea
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.latitude << "," << c.longitude);
        toProgram.clear();
        asked.clear();
        EXPECT_EQ(protocol.Handle(RegionRequest(c.latitude, c.longitude), toProgram), 1);
        EXPECT_EQ(OnlyAnswer().nameCount, -2);
        EXPECT_EQ(asked.size(), c.asksTheAtlas ? 1u : 0u);
    }
}

TEST_F(ACompanionProtocol, repeatsACountryAloneAtTheCityLevelAndKeepsEightNamesAtMost) {
    protocol.Handle(Handshake(), toProgram);
    const struct {
        std::vector<std::string> found;
        std::vector<std::string> answered;
    } cases[] = {
        {{"意大利"}, {"意大利", "意大利"}},
        {{"北京市", "北京市", "东城区"}, {"北京市", "北京市", "东城区"}},
        {{"1", "2", "3", "4", "5", "6", "7", "8", "9"}, {"1", "2", "3", "4", "5", "6", "7", "8"}},
    };
    for (const auto& c : cases) {
        names = c.found;
        toProgram.clear();
        protocol.Handle(RegionRequest(41.9, 12.5), toProgram);
        const RegionLookupBlock answer = OnlyAnswer();
        std::vector<std::string> answered;
        for (int i = 0; i < answer.nameCount; ++i) answered.push_back(answer.NameAt(i));
        EXPECT_EQ(answered, c.answered);
    }
}

TEST_F(ACompanionProtocol, returnsZeroAndSendsNothingForWhatItDoesNotHandle) {
    protocol.Handle(Handshake(), toProgram);
    LinkMessage cut = RegionRequest(22.5, 114.0);
    cut.data.resize(1055);
    LinkMessage otherWParam = RegionRequest(22.5, 114.0);
    otherWParam.wParam = 1000;
    for (const LinkMessage& m : {cut, otherWParam, Message(20001, kLinkId),
                                 Message(20004, kLinkId, std::vector<std::uint8_t>(40)),
                                 Message(20005, kLinkId), Message(12345, kLinkId)}) {
        EXPECT_EQ(protocol.Handle(m, toProgram), 0) << m.Code();
    }
    EXPECT_TRUE(toProgram.empty());
    EXPECT_EQ(protocol.Status().lookupsAnswered, 0);
}

TEST(ACompanionProtocolWithMapHandlers, handsEachMapRequestOnWithItsRecordsAndWindowFlags) {
    std::vector<std::string> calls;
    std::vector<MapPhotoRecord> received;
    MapRequestHandlers map;
    map.pickPosition = [&](std::uint32_t flags) {
        calls.push_back("pick " + std::to_string(flags));
    };
    map.showPhotos = [&](std::vector<MapPhotoRecord> photos, std::uint32_t flags) {
        calls.push_back("show " + std::to_string(flags));
        received = std::move(photos);
    };
    map.findPositions = [&](std::vector<MapPhotoRecord> records, std::uint32_t flags) {
        calls.push_back("find " + std::to_string(flags));
        received.insert(received.end(), records.begin(), records.end());
    };
    CompanionProtocol protocol({}, kLinkId, map);
    std::vector<LinkMessage> toProgram;
    // Before the handshake nothing reaches the map.
    EXPECT_LT(protocol.Handle(Message(20001, kLinkId), toProgram), 0);
    protocol.Handle(Handshake(), toProgram);

    LinkMessage pick = Message(20001, kLinkId);
    pick.flags = kFlagRestoreWindow | kFlagBringToTop;
    EXPECT_EQ(protocol.Handle(pick, toProgram), 1);
    LinkMessage show = Message(
        20004, kLinkId, PackMapPhotoRecords({{7, 0, 22.5, 114.0, 0}, {9, 0, 40.0, 116.4, 0}}));
    show.flags = kFlagRestoreWindow;
    EXPECT_EQ(protocol.Handle(show, toProgram), 1);
    LinkMessage find = Message(20005, kLinkId, PackMapPhotoRecords({{11, 1700000000, 0, 0, 0}}));
    find.data.resize(find.data.size() + 39);  // a partial record is dropped
    EXPECT_EQ(protocol.Handle(find, toProgram), 1);

    EXPECT_EQ(calls, (std::vector<std::string>{"pick 3", "show 1", "find 0"}));
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[1].idPic, 9);
    EXPECT_DOUBLE_EQ(received[1].longitude, 116.4);
    EXPECT_EQ(received[2].dwDateTime, 1700000000);
    EXPECT_TRUE(toProgram.empty());  // answers come later, through the service
}
