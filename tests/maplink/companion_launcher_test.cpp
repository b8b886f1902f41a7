#include "maplink/companion_launcher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "link_test_environment.h"

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
    EXPECT_FALSE(StartCompanion(locator));
}
