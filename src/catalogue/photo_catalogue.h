#pragma once
// The process-wide catalogue: the in-memory working database loaded from
// myJpgdb.db in the data folder, and the state shared by the operations.
//
// Thread contract: every catalogue operation takes CatalogueSession, which
// holds the one catalogue mutex for its whole duration, so the UI thread and
// the workers never use the working connection at the same time. The mutex
// is recursive so that composite operations can call simpler ones.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue/catalogue_file_check.h"
#include "catalogue/pending_region_queue.h"

class PrivateFileImage;
struct sqlite3;

struct FolderStamp {
    std::string path;            // UTF-8, as stored in strPath
    std::int64_t lastWriteTime;  // seconds since 1970-01-01 00:00 UTC
    bool changed;
};
using FolderStampList = std::vector<FolderStamp>;

class PhotoCatalogue {
  public:
    static PhotoCatalogue& Instance();

    std::recursive_mutex& Mutex() { return mutex_; }

    // Working connection; null until the catalogue is opened. Use only while
    // holding Mutex().
    sqlite3* working = nullptr;
    // The memory the working database lives in when it was loaded as an
    // image of the file; outlives the working connection.
    std::unique_ptr<PrivateFileImage> workingImage;

    // Closes the working connection and frees its memory.
    void CloseWorking();

    // Guards itself; needs no Mutex().
    PendingRegionQueue pendingRegions;

    // Guarded by Mutex().
    FolderStampList folderStamps;
    int photoCountCache = 0;
    CatalogueFileState openState = CatalogueFileState::Usable;

    std::atomic<bool> autoOrient{true};
    // Set before the first open when another process holds the data folder:
    // the saved catalogue file is read as it is, nothing in the data folder
    // is created, changed or removed, and a save is refused.
    std::atomic<bool> readOnly{false};

  private:
    PhotoCatalogue();
    ~PhotoCatalogue();
    std::recursive_mutex mutex_;
};

// The catalogue file and the save file in the data folder.
std::string CatalogueFilePath();
std::string SaveFilePath();

// Opens the catalogue when it is closed: creates the data folder, checks the
// file, makes sure it holds the six tables and loads it into the working
// database. A file that fails the check is never written; the catalogue then
// stays closed and CatalogueOpenState() says why. When already open it only
// re-creates a missing data folder.
bool OpenCatalogue();

// Why the last OpenCatalogue failed; Usable after a successful one.
CatalogueFileState CatalogueOpenState();

// Closes the connections and forgets the folder list, the pending region
// queue and the cached photo count (process end; tests).
void CloseCatalogue();

// Bytes of memory the catalogue holds (the working database, its image and
// SQLite's caches), for the benchmarks' figures.
std::int64_t CatalogueMemoryUsed();

// Creates one table with its indexes when the database lacks it. Existing
// tables are never altered.
bool EnsureTable(sqlite3* connection, const char* table);

// Holds the catalogue mutex and an open working connection for one
// operation. Check ok() (false when the catalogue cannot be opened).
class CatalogueSession {
  public:
    CatalogueSession();
    bool ok() const { return db_ != nullptr; }
    sqlite3* db() const { return db_; }

  private:
    std::lock_guard<std::recursive_mutex> lock_;
    sqlite3* db_;
};
