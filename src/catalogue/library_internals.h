#pragma once
// The catalogue's own view into Library and CatalogueSession: the working
// connection and the state its operations keep. Internal to this folder (it
// names sqlite3).

#include "catalogue/photo_catalogue.h"

class StatementCache;
struct sqlite3;

class LibraryInternals {
  public:
    static sqlite3* Connection(const CatalogueSession& session) { return session.db_; }
    // The library the session holds (also one whose catalogue cannot be opened).
    static Library& Owner(const CatalogueSession& session) { return *session.library_; }
    static sqlite3* Working(Library& library) { return library.working_; }
    static std::recursive_mutex& Mutex(Library& library) { return library.mutex_; }
    static FolderStampList& FolderStamps(Library& library) { return library.folderStamps_; }
    static const MountTableSource& MountTables(const CatalogueSession& session) {
        return session.library_->mountTables_;
    }
    static int& PhotoCountCache(Library& library) { return library.photoCountCache_; }
    // A complete save (or compact rewrite) put everything into the file.
    static void MarkSaved(Library& library) { library.modified_ = false; }
    // For changes that do not commit in the working database but still
    // leave the file behind it (a catalogue just emptied).
    static void MarkModified(Library& library) { library.modified_ = true; }
    static bool Open(Library& library);
    // The statements prepared on the session's connection (made on first use).
    static StatementCache& Statements(const CatalogueSession& session);
    static void CloseWorking(Library& library);
    static CatalogueFileState& OpenState(Library& library) { return library.openState_; }
    static bool HasImage(const Library& library) { return library.workingImage_ != nullptr; }
};

inline sqlite3* SessionDb(const CatalogueSession& session) {
    return LibraryInternals::Connection(session);
}

// Creates one table with its indexes when the database lacks it. Existing
// tables are never altered.
bool EnsureTable(sqlite3* connection, const char* table);
