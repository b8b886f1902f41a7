#pragma once
// The names of the photos of a saved catalogue file (myJpgdb.db), which is
// opened read-only and never written: for the companion map program, whose
// map names the album's photos. The album replaces the file by renaming a
// new one over it, so a reader holding the old one sees a consistent, if
// older, catalogue.
//
// One thread at a time.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

class SavedPhotoNames {
  public:
    SavedPhotoNames() = default;
    ~SavedPhotoNames();
    SavedPhotoNames(const SavedPhotoNames&) = delete;
    SavedPhotoNames& operator=(const SavedPhotoNames&) = delete;

    // (Re)opens the catalogue file read-only; false when it cannot be read
    // as a catalogue (then every name is unknown).
    bool Open(const std::string& path);
    // The photo's file name (a duplicate's when only the duplicate has the
    // id), or nothing when the catalogue does not know it.
    std::optional<std::string> NameOf(std::int64_t photoId);

  private:
    void Close();

    sqlite3* db_ = nullptr;
    sqlite3_stmt* query_ = nullptr;
    std::map<std::int64_t, std::optional<std::string>> known_;
};
