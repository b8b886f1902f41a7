// Runs the simulator as the separate program a person would start.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "child_process.h"
#include "link_test_environment.h"
#include "maplink/companion_locator.h"
#include "maplink/map_link.h"

namespace {

// The simulator program with its options.
class SimulatorProcess : public ChildProcess {
  public:
    explicit SimulatorProcess(std::vector<std::string> args, Input input = Input::Pipe)
        : ChildProcess(WithProgram(std::move(args)), input) {}

  private:
    static std::vector<std::string> WithProgram(std::vector<std::string> args) {
        args.insert(args.begin(), COMPANION_SIM_PATH);
        return args;
    }
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(TheSimulatorProgram, installsItselfAnswersRegionsAndLogsEveryMessage) {
    LinkTestEnvironment env;
    std::ofstream(env.Root() + "/regions.txt") << "30 32 120 122 | 上海市 | 上海市 | 徐汇区\n";
    const std::string log = env.Root() + "/sim.log";
    SimulatorProcess sim({"--install", "501", "--regions", env.Root() + "/regions.txt", "--reply",
                          "sync", "--log", log});
    ASSERT_TRUE(sim.Started());

    RegionBuffer regions;
    MapLink link(regions);
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return link.CompanionWindowExists(); }));
    CompanionLocator locator;
    EXPECT_EQ(locator.Version(), 501u);
    EXPECT_NE(locator.RunPath().find("companion-sim"), std::string::npos);

    EXPECT_TRUE(link.RequestRegionNames(31.1, 121.4, 5));
    EXPECT_EQ(regions.Slot(2), "徐汇区");
    EXPECT_EQ(sim.Quit(), 0);
    const std::string lines = ReadFile(log);
    EXPECT_NE(lines.find("received code=20003 link=0 flags=1 size=1056 result=-1"),
              std::string::npos);
    EXPECT_NE(lines.find("received code=20000 link=0 flags=1 size=20 result=7"), std::string::npos);
    EXPECT_NE(lines.find("received code=20003 link=7 flags=1 size=1056 result=1"),
              std::string::npos);
}

TEST(TheSimulatorProgram, sendsAPhotoSelectionOnCommand) {
    LinkTestEnvironment env;
    SimulatorProcess sim({"--log", env.Root() + "/sim.log"});
    RegionBuffer regions;
    MapLink link(regions);
    std::vector<std::int64_t> shown;
    bool received = false;
    link.SetPhotoIdCheck([](std::int64_t id) { return id != 2; });
    link.SetPhotoSelectionReceiver([&](std::vector<std::int64_t> ids) {
        shown = ids;
        received = true;
    });
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return link.CompanionWindowExists(); }));

    sim.Command("select-kind 0 5 6\nselect 1 2 3\n");  // the first is ignored
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return received; }));
    EXPECT_EQ(shown, (std::vector<std::int64_t>{1, 3}));
}

TEST(TheSimulatorProgram, keepsRunningWithoutStandardInputUntilTerminated) {
    LinkTestEnvironment env;
    std::ofstream(env.Root() + "/regions.txt") << "30 32 120 122 | 上海市 | 上海市 | 徐汇区\n";
    SimulatorProcess sim({"--regions", env.Root() + "/regions.txt", "--log", env.Root() + "/log"},
                         ChildProcess::Input::Nothing);
    RegionBuffer regions;
    MapLink link(regions);
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return link.CompanionWindowExists(); }));

    EXPECT_TRUE(link.RequestRegionNames(31.1, 121.4, 5));
    EXPECT_EQ(regions.Slot(2), "徐汇区");
    EXPECT_EQ(sim.Terminate(), 0);
    EXPECT_FALSE(std::filesystem::exists(env.LinkFolder() + "/zazadoRud"));
}
