#include "companion/region_atlas.h"

#include <sqlite3.h>

#include <filesystem>

RegionAtlas::~RegionAtlas() {
    Close();
}

void RegionAtlas::Close() {
    if (db_ != nullptr) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

bool RegionAtlas::Open(const std::string& path) {
    Close();
    error_.clear();
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        error_ = "region data file cannot be opened: " + path;
        Close();
        return false;
    }
    return true;
}

std::vector<std::string> RegionAtlas::Lookup(double, double) const {
    return {};
}

std::string FindRegionDataFile(const std::string& executableDir) {
    namespace fs = std::filesystem;
    const fs::path dir(executableDir);
    for (const fs::path& candidate :
         {dir / "zidevu-regions.db", dir / ".." / "share" / "darazoz" / "zidevu-regions.db"}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
    }
    return {};
}
