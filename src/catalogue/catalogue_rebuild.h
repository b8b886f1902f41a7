#pragma once
// The thorough tidy: drops the photos whose files are gone (main and
// duplicate rows, with their keyword and subject rows) and writes the
// catalogue compactly (only live pages, rows in order) to the save file,
// which then replaces the catalogue file. This frees the space of every row
// ever deleted. The compact copy is built by SQLite itself (VACUUM INTO)
// rather than in a second in-memory database: that copy alone cost about
// as much as a whole save.

#include <atomic>

#include "platform/stop_token.h"

class Library;

enum class RebuildResult {
    Done,        // the tidied catalogue is in use and compactly in the catalogue file
    Failed,      // nothing changed: the working database and the file are as before
    SaveFailed,  // the tidied catalogue is in use but could not be written;
                 // the library stays modified so that it is saved later
};

// Runs on the calling thread and holds the catalogue lock throughout.
// copied, when given, grows by one per kept photo (main and duplicate
// rows). Rows on an unplugged volume are kept; stops without changes when
// stop is requested (the tidy's token, which stops when the program closes).
RebuildResult RebuildCatalogue(Library& library, const StopToken& stop,
                               std::atomic<int>* copied = nullptr);
