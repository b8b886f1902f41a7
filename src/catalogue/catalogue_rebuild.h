#pragma once
// The thorough tidy: the working database is copied into the staging
// database, which drops the photos whose files are gone (with their keyword
// and subject rows), becomes the working database and is written compactly
// to the catalogue file. This frees the space of deleted rows in the file.

#include <atomic>

enum class RebuildResult {
    Done,        // the rebuilt catalogue is in use and in the catalogue file
    Failed,      // nothing changed: the working database and the file are as before
    SaveFailed,  // the rebuilt catalogue is in use but could not be written;
                 // CatalogueModified is set so that it is saved later
};

// Runs on the calling thread and holds the catalogue lock throughout.
// copied, when given, grows by one per kept photo (main and duplicate
// rows). Rows on an unplugged volume are kept; stops without changes when
// the program closes.
RebuildResult RebuildCatalogue(std::atomic<int>* copied = nullptr);
