#pragma once
// Checking an existing catalogue file before it is loaded, so that a file
// the catalogue cannot use is reported and never written to, and setting
// such a file aside when the user starts a new catalogue.

#include <ctime>
#include <optional>
#include <string>

enum class CatalogueFileState {
    Usable,        // missing or empty (a new catalogue is made), or sound
    NotADatabase,  // does not start with a database header
    Truncated,     // shorter than its header says, or cut inside a page
    Damaged,       // the database structure cannot be read
    WrongTables,   // a catalogue table lacks columns or declares other types
    Unreadable,    // cannot be opened or read (permissions, I/O errors)
    NotWritable,   // sound, but a missing table cannot be added to it
};

// Reads the header and the table definitions of the file; never writes.
CatalogueFileState CheckCatalogueFile(const std::string& path);

// Whether starting a new catalogue in place of the file is a remedy (the
// file itself is bad, rather than the folder or the disk).
bool IsDamagedState(CatalogueFileState state);

// Where SetCatalogueFileAside(now) puts the file:
// "myJpgdb.db.damaged-YYYYMMDD-HHMMSS" with the local time of now.
std::string CatalogueAsidePath(std::time_t now);

// Renames the catalogue file (and a rollback journal of it) to
// CatalogueAsidePath(now). Returns the new path; nothing when the rename
// fails. The catalogue must be closed.
std::optional<std::string> SetCatalogueFileAside(std::time_t now);
