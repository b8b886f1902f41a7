#include "maplink/companion_locator.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <optional>

#include "maplink/ini_settings_file.h"

namespace {

constexpr std::size_t kRunPathLimit = 4096;

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    const passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

std::uint32_t ParseVersion(const std::optional<std::string>& text) {
    if (!text) return 0;
    std::uint32_t value = 0;
    const char* first = text->data();
    const char* last = first + text->size();
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last ? value : 0;
}

}  // namespace

std::string CompanionSettingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string folder = config && config[0] == '/' ? config : HomeFolder() + "/.config";
    return folder + "/Darazoz Software/zidevu.conf";
}

CompanionLocator::CompanionLocator(std::string settingsPath)
    : settingsPath_(std::move(settingsPath)) {}

bool CompanionLocator::Installed() const {
    struct stat st {};
    return stat(settingsPath_.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void CompanionLocator::ReadOnce() {
    if (version_ > 0) return;
    const std::optional<IniSettingsFile> file = IniSettingsFile::Load(settingsPath_);
    if (!file) return;
    const std::uint32_t version = ParseVersion(file->Value("MainFrm", "LastVersion"));
    if (version == 0) return;
    version_ = version;
    const std::optional<std::string> path = file->Value("MainFrm", "LastRunPath");
    runPath_ = path && path->size() < kRunPathLimit && path->find('\0') == std::string::npos
                   ? *path
                   : std::string();
}

std::uint32_t CompanionLocator::Version() {
    std::lock_guard lock(mutex_);
    ReadOnce();
    return version_;
}

std::string CompanionLocator::RunPath() {
    std::lock_guard lock(mutex_);
    ReadOnce();
    return runPath_;
}
