// The companion service and the album's MapLink as two endpoints of one
// private link folder, in process.
#include "companion/companion_service.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <filesystem>
#include <limits>
#include <optional>
#include <thread>

#include "link_test_environment.h"
#include "maplink/link_frame.h"
#include "maplink/little_endian.h"
#include "maplink/map_link.h"
#include "maplink/unix_socket.h"

namespace {

// Names only for a box around Shenzhen; the sea elsewhere.
std::vector<std::string> ShenzhenOnly(double latitude, double longitude) {
    if (latitude > 22.4 && latitude < 22.8 && longitude > 113.7 && longitude < 114.6) {
        return {"广东省", "深圳市", "福田区"};
    }
    return {};
}

// Writes raw bytes to the companion's socket and reads what comes back
// until it closes: the reply frame, or nothing for a refused frame.
std::vector<std::uint8_t> SendRaw(const std::string& socketPath,
                                  const std::vector<std::uint8_t>& bytes) {
    const Deadline deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    UniqueFd fd;
    if (ConnectUnix(socketPath, deadline, fd) != ConnectResult::Connected) return {};
    WriteAll(fd.Get(), bytes.data(), bytes.size(), deadline);
    shutdown(fd.Get(), SHUT_WR);  // a cut-short frame ends here
    std::vector<std::uint8_t> reply;
    std::uint8_t buffer[64];
    while (WaitForFd(fd.Get(), false, -1, deadline) == WaitResult::Ready) {
        const ssize_t n = recv(fd.Get(), buffer, sizeof buffer, 0);
        if (n <= 0) break;
        reply.insert(reply.end(), buffer, buffer + n);
    }
    return reply;
}

}  // namespace

class ACompanionService : public ::testing::Test {
  protected:
    LinkTestEnvironment env;
    RegionBuffer regions;
    MapLink link{regions};

    std::string SocketPath() const { return env.LinkFolder() + "/zazadoRud"; }
};

TEST_F(ACompanionService, bringsNamesIntoTheRegionBufferAfterTheHandshake) {
    CompanionService service(ShenzhenOnly, {}, 4242);
    ASSERT_TRUE(service.IsListening());

    EXPECT_TRUE(link.RequestRegionNames(22.54, 114.06, 5));
    EXPECT_EQ(link.LinkId(), 4242);
    EXPECT_EQ(regions.Slot(0), "广东省");
    EXPECT_EQ(regions.Slot(1), "深圳市");
    EXPECT_EQ(regions.Slot(2), "福田区");

    // From a worker, as the import asks, while this thread handles the replies.
    std::atomic<bool> done{false};
    bool resolved = false;
    std::thread worker([&] {
        resolved = link.RequestRegionNames(10.0, 150.0, 5);
        done = true;
    });
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return done.load(); }));
    worker.join();
    EXPECT_TRUE(resolved) << "n = -2 ends the wait";
    EXPECT_EQ(regions.Slot(0), "");
    EXPECT_EQ(service.Status().lookupsAnswered, 2);
}

TEST_F(ACompanionService, answersNoNamesForANanPosition) {
    CompanionService service(ShenzhenOnly);
    regions.SetSlot(0, "old");
    EXPECT_TRUE(link.RequestRegionNames(std::numeric_limits<double>::quiet_NaN(), 114.0, 5));
    EXPECT_EQ(regions.Slot(0), "");
}

TEST_F(ACompanionService, answersAPickRequestLaterWithThePickedPosition) {
    // The handler runs on the service's thread; the answer is queued from
    // another one, as the map window answers after the user's click.
    std::thread answerer;
    MapRequestHandlers map;
    CompanionService* self = nullptr;
    map.pickPosition = [&](std::uint32_t) {
        answerer = std::thread([&] {
            self->AnswerProgram(kCodePickPosition, PackPickedPosition({31.23, 121.47}));
        });
    };
    CompanionService service(ShenzhenOnly, map);
    self = &service;
    std::optional<PickedPosition> picked;
    link.SetPickedPositionReceiver([&](PickedPosition p) { picked = p; });

    EXPECT_EQ(link.SendToCompanion(kCodePickPosition, {}), 1);
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return picked.has_value(); }));
    answerer.join();
    EXPECT_DOUBLE_EQ(picked->latitude, 31.23);
    EXPECT_DOUBLE_EQ(picked->longitude, 121.47);
}

TEST_F(ACompanionService, refusesTheLinkIdOfItsPredecessorAfterARestart) {
    {
        CompanionService first(ShenzhenOnly, {}, 11);
        EXPECT_TRUE(link.RequestRegionNames(22.54, 114.06, 5));
        EXPECT_EQ(link.LinkId(), 11);
    }
    EXPECT_FALSE(std::filesystem::exists(SocketPath())) << "the socket file goes with it";
    CompanionService second(ShenzhenOnly, {}, 12);
    regions.Clear();
    EXPECT_TRUE(link.RequestRegionNames(22.54, 114.06, 5));
    EXPECT_EQ(link.LinkId(), 12);
    EXPECT_EQ(regions.Slot(2), "福田区");
}

TEST_F(ACompanionService, staysUpAndAnsweringAfterHostileFrames) {
    CompanionService service(ShenzhenOnly, {}, 5);
    ASSERT_TRUE(link.RequestRegionNames(22.54, 114.06, 5));  // the handshake is done
    regions.Clear();
    LinkMessage request;
    request.dwData = MakeDwData(20003, 5);
    request.data = PackRegionLookupBlock({});
    const std::vector<std::uint8_t> frame = EncodeRequestFrame(request);

    std::vector<std::uint8_t> wrongMagic = frame;
    wrongMagic[0] = 'X';
    std::vector<std::uint8_t> oversized = frame;
    StoreLittleEndian(&oversized[28], std::uint32_t{kMaxFrameData + 1});
    std::vector<std::uint8_t> lyingSize = frame;  // promises more than it sends
    StoreLittleEndian(&lyingSize[28], std::uint32_t{kMaxFrameData});
    LinkMessage shortBlock = request;
    shortBlock.data.resize(17);
    LinkMessage handshakeOfAnother;
    handshakeOfAnother.dwData = 20000;
    handshakeOfAnother.data = {0xFF, 0xFE, 0x00};

    const std::vector<std::uint8_t> noReply;
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::vector<std::uint8_t> reply;
    } cases[] = {
        {"empty", {}, noReply},
        {"header cut short", {frame.begin(), frame.begin() + 20}, noReply},
        {"data cut short", {frame.begin(), frame.end() - 1}, noReply},
        {"wrong magic", wrongMagic, noReply},
        {"over the size limit", oversized, noReply},
        {"size larger than the data", lyingSize, noReply},
        {"block cut short", EncodeRequestFrame(shortBlock), {0, 0, 0, 0, 0, 0, 0, 0}},
        {"handshake of another class",
         EncodeRequestFrame(handshakeOfAnother),
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto& c : cases) EXPECT_EQ(SendRaw(SocketPath(), c.bytes), c.reply) << c.what;

    EXPECT_TRUE(link.RequestRegionNames(22.54, 114.06, 5));
    EXPECT_EQ(regions.Slot(1), "深圳市");
}
