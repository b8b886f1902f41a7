// zidevu as the separate program the album starts, in a private link folder,
// settings folder and home.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <QSettings>

#include "child_process.h"
#include "cli_runner.h"
#include "computer_time_zone.h"
#include "database_file.h"
#include "link_test_environment.h"
#include "maplink/companion_launcher.h"
#include "maplink/companion_locator.h"
#include "maplink/companion_readiness.h"
#include "maplink/map_link.h"
#include "maplink/unix_socket.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"
#include "track_file_writer.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Exiftool(const std::string& arguments) {
    std::string out;
    if (FILE* pipe = popen(("exiftool " + arguments + " 2>&1").c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    return out;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

class TheZidevuProgram : public ::testing::Test {
  protected:
    TheZidevuProgram() { setenv("HOME", env.Root().c_str(), 1); }

    std::unique_ptr<ChildProcess> Start(std::vector<std::string> args) {
        args.insert(args.begin(), ZIDEVU_PATH);
        return std::make_unique<ChildProcess>(args, ChildProcess::Input::Nothing, Output());
    }
    // Starts it headless and waits until it listens.
    std::unique_ptr<ChildProcess> StartListening(std::vector<std::string> args = {}) {
        args.insert(args.begin(), "--headless");
        auto child = Start(std::move(args));
        EXPECT_TRUE(PumpUntil(*probe, [&] { return CompanionListens(); }));
        return child;
    }
    bool CompanionListens() { return probe->PeerExists(kCompanionLinkClass); }
    // The album's side, created when a test asks through it; the others
    // leave the album's class free for darazoz-cli.
    MapLink& Link() {
        if (!link) link = std::make_unique<MapLink>(regions);
        return *link;
    }
    std::string Output() const { return env.Root() + "/zidevu.out"; }
    std::string SocketPath() const { return env.LinkFolder() + "/zazadoRud"; }

    LinkTestEnvironment env;
    std::unique_ptr<LinkEndpoint> probe = CreateLinkEndpoint({"zidevu-test-probe", {}, {}});
    RegionBuffer regions;
    std::unique_ptr<MapLink> link;
};

}  // namespace

TEST_F(TheZidevuProgram, recordsItselfOnFirstStartAndASecondInstanceExitsSayingSo) {
    auto first = StartListening();
    CompanionLocator locator;
    EXPECT_TRUE(locator.Installed());
    EXPECT_GT(locator.Version(), kCompanionOldVersionLimit);
    EXPECT_EQ(locator.RunPath(), std::filesystem::canonical(ZIDEVU_PATH).string());

    EXPECT_EQ(Start({"--headless"})->Wait(), 0);
    EXPECT_NE(ReadFile(Output()).find("already running"), std::string::npos) << ReadFile(Output());
    EXPECT_TRUE(CompanionListens()) << "the first one still answers";
}

TEST_F(TheZidevuProgram, installsWithoutStaying) {
    EXPECT_EQ(Start({"--install"})->Wait(), 0);
    EXPECT_TRUE(CompanionLocator().Installed());
    EXPECT_FALSE(CompanionListens());
    EXPECT_EQ(Start({"--no-such-option"})->Wait(), 2);
}

TEST_F(TheZidevuProgram, reportsAMissingOrDamagedDataFileOnceAndAnswersNoNames) {
    const std::string damaged = env.Root() + "/damaged.db";
    std::ofstream(damaged) << "SQLite format 3" << std::string(5000, '\x7f');
    for (const std::string& file : {env.Root() + "/absent.db", damaged}) {
        SCOPED_TRACE(file);
        std::filesystem::remove(Output());
        auto zidevu = StartListening({"--region-data", file});
        for (int i = 0; i < 2; ++i) {
            regions.SetSlot(0, "old");
            EXPECT_TRUE(Link().RequestRegionNames(22.54, 114.06, 5));
            EXPECT_EQ(regions.Slot(0), "");
        }
        EXPECT_EQ(zidevu->Terminate(), 0);
        const std::string output = ReadFile(Output());
        EXPECT_EQ(Count(output, "zidevu: "), 1u) << output;
        EXPECT_NE(output.find(std::filesystem::path(file).filename().string()), std::string::npos)
            << output;
    }
}

TEST_F(TheZidevuProgram, givesDarazozCliRegionsTheNamesOfTheCataloguesPhotos) {
    TempFolder photos, data;
    const struct {
        const char* name;
        double latitude, longitude;
    } shots[] = {{"futian.jpg", 22.5431, 114.0579},
                 {"dongcheng.jpg", 39.9288, 116.4160},
                 {"sea.jpg", 10.0, 150.0}};
    std::uint32_t seed = 1;
    for (const auto& shot : shots) {
        TestJpegOptions o;
        o.seed = seed++;
        o.embedThumbnail = true;
        o.latitudeRef = "N";
        o.latitude = DmsFromDegrees(shot.latitude);
        o.longitudeRef = "E";
        o.longitude = DmsFromDegrees(shot.longitude);
        ASSERT_TRUE(WriteTestJpeg(photos.File(shot.name), o));
    }
    const std::string dataDir = "--data-dir '" + data.Path() + "' ";
    ASSERT_EQ(RunCli(dataDir + "import '" + photos.Path() + "'").status, 0);

    auto zidevu = StartListening();  // with the region data shipped beside it
    const CliResult r = RunCli(dataDir + "regions");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("resolved 2, outside the area 1, unanswered 0 (of 3)"), std::string::npos)
        << r.out;
    const auto areas = [&](const char* name) {
        const auto rows = QueryFileColumn(
            data.File("myJpgdb.db"),
            std::string("select strArea0||'/'||strArea1||'/'||strArea2 from tJpgMsg where "
                        "strName='") +
                name + "'");
        return rows.empty() ? std::string("<none>") : rows.front();
    };
    EXPECT_EQ(areas("futian.jpg"), "广东省/深圳市/福田区");
    EXPECT_EQ(areas("dongcheng.jpg"), "北京市/北京市/东城区");
    EXPECT_EQ(areas("sea.jpg"), "//");
}

TEST_F(TheZidevuProgram, shutsDownCleanlyOnSigtermAndSigint) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        auto zidevu = StartListening();
        ASSERT_TRUE(std::filesystem::exists(SocketPath()));
        EXPECT_EQ(zidevu->Terminate(signal), 0);
        EXPECT_FALSE(std::filesystem::exists(SocketPath()));
    }
}

TEST_F(TheZidevuProgram, isStartedByTheRegionLookupCheckWhenInstalledButNotRunning) {
    ASSERT_EQ(Start({"--install"})->Wait(), 0);
    CompanionLocator locator;
    CompanionReadinessActions actions;
    actions.windowExists = [&] { return CompanionListens(); };
    actions.ask = [](ReadinessQuestion) { return true; };
    actions.startCompanion = [&] { StartCompanion(locator, [&] { return CompanionListens(); }); };

    EXPECT_TRUE(CheckCompanionReady(ReadinessPurpose::RegionLookup, locator, actions));
    // The lookup that follows finds it at once.
    EXPECT_TRUE(Link().RequestRegionNames(39.9288, 116.4160, 5));
    EXPECT_EQ(regions.Slot(2), "东城区");

    // Started detached, so not our child: ask the socket who listens.
    UniqueFd fd;
    ASSERT_EQ(
        ConnectUnix(SocketPath(), std::chrono::steady_clock::now() + std::chrono::seconds(5), fd),
        ConnectResult::Connected);
    ucred peer{};
    socklen_t size = sizeof peer;
    ASSERT_EQ(getsockopt(fd.Get(), SOL_SOCKET, SO_PEERCRED, &peer, &size), 0);
    fd.Reset();
    kill(peer.pid, SIGTERM);
    EXPECT_TRUE(PumpUntil(*probe, [&] { return !CompanionListens(); }));
}

// A camera 37 minutes fast, its offset remembered in zidevu's settings: the
// tracks imported from the command line give darazoz-cli the positions at
// the photos' true times, and a photo outside the track gets none.
TEST_F(TheZidevuProgram, importsTracksAndGivesDarazozCliTrackThePositionsAtTheShotTimes) {
    ComputerTimeZone zone("Asia/Shanghai");  // for darazoz-cli and zidevu too
    TempFolder photos, data;
    const std::int64_t noon = 1777636800'000;  // 2026-05-01T12:00:00Z, 20:00 in Shanghai
    std::ofstream(env.Root() + "/walk.gpx")
        << GpxText({{{noon, 22.50, 114.00}, {noon + 60'000, 22.51, 114.02}}});
    std::ofstream(env.Root() + "/notes.txt") << "not a track\n";
    const std::string walk = env.Root() + "/walk.gpx", notes = env.Root() + "/notes.txt";

    EXPECT_EQ(Start({"--import-track", walk, notes})->Wait(), 1);
    std::string output = ReadFile(Output());
    EXPECT_NE(output.find("walk.gpx: stored as track 1 (GPX, 1 segments, 2 fixes)"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("notes.txt: nothing imported: not a track"), std::string::npos) << output;
    EXPECT_EQ(Start({"--import-track", walk})->Wait(), 0);
    EXPECT_NE(ReadFile(Output()).find("already stored as track 1"), std::string::npos);
    EXPECT_EQ(Start({"--import-track"})->Wait(), 2);

    {
        // What the window remembers (the test process's own settings are elsewhere).
        QSettings settings(QString::fromStdString(env.CompanionSettings()), QSettings::IniFormat);
        settings.setValue("Tracks/CameraOffsetSeconds", 37 * 60);
    }
    const struct {
        const char* name;
        const char* cameraTime;
    } shots[] = {{"on-the-walk.jpg", "2026:05:01 20:37:30"}, {"later.jpg", "2026:05:01 23:37:00"}};
    std::uint32_t seed = 1;
    for (const auto& shot : shots) {
        TestJpegOptions o;
        o.seed = seed++;
        o.embedThumbnail = true;
        o.dateTimeOriginal = shot.cameraTime;
        ASSERT_TRUE(WriteTestJpeg(photos.File(shot.name), o));
    }
    const std::string dataDir = "--data-dir '" + data.Path() + "' ";
    ASSERT_EQ(RunCli(dataDir + "import '" + photos.Path() + "'").status, 0);

    auto zidevu = StartListening();
    const CliResult r = RunCli(dataDir + "track '" + photos.File("on-the-walk.jpg") + "' '" +
                               photos.File("later.jpg") + "'");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("written 1 of 2"), std::string::npos) << r.out << ReadFile(Output());
    EXPECT_NE(r.out.find("later.jpg: no track position"), std::string::npos) << r.out;

    const std::string gps =
        Exiftool("-n -s3 -GPSLatitude -GPSLongitude '" + photos.File("on-the-walk.jpg") + "'");
    double latitude = 0, longitude = 0;
    ASSERT_EQ(std::sscanf(gps.c_str(), "%lf %lf", &latitude, &longitude), 2) << gps;
    EXPECT_NEAR(latitude, 22.505, 1e-5);
    EXPECT_NEAR(longitude, 114.01, 1e-5);
    EXPECT_EQ(Exiftool("-n -s3 -GPSLatitude '" + photos.File("later.jpg") + "'"), "");
}
