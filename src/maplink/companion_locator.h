#pragma once
// Finds the companion map application through its per-user settings file:
// "<config>/Darazoz Software/zidevu.conf" (config = $XDG_CONFIG_HOME when it
// is an absolute path, else ~/.config), group [MainFrm], keys LastVersion
// (integer) and LastRunPath (path of its executable). The companion counts
// as installed when that file exists.
//
// Threads: any; the cache is guarded.

#include <cstdint>
#include <mutex>
#include <string>

// Versions up to this one are too old for the link (the messages say 5.01).
inline constexpr std::uint32_t kCompanionOldVersionLimit = 500;

std::string CompanionSettingsPath();

class CompanionLocator {
  public:
    explicit CompanionLocator(std::string settingsPath = CompanionSettingsPath());

    bool Installed() const;

    // LastVersion; 0 when it cannot be read as a positive 32-bit integer.
    // Once a positive version is read, version and path are kept for the run.
    std::uint32_t Version();
    // LastRunPath as read together with the version; empty when unread.
    std::string RunPath();

  private:
    void ReadOnce();

    const std::string settingsPath_;
    std::mutex mutex_;
    std::uint32_t version_ = 0;
    std::string runPath_;
};
