// zidevu as the separate program the album starts, in a private link folder,
// settings folder and home.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "child_process.h"
#include "link_test_environment.h"
#include "maplink/companion_locator.h"
#include "maplink/map_link.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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
        EXPECT_TRUE(PumpUntil(link.Endpoint(), [&] { return link.CompanionWindowExists(); }));
        return child;
    }
    std::string Output() const { return env.Root() + "/zidevu.out"; }
    std::string SocketPath() const { return env.LinkFolder() + "/zazadoRud"; }

    LinkTestEnvironment env;
    RegionBuffer regions;
    MapLink link{regions};
};

}  // namespace

TEST_F(TheZidevuProgram, recordsItselfOnFirstStartAndASecondInstanceExitsSayingSo) {
    auto first = StartListening();
    CompanionLocator locator;
    EXPECT_TRUE(locator.Installed());
    EXPECT_GT(locator.Version(), kCompanionOldVersionLimit);
    EXPECT_EQ(locator.RunPath(), std::filesystem::canonical(ZIDEVU_PATH).string());

    EXPECT_EQ(Start({"--headless"})->WaitForExit(), 0);
    EXPECT_NE(ReadFile(Output()).find("already running"), std::string::npos) << ReadFile(Output());
    EXPECT_TRUE(link.CompanionWindowExists()) << "the first one still answers";
}

TEST_F(TheZidevuProgram, installsWithoutStaying) {
    EXPECT_EQ(Start({"--install"})->WaitForExit(), 0);
    EXPECT_TRUE(CompanionLocator().Installed());
    EXPECT_FALSE(link.CompanionWindowExists());
    EXPECT_EQ(Start({"--no-such-option"})->WaitForExit(), 2);
}

TEST_F(TheZidevuProgram, reportsAMissingDataFileOnceAndAnswersNoNames) {
    auto zidevu = StartListening({"--region-data", env.Root() + "/absent.db"});
    for (int i = 0; i < 2; ++i) {
        regions.SetSlot(0, "old");
        EXPECT_TRUE(link.RequestRegionNames(22.54, 114.06, 5));
        EXPECT_EQ(regions.Slot(0), "");
    }
    EXPECT_EQ(zidevu->Terminate(), 0);
    const std::string output = ReadFile(Output());
    EXPECT_EQ(Count(output, "absent.db"), 1u) << output;
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
