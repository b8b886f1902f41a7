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
