#pragma once
// Gives a test its own XDG_RUNTIME_DIR and XDG_CONFIG_HOME under a fresh
// temporary folder, so that link sockets and the companion's settings never
// touch the real ones. Removed again when the test ends.

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "maplink/link_endpoint.h"

class LinkTestEnvironment {
  public:
    LinkTestEnvironment() {
        char pattern[] = "/tmp/maplink-test-XXXXXX";
        root_ = mkdtemp(pattern);
        std::filesystem::create_directories(RuntimeDir());
        std::filesystem::create_directories(ConfigDir());
        setenv("XDG_RUNTIME_DIR", RuntimeDir().c_str(), 1);
        setenv("XDG_CONFIG_HOME", ConfigDir().c_str(), 1);
    }
    ~LinkTestEnvironment() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    std::string Root() const { return root_; }
    std::string RuntimeDir() const { return root_ + "/runtime"; }
    std::string ConfigDir() const { return root_ + "/config"; }
    std::string LinkFolder() const { return RuntimeDir() + "/darazoz-link"; }
    std::string CompanionSettings() const { return ConfigDir() + "/Darazoz Software/zidevu.conf"; }

  private:
    std::string root_;
};

// Handles the endpoint's messages on the calling thread until done() holds;
// gives up after a generous bound so a broken link fails instead of hanging.
inline bool PumpUntil(LinkEndpoint& endpoint, const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        endpoint.WaitAndProcess(std::chrono::milliseconds(10));
    }
    return true;
}
