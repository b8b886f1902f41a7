#include "maplink/companion_launcher.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "companion_settings_writer.h"
#include "link_test_environment.h"
#include "maplink/map_link.h"

TEST(ADetachedLaunch, reportsWhetherTheProgramCouldBeStarted) {
    LinkTestEnvironment env;
    const std::string marker = env.Root() + "/started";
    EXPECT_TRUE(LaunchDetached({"/bin/sh", "-c", "touch \"$0\"", marker}));
    EXPECT_FALSE(LaunchDetached({env.Root() + "/no-such-program"}));
    EXPECT_FALSE(LaunchDetached({}));

    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(marker) && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(std::filesystem::exists(marker));
}

TEST(StartingTheCompanion, failsWithoutARunPath) {
    LinkTestEnvironment env;
    CompanionLocator locator;
    EXPECT_FALSE(StartCompanion(locator, [] { return true; }));
}

TEST(StartingTheCompanion, waitsUntilASlowStarterListens) {
    LinkTestEnvironment env;
    // Longer to come up than a fixed pause of a second allowed for.
    const std::string starter = env.Root() + "/slow-companion";
    const std::string pidFile = env.Root() + "/pid";
    std::ofstream(starter) << "#!/bin/sh\necho $$ > '" << pidFile << "'\nsleep 1.5\nexec '"
                           << COMPANION_SIM_PATH << "' --log /dev/null\n";
    std::filesystem::permissions(starter, std::filesystem::perms::owner_all);
    ASSERT_TRUE(WriteCompanionSettings(env.CompanionSettings(), 501, starter));
    RegionBuffer regions;
    MapLink link(regions);
    CompanionLocator locator;

    EXPECT_TRUE(StartCompanion(locator, [&] { return link.CompanionWindowExists(); }));
    EXPECT_TRUE(link.CompanionWindowExists());
    std::ifstream pid(pidFile);
    pid_t started = 0;
    ASSERT_TRUE(pid >> started);
    kill(started, SIGTERM);
}
