#pragma once
// The names of the album's photos, read from its saved catalogue file
// (myJpgdb.db), which is opened read-only and never written: the album
// replaces the file by renaming a new one over it, so a reader holding the
// old one sees a consistent, if older, catalogue.
//
// One thread at a time.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

// Where the album keeps its catalogue, as the album chooses its data folder:
// the DARAZOZ_DATA_DIR environment variable (the album sets it for the
// programs it starts), else <program folder>/data when it holds a catalogue,
// else $XDG_DATA_HOME/darazoz/data (default ~/.local/share/darazoz/data).
std::string AlbumCatalogueFile(const std::string& programFolder);

class AlbumPhotoNames {
  public:
    AlbumPhotoNames() = default;
    ~AlbumPhotoNames();
    AlbumPhotoNames(const AlbumPhotoNames&) = delete;
    AlbumPhotoNames& operator=(const AlbumPhotoNames&) = delete;

    // (Re)opens the catalogue file read-only; false when it cannot be read
    // as a catalogue (then every name is unknown).
    bool Open(const std::string& path);
    // The photo's file name, or nothing when the catalogue does not know it.
    std::optional<std::string> NameOf(std::int64_t photoId);

  private:
    void Close();

    sqlite3* db_ = nullptr;
    sqlite3_stmt* query_ = nullptr;
    std::map<std::int64_t, std::optional<std::string>> known_;
};
