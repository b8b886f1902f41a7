#include "catalogue/saved_photo_names.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>

namespace {

// Duplicates (tReJpgMsg) are shown on the map under their own ids too.
constexpr const char* kNameQuery =
    "SELECT strName FROM tJpgMsg WHERE idPic = ?1 "
    "UNION ALL SELECT strName FROM tReJpgMsg WHERE idPic = ?1 LIMIT 1";

}  // namespace

SavedPhotoNames::~SavedPhotoNames() {
    Close();
}

void SavedPhotoNames::Close() {
    sqlite3_finalize(query_);
    query_ = nullptr;
    sqlite3_close(db_);
    db_ = nullptr;
    known_.clear();
}

bool SavedPhotoNames::Open(const std::string& path) {
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

std::optional<std::string> SavedPhotoNames::NameOf(std::int64_t photoId) {
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
