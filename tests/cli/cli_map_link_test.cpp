// darazoz-cli import beside the companion simulator: photos with a position
// get the simulator's region names while it runs, and are queued without it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "child_process.h"
#include "cli_runner.h"
#include "database_file.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"

namespace {

class CliWithCompanion : public ::testing::Test {
  protected:
    void SetUp() override {
        // A private link folder, so that no real companion or program is reached.
        std::filesystem::create_directories(runtime_.File("run"));
        std::filesystem::permissions(runtime_.File("run"), std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", runtime_.File("run").c_str(), 1);
        setenv("XDG_CONFIG_HOME", runtime_.File("config").c_str(), 1);
        WritePhoto("shanghai.jpg", 1, 31, 121);
        WritePhoto("beijing.jpg", 2, 39, 116);
        WritePhoto("nowhere.jpg", 3, 0, 0);
    }

    void WritePhoto(const std::string& name, std::uint32_t seed, std::uint32_t lat,
                    std::uint32_t lon) {
        TestJpegOptions o;
        o.seed = seed;
        o.embedThumbnail = true;
        if (lat != 0) {
            o.latitudeRef = "N";
            o.latitude = TestDms{{{lat, 1}, {12, 1}, {0, 1}}};
            o.longitudeRef = "E";
            o.longitude = TestDms{{{lon, 1}, {28, 1}, {0, 1}}};
        }
        ASSERT_TRUE(WriteTestJpeg(photos_.File(name), o));
    }

    std::string Import() {
        return RunCli("--data-dir '" + data_.Path() + "' import '" + photos_.Path() + "'").out;
    }

    std::string Areas(const char* name) {
        std::string statement = std::string(
                                    "select nArea||'|'||strArea0||'|'||strArea1||'|'||strArea2 "
                                    "from tJpgMsg where strName='") +
                                name + "'";
        auto rows = QueryFileColumn(data_.File("myJpgdb.db"), statement);
        return rows.empty() ? "<none>" : rows.front();
    }

    TempFolder runtime_;
    TempFolder data_;
    TempFolder photos_;
};

}  // namespace

TEST_F(CliWithCompanion, StoresTheCompanionsRegionNamesWhileItRuns) {
    std::ofstream(runtime_.File("regions.txt")) << "30 32 120 122 | 上海市 | 上海市 | 徐汇区\n"
                                                << "39 40 116 117 | 北京市 | 海淀区\n";
    ChildProcess sim({COMPANION_SIM, "--regions", runtime_.File("regions.txt"), "--log",
                      runtime_.File("sim.log")});
    ASSERT_TRUE(sim.Started());
    for (int i = 0;
         i < 100 && !std::filesystem::exists(runtime_.File("run/darazoz-link/zazadoRud")); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    std::string out = Import();
    EXPECT_NE(out.find("imported 3"), std::string::npos) << out;
    EXPECT_EQ(out.find("without region names"), std::string::npos) << out;
    EXPECT_EQ(Areas("shanghai.jpg"), "3|上海市|上海市|徐汇区");
    EXPECT_EQ(Areas("beijing.jpg"), "2|北京市|海淀区|");
    EXPECT_EQ(Areas("nowhere.jpg"), "0|||") << "no position, no request";
}

TEST_F(CliWithCompanion, QueuesPhotosWithAPositionWhenTheCompanionIsNotRunning) {
    std::string out = Import();
    EXPECT_NE(out.find("imported 3"), std::string::npos) << out;
    EXPECT_NE(out.find("2 photos with a position were stored without region names"),
              std::string::npos)
        << out;
    EXPECT_EQ(Areas("shanghai.jpg"), "0|||");
}

namespace {

// darazoz-cli regions and track beside a running simulator.
class CliLocationCommands : public CliWithCompanion {
  protected:
    void StartCompanion(const std::string& extra = "") {
        std::ofstream(runtime_.File("regions.txt")) << "30 32 120 122 | 上海市 | 上海市 | 徐汇区\n";
        std::ofstream(runtime_.File("walk.gpx"))
            << "<gpx><trk><trkseg>"
               "<trkpt lat=\"22.0\" lon=\"113.0\"><time>2019-07-01T00:00:00Z</time></trkpt>"
               "<trkpt lat=\"24.0\" lon=\"115.0\"><time>2019-07-01T02:00:00Z</time></trkpt>"
               "</trkseg></trk></gpx>\n";
        std::vector<std::string> args = {COMPANION_SIM,
                                         "--regions",
                                         runtime_.File("regions.txt"),
                                         "--track",
                                         runtime_.File("walk.gpx"),
                                         "--log",
                                         runtime_.File("sim.log")};
        if (!extra.empty()) args.insert(args.end(), {"--region-reply", extra});
        sim_ = std::make_unique<ChildProcess>(args);
        ASSERT_TRUE(sim_->Started());
        for (int i = 0;
             i < 100 && !std::filesystem::exists(runtime_.File("run/darazoz-link/zazadoRud")); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    CliResult Cli(const std::string& command) {
        return RunCli("--data-dir '" + data_.Path() + "' " + command);
    }
    std::string Position(const char* name) {
        auto rows = QueryFileColumn(data_.File("myJpgdb.db"),
                                    std::string("select printf('%.1f,%.1f',fGPSLatitude,"
                                                "fGPSLongitude) from tJpgMsg where strName='") +
                                        name + "'");
        return rows.empty() ? "<none>" : rows.front();
    }

    std::unique_ptr<ChildProcess> sim_;
};

}  // namespace

TEST_F(CliLocationCommands, WithoutACompanionBothCommandsSaySoAndChangeNothing) {
    Import();
    const std::string walk = photos_.File("nowhere.jpg");
    for (const std::string& command :
         std::vector<std::string>{"regions", "regions --all", "track '" + walk + "'"}) {
        const CliResult r = Cli(command);
        EXPECT_EQ(r.status, 3) << command;
        EXPECT_NE(r.out.find("the companion map is not running"), std::string::npos) << r.out;
    }
    EXPECT_EQ(Areas("shanghai.jpg"), "0|||");
}

TEST_F(CliLocationCommands, RegionsLooksUpPhotosWithoutNamesOrAllWithAPosition) {
    Import();  // without the companion: no names yet
    StartCompanion();
    CliResult r = Cli("regions");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("resolved 1, outside the area 1, unanswered 0 (of 2)"), std::string::npos)
        << r.out;
    EXPECT_EQ(Areas("shanghai.jpg"), "3|上海市|上海市|徐汇区") << "saved to the catalogue file";
    r = Cli("regions");
    EXPECT_NE(r.out.find("(of 1)"), std::string::npos) << "named photos are left out: " << r.out;
    r = Cli("regions --all");
    EXPECT_NE(r.out.find("(of 2)"), std::string::npos) << r.out;
    EXPECT_EQ(Cli("regions --everything").status, 2);
}

TEST_F(CliLocationCommands, ACompanionWithoutNamesResolvesNothing) {
    Import();
    StartCompanion("none");
    const CliResult r = Cli("regions");
    EXPECT_NE(r.out.find("resolved 0, outside the area 2, unanswered 0 (of 2)"), std::string::npos)
        << r.out;
}

TEST_F(CliLocationCommands, TrackWritesThePositionsOfTheCompanionsTrack) {
    TestJpegOptions o;
    o.seed = 7;
    o.embedThumbnail = true;
    o.dateTimeOriginal = "2019:07:01 09:00:00";  // 01:00 UTC: halfway along the walk
    ASSERT_TRUE(WriteTestJpeg(photos_.File("walk.jpg"), o));
    o.seed = 8;
    o.dateTimeOriginal = "2019:07:02 09:00:00";  // a day later: off the track
    ASSERT_TRUE(WriteTestJpeg(photos_.File("later.jpg"), o));
    Import();
    StartCompanion();

    CliResult r = Cli("track '" + photos_.File("walk.jpg") + "' '" + photos_.File("later.jpg") +
                      "' '" + photos_.File("absent.jpg") + "'");
    EXPECT_NE(r.out.find(photos_.File("walk.jpg") + " 23.000000 114.000000"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("later.jpg: no track position at its shot time"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("absent.jpg: not in the catalogue"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("written 1 of 2"), std::string::npos) << r.out;
    EXPECT_NE(r.status, 0) << "not every photo got a position";
    EXPECT_EQ(Position("walk.jpg"), "23.0,114.0");
    EXPECT_EQ(Position("later.jpg"), "0.0,0.0");

    r = Cli("track '" + photos_.File("later.jpg") + "'");
    EXPECT_NE(r.out.find("written 0 of 1"), std::string::npos) << r.out;
    EXPECT_EQ(r.status, 1) << "nothing was written";
}
