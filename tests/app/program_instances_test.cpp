// Two starts of the window program on one data folder, as separate
// processes: the later one hands its files to the running window.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/instance_channel.h"
#include "child_process.h"
#include "database_file.h"
#include "maplink/link_endpoint.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"

namespace {

bool Eventually(const std::function<bool()>& done) {
    const auto guard = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= guard) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

class ProgramInstances : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // The programs' link sockets in a folder of this test's own, away
        // from any other program's that runs meanwhile.
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        savedRuntime_ = runtime ? runtime : "";
        std::filesystem::permissions(runtime_.Path(), std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
    }
    void TearDown() override {
        if (savedRuntime_.empty()) {
            unsetenv("XDG_RUNTIME_DIR");
        } else {
            setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1);
        }
    }

    std::string Photo(const std::string& name, std::uint32_t seed) {
        TestJpegOptions o;
        o.seed = seed;
        o.embedThumbnail = true;
        const std::string path = photos_.File(name);
        EXPECT_TRUE(WriteTestJpeg(path, o));
        return path;
    }
    ChildProcess* Start(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {DARAZOZ_PROGRAM, "--data-dir", data_.Path()});
        return new ChildProcess(arguments);
    }
    bool Listening() {
        return CreateLinkEndpoint({})->PeerExists(InstanceEndpointName(data_.Path()));
    }
    int PhotosOnDisk() { return CountRowsInFile(data_.File("myJpgdb.db"), "tJpgMsg"); }

    TempFolder data_;
    TempFolder photos_;
    TempFolder runtime_;
    std::string savedRuntime_;
};

TEST_F(ProgramInstances, ALaterStartHandsItsFileToTheRunningWindowWhichImportsIt) {
    const std::string handed = Photo("handed.jpg", 1);
    const std::string atStart = Photo("at start.JPG", 2);
    {
        std::unique_ptr<ChildProcess> window(Start({}));
        ASSERT_TRUE(window->Started());
        ASSERT_TRUE(Eventually([&] { return Listening(); }));

        std::unique_ptr<ChildProcess> later(Start({handed}));
        EXPECT_EQ(later->Wait(), 0) << "handed over and ended";
        EXPECT_TRUE(Eventually([&] { return PhotosOnDisk() == 1; })) << PhotosOnDisk();
        window->Terminate();
    }
    // A first start imports the files of its own command line.
    std::unique_ptr<ChildProcess> window(Start({atStart}));
    EXPECT_TRUE(Eventually([&] { return PhotosOnDisk() == 2; })) << PhotosOnDisk();
    window->Terminate();
}

TEST_F(ProgramInstances, HelpAndBadUsageEndBeforeTheWindowOpens) {
    const struct {
        std::vector<std::string> arguments;
        int status;
    } cases[] = {{{"--help"}, 0}, {{"--no-such-option"}, 2}, {{"--grab-delay"}, 2}};
    for (const auto& c : cases) {
        std::unique_ptr<ChildProcess> start(Start(c.arguments));
        EXPECT_EQ(start->Wait(), c.status) << c.arguments[0];
    }
    EXPECT_FALSE(std::filesystem::exists(data_.File("myJpgdb.db")));
    EXPECT_FALSE(std::filesystem::exists(data_.File(".lock")));
}

}  // namespace
