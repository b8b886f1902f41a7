#include "platform/data_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "platform/native_path.h"

namespace {

std::mutex folderMutex;
std::string currentFolder;

bool IsUsableFolder(const std::string& folder) {
    return EnsureFolder(folder) && access(folder.c_str(), W_OK | X_OK) == 0;
}

// An installed program (<prefix>/bin beside <prefix>/share/darazoz) leaves its
// folder to the package manager, even when the user may write there (root).
bool IsInstalledProgramFolder(const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(std::filesystem::path(folder) / ".." / "share" / "darazoz",
                                         ec);
}

std::string DefaultDataFolder() {
    if (const char* env = std::getenv("DARAZOZ_DATA_DIR"); env && *env) return env;
    const std::string program = ProgramFolder();
    const std::string beside = JoinPath(program, "data");
    if (!program.empty() && !IsInstalledProgramFolder(program) && IsUsableFolder(beside))
        return beside;
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = JoinPath(home, ".local/share");
    } else {
        base = "/tmp";
    }
    return JoinPath(JoinPath(base, "darazoz"), "data");
}

}  // namespace

bool EnsureFolder(const std::string& folder) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return true;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec);
}

std::string ProgramFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return exe.parent_path().string();
}

std::string ConfigureDataFolder(std::vector<std::string>& args) {
    std::string chosen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--data-dir" && i + 1 < args.size()) {
            chosen = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            break;
        }
        if (args[i].rfind("--data-dir=", 0) == 0) {
            chosen = args[i].substr(11);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    return ConfigureDataFolder(chosen);
}

std::string ConfigureDataFolder(const std::string& requested) {
    const std::string chosen = requested.empty() ? DefaultDataFolder() : requested;
    SetDataFolder(chosen);
    return chosen;
}

void SetDataFolder(const std::string& folder) {
    std::lock_guard lock(folderMutex);
    currentFolder = folder;
}

std::string DataFolder() {
    std::lock_guard lock(folderMutex);
    if (currentFolder.empty()) currentFolder = DefaultDataFolder();
    return currentFolder;
}
