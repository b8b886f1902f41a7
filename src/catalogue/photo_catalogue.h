#pragma once
// The photo library: the in-memory working database loaded from myJpgdb.db
// in the data folder, its lock and the folder list. The window program,
// darazoz-cli and each test construct one, keep it for as long as they use
// the catalogue and hand it to every catalogue operation.
//
// Thread contract: every catalogue operation takes CatalogueSession, which
// holds the library's one mutex for its whole duration, so the UI thread and
// the workers never use the working connection at the same time. The mutex
// is recursive so that composite operations can call simpler ones.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue/catalogue_file_check.h"
#include "catalogue/pending_region_queue.h"

class MountTable;
class PrivateFileImage;
class StatementCache;
struct sqlite3;

struct FolderStamp {
    std::string path;            // UTF-8, as stored in strPath
    std::int64_t lastWriteTime;  // seconds since 1970-01-01 00:00 UTC
    bool changed;
};
using FolderStampList = std::vector<FolderStamp>;

// Where the offline-volume checks read the mount points from; called with
// the library's mutex held, on the thread of the catalogue operation.
using MountTableSource = std::function<MountTable()>;

class Library {
  public:
    enum class Access {
        ReadWrite,
        // Another process holds the data folder: the saved catalogue file is
        // read as it is, nothing in the data folder is created, changed or
        // removed, and a save is refused.
        ReadOnly,
    };

    explicit Library(Access access = Access::ReadWrite);
    // Closes the working database; the changes not saved are lost.
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool ReadOnly() const { return access_ == Access::ReadOnly; }

    // The working database holds changes that are not in the catalogue file:
    // set whenever a write to it commits, cleared by a complete save.
    bool Modified() const { return modified_; }

    // The photos waiting for their region names; guards itself.
    PendingRegionQueue& PendingRegions() { return pendingRegions_; }

    // The mount points the library's offline-volume checks see: the
    // system's table unless another source is set (tests unplug volumes).
    void SetMountTableSource(MountTableSource source);

    // Returns once the working database no longer shares pages with the
    // catalogue file (the benchmarks measure a settled start).
    void WaitUntilPrivate();

  private:
    friend class LibraryInternals;

    const Access access_;
    std::recursive_mutex mutex_;
    // Working connection; null until the catalogue is opened.
    sqlite3* working_ = nullptr;
    // The memory the working database lives in when it was loaded as an
    // image of the file; outlives the working connection.
    std::unique_ptr<PrivateFileImage> workingImage_;
    // The statements prepared on working_; emptied before it closes.
    std::unique_ptr<StatementCache> statements_;
    std::atomic<bool> modified_{false};
    PendingRegionQueue pendingRegions_;

    // Guarded by mutex_.
    MountTableSource mountTables_;
    FolderStampList folderStamps_;
    int photoCountCache_ = 0;
    CatalogueFileState openState_ = CatalogueFileState::Usable;
};

// The catalogue file and the save file in the data folder.
std::string CatalogueFilePath();
std::string SaveFilePath();

// Opens the catalogue when it is closed: creates the data folder, checks the
// file, makes sure it holds the six tables and loads it into the working
// database. A file that fails the check is never written; the catalogue then
// stays closed and CatalogueOpenState() says why. When already open it only
// re-creates a missing data folder.
bool OpenCatalogue(Library& library);

// Why the last OpenCatalogue failed; Usable after a successful one.
CatalogueFileState CatalogueOpenState(Library& library);

// Closes the working database and forgets the folder list and the cached
// photo count (a test that reopens its catalogue as a new start would).
void CloseCatalogue(Library& library);

// Bytes of memory the catalogue holds (the working database, its image and
// SQLite's caches), for the benchmarks' figures.
std::int64_t CatalogueMemoryUsed(Library& library);

// Holds the library's mutex and an open working connection for one
// operation. Check ok() (false when the catalogue cannot be opened).
class CatalogueSession {
  public:
    explicit CatalogueSession(Library& library);
    bool ok() const { return db_ != nullptr; }

  private:
    friend class LibraryInternals;
    std::unique_lock<std::recursive_mutex> lock_;
    Library* library_;
    sqlite3* db_ = nullptr;
};
