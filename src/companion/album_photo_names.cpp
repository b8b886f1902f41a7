#include "companion/album_photo_names.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

// Duplicates (tReJpgMsg) are shown on the map under their own ids too.
constexpr const char* kNameQuery =
    "SELECT strName FROM tJpgMsg WHERE idPic = ?1 "
    "UNION ALL SELECT strName FROM tReJpgMsg WHERE idPic = ?1 LIMIT 1";
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

AlbumPhotoNames::~AlbumPhotoNames() {
    Close();
}

void AlbumPhotoNames::Close() {
    sqlite3_finalize(query_);
    query_ = nullptr;
    sqlite3_close(db_);
    db_ = nullptr;
    known_.clear();
}

bool AlbumPhotoNames::Open(const std::string& path) {
    Close();
    std::error_code ec;
    // SQLite would take a missing file for an empty database.
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db_, kNameQuery, -1, &query_, nullptr) != SQLITE_OK) {
        Close();
        return false;
    }
    return true;
}

std::optional<std::string> AlbumPhotoNames::NameOf(std::int64_t photoId) {
    if (!query_) return std::nullopt;
    if (const auto found = known_.find(photoId); found != known_.end()) return found->second;
    std::optional<std::string> name;
    sqlite3_bind_int64(query_, 1, photoId);
    if (sqlite3_step(query_) == SQLITE_ROW) {
        if (const auto* text = sqlite3_column_text(query_, 0); text && *text)
            name = reinterpret_cast<const char*>(text);
    }
    sqlite3_reset(query_);
    known_[photoId] = name;
    return name;
}
