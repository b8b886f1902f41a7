#include "companion/album_catalogue_file.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kCatalogueName = "myJpgdb.db";

std::string Join(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(folder) / name).string();
}

}  // namespace

std::string AlbumCatalogueFile(const std::string& programFolder) {
    if (const char* env = std::getenv("DARAZOZ_DATA_DIR"); env && *env)
        return Join(env, kCatalogueName);
    std::error_code ec;
    const std::string beside = Join(Join(programFolder, "data"), kCatalogueName);
    if (!programFolder.empty() && std::filesystem::is_regular_file(beside, ec)) return beside;
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = Join(home, ".local/share");
    } else {
        base = "/tmp";
    }
    return Join(Join(Join(base, "darazoz"), "data"), kCatalogueName);
}
