#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "link_test_environment.h"
#include "maplink/link_frame.h"
#include "maplink/little_endian.h"
#include "maplink/unix_socket.h"

namespace {

LinkMessage MessageWithCode(std::uint16_t code, std::vector<std::uint8_t> data = {}) {
    LinkMessage m;
    m.dwData = code;
    m.data = std::move(data);
    return m;
}

// A peer whose handler answers with the code plus the data size, recording
// the codes in the order it handled them.
struct EchoPeer {
    explicit EchoPeer(const std::string& name = "peer") {
        endpoint =
            CreateLinkEndpoint({name,
                                [this](const LinkMessage& m) {
                                    codes.push_back(m.Code());
                                    return std::int64_t{m.Code()} + std::int64_t(m.data.size());
                                },
                                {}});
    }
    std::vector<std::uint16_t> codes;
    std::unique_ptr<LinkEndpoint> endpoint;
};

// Runs fn on a thread that owns the endpoint and pumps until stopped.
class PumpThread {
  public:
    explicit PumpThread(LinkEndpoint& endpoint)
        : thread_([this, &endpoint] {
              endpoint.BindDispatchThread();
              bound_ = true;
              while (!stop_) endpoint.WaitAndProcess(std::chrono::milliseconds(5));
          }) {
        while (!bound_) std::this_thread::yield();
    }
    ~PumpThread() {
        stop_ = true;
        thread_.join();
    }

  private:
    std::atomic<bool> stop_{false}, bound_{false};
    std::thread thread_;
};

// A raw client connected to an endpoint's socket.
UniqueFd ConnectRaw(const std::string& path) {
    UniqueFd fd;
    ConnectUnix(path, std::chrono::steady_clock::now() + std::chrono::seconds(5), fd);
    return fd;
}

// Reads until the peer closes; returns how many bytes came.
std::size_t ReadUntilClosed(int fd) {
    std::uint8_t buffer[16];
    std::size_t total = 0;
    while (WaitForFd(fd, false, -1, std::chrono::steady_clock::now() + std::chrono::seconds(10)) ==
           WaitResult::Ready) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        total += static_cast<std::size_t>(n);
    }
    return total;
}

}  // namespace

class APosixLinkEndpoint : public ::testing::Test {
  protected:
    LinkTestEnvironment env;
};

TEST_F(APosixLinkEndpoint, deliversAMessageAndReturnsTheHandlersResult) {
    EchoPeer peer;
    ASSERT_TRUE(peer.endpoint->IsListening());
    PumpThread pump(*peer.endpoint);
    auto sender = CreateLinkEndpoint({"sender", {}, {}});

    EXPECT_TRUE(sender->PeerExists("peer"));
    EXPECT_EQ(sender->Send("peer", MessageWithCode(20003, std::vector<std::uint8_t>(1056))),
              20003 + 1056);
    EXPECT_EQ(sender->Send("peer", MessageWithCode(20001)), 20001);
    EXPECT_FALSE(sender->PeerExists("nobody"));
    EXPECT_EQ(sender->Send("nobody", MessageWithCode(20001)), 0);
}

TEST_F(APosixLinkEndpoint, handlesMessagesOnItsOwnThreadInArrivalOrder) {
    std::atomic<int> waiting{0};
    std::vector<std::uint16_t> codes;
    std::thread::id handledOn;
    auto receiver = CreateLinkEndpoint({"receiver",
                                        [&](const LinkMessage& m) {
                                            codes.push_back(m.Code());
                                            handledOn = std::this_thread::get_id();
                                            return std::int64_t{1};
                                        },
                                        [&] { ++waiting; }});
    std::thread sender([] {
        auto endpoint = CreateLinkEndpoint({"sender", {}, {}});
        for (std::uint16_t code = 1; code <= 3; ++code)
            endpoint->Send("receiver", MessageWithCode(code));
    });
    ASSERT_TRUE(PumpUntil(*receiver, [&] { return codes.size() == 3; }));
    sender.join();
    EXPECT_EQ(codes, (std::vector<std::uint16_t>{1, 2, 3}));
    EXPECT_EQ(handledOn, std::this_thread::get_id());
    EXPECT_EQ(waiting, 3);
}

TEST_F(APosixLinkEndpoint, keepsHandlingItsOwnMessagesWhileItsDispatchThreadWaitsForAReply) {
    // The peer answers each request by first sending a message back; the
    // sender's dispatch thread must handle it or both wait forever.
    std::unique_ptr<LinkEndpoint> self;
    int callbacks = 0;
    self = CreateLinkEndpoint(
        {"self", [&](const LinkMessage&) { return std::int64_t{++callbacks}; }, {}});
    std::unique_ptr<LinkEndpoint> peer;
    peer = CreateLinkEndpoint(
        {"peer",
         [&](const LinkMessage&) { return peer->Send("self", MessageWithCode(1)) == 1 ? 42 : -42; },
         {}});
    PumpThread pump(*peer);

    EXPECT_EQ(self->Send("peer", MessageWithCode(2)), 42);
    EXPECT_EQ(callbacks, 1);
}

TEST_F(APosixLinkEndpoint, replacesAStaleSocketFileAndRemovesItsOwnOnShutdown) {
    std::filesystem::create_directories(env.LinkFolder());
    std::filesystem::permissions(env.LinkFolder(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    const std::string path = env.LinkFolder() + "/peer";
    {
        // A socket file left behind by an endpoint that ended abnormally.
        UniqueFd stale(socket(AF_UNIX, SOCK_STREAM, 0));
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strcpy(addr.sun_path, path.c_str());
        ASSERT_EQ(bind(stale.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    }
    {
        EchoPeer peer;
        EXPECT_TRUE(peer.endpoint->IsListening());
        PumpThread pump(*peer.endpoint);
        auto sender = CreateLinkEndpoint({"sender", {}, {}});
        EXPECT_EQ(sender->Send("peer", MessageWithCode(5)), 5);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(APosixLinkEndpoint, doesNotListenWhileAnotherLiveEndpointHoldsTheName) {
    EchoPeer first;
    PumpThread pump(*first.endpoint);
    EchoPeer second;
    EXPECT_FALSE(second.endpoint->IsListening());
    // The second instance keeps working as a sender, and the first one still answers.
    EXPECT_EQ(second.endpoint->Send("peer", MessageWithCode(9)), 9);
}

TEST_F(APosixLinkEndpoint, neverDeletesAFileThatIsNotASocket) {
    std::filesystem::create_directories(env.LinkFolder());
    std::filesystem::permissions(env.LinkFolder(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    std::ofstream(env.LinkFolder() + "/peer") << "precious";
    EchoPeer peer;
    EXPECT_FALSE(peer.endpoint->IsListening());
    EXPECT_TRUE(std::filesystem::is_regular_file(env.LinkFolder() + "/peer"));
}

TEST_F(APosixLinkEndpoint, refusesASocketFolderThatOthersMayRead) {
    std::filesystem::create_directories(env.LinkFolder());
    chmod(env.LinkFolder().c_str(), 0755);
    EchoPeer peer;
    EXPECT_FALSE(peer.endpoint->IsListening());
    auto sender = CreateLinkEndpoint({"sender", {}, {}});
    EXPECT_EQ(sender->Send("peer", MessageWithCode(1)), 0);
}

TEST_F(APosixLinkEndpoint, refusesASocketFolderOwnedByAnotherUser) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give the folder away";
    std::filesystem::create_directories(env.LinkFolder());
    chmod(env.LinkFolder().c_str(), 0700);
    ASSERT_EQ(chown(env.LinkFolder().c_str(), 4242, 4242), 0);
    EchoPeer peer;
    EXPECT_FALSE(peer.endpoint->IsListening());
}

TEST_F(APosixLinkEndpoint, givesUpWithResultZeroWhenThePeerNeverAnswers) {
    std::filesystem::create_directories(env.LinkFolder());
    std::filesystem::permissions(env.LinkFolder(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    // Listens but never accepts: the connection waits in the backlog.
    UniqueFd silent(socket(AF_UNIX, SOCK_STREAM, 0));
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, (env.LinkFolder() + "/peer").c_str());
    ASSERT_EQ(bind(silent.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(silent.Get(), 4), 0);

    auto sender = CreateLinkEndpoint({"sender", {}, {}});
    EXPECT_EQ(sender->Send("peer", MessageWithCode(20003)), 0);
}

TEST_F(APosixLinkEndpoint, closesCutShortAndOversizedFramesWithoutReply) {
    EchoPeer peer;
    PumpThread pump(*peer.endpoint);
    const std::string path = env.LinkFolder() + "/peer";

    auto frame = EncodeRequestFrame(MessageWithCode(20003, std::vector<std::uint8_t>(100)));
    UniqueFd cut = ConnectRaw(path);
    ASSERT_TRUE(cut.Valid());
    ASSERT_EQ(send(cut.Get(), frame.data(), 60, 0), 60);  // header and part of the data
    shutdown(cut.Get(), SHUT_WR);
    EXPECT_EQ(ReadUntilClosed(cut.Get()), 0u);

    StoreLittleEndian<std::uint32_t>(&frame[28], kMaxFrameData + 1);
    UniqueFd oversized = ConnectRaw(path);
    ASSERT_EQ(send(oversized.Get(), frame.data(), kFrameHeaderSize, 0), ssize_t(kFrameHeaderSize));
    EXPECT_EQ(ReadUntilClosed(oversized.Get()), 0u);

    // Neither reached the handler; a sound message still does.
    auto sender = CreateLinkEndpoint({"sender", {}, {}});
    EXPECT_EQ(sender->Send("peer", MessageWithCode(7)), 7);
    EXPECT_EQ(peer.codes, (std::vector<std::uint16_t>{7}));
}

TEST_F(APosixLinkEndpoint, servesOtherPeersWhileOneStallsInTheMiddleOfItsFrame) {
    EchoPeer peer;
    PumpThread pump(*peer.endpoint);
    const auto frame = EncodeRequestFrame(MessageWithCode(20003));
    UniqueFd stalled = ConnectRaw(env.LinkFolder() + "/peer");
    ASSERT_EQ(send(stalled.Get(), frame.data(), 10, 0), 10);  // and then nothing

    auto sender = CreateLinkEndpoint({"sender", {}, {}});
    EXPECT_EQ(sender->Send("peer", MessageWithCode(7)), 7);
    // Served while the stalled connection is still waited for, not after
    // the endpoint gave up on it.
    pollfd closed{stalled.Get(), POLLIN, 0};
    EXPECT_EQ(poll(&closed, 1, 0), 0);
    EXPECT_EQ(peer.codes, (std::vector<std::uint16_t>{7}));
}

TEST_F(APosixLinkEndpoint, endsAWaitOfItsDispatchThreadWhenInterrupted) {
    EchoPeer peer;
    std::thread worker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        peer.endpoint->Interrupt();
    });
    peer.endpoint->WaitAndProcess(std::chrono::hours(1));  // returns, or the test hangs
    worker.join();
}

TEST_F(APosixLinkEndpoint, takesACutShortReplyAsResultZero) {
    std::filesystem::create_directories(env.LinkFolder());
    std::filesystem::permissions(env.LinkFolder(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    UniqueFd server(socket(AF_UNIX, SOCK_STREAM, 0));
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, (env.LinkFolder() + "/peer").c_str());
    ASSERT_EQ(bind(server.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(listen(server.Get(), 4), 0);
    std::thread answer([&] {
        UniqueFd connection(accept(server.Get(), nullptr, nullptr));
        std::uint8_t header[kFrameHeaderSize];
        recv(connection.Get(), header, sizeof header, MSG_WAITALL);
        const std::uint8_t partial[3] = {5, 0, 0};
        send(connection.Get(), partial, sizeof partial, 0);
    });
    auto sender = CreateLinkEndpoint({"sender", {}, {}});
    EXPECT_EQ(sender->Send("peer", MessageWithCode(1)), 0);
    answer.join();
}
