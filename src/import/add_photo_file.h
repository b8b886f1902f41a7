#pragma once
// Storing one file in the catalogue, with the duplicate rules.
//
// Threads: any thread; the file is read into a reader of the call's own and
// every catalogue call holds the catalogue lock.

#include <cstdint>
#include <optional>
#include <string>

#include "import/catalogue_photo_read.h"
#include "import/photo_region.h"
#include "record/photo_record.h"

// What became of one file given to StorePhotoFile.
enum class StoreOutcome {
    Imported,    // a new photo, or a changed file in its own folder
    Duplicate,   // already catalogued, or catalogued as a copy of a photo found elsewhere
    ThirdCopy,   // the photo already had a main and a duplicate row: one copy stays out
    Unreadable,  // missing, not a JPEG, no thumbnail obtainable, or a path too long
    Skipped,     // on the deleted list and not forced
    Failed,      // the catalogue could not be opened or written
};

// Reads the file and stores it. force is true for imports the user started
// (a path on the deleted list is taken off it) and false for the library
// update (such a path is skipped). A photo with a position takes its region
// names through regions.
StoreOutcome StorePhotoFile(Library& library, const std::string& path, bool force,
                            const RegionRoute& regions);

// StorePhotoFile of a file that was read beforehand (an import reads ahead
// on other threads): read is what ReadCataloguePhoto gave for path.
StoreOutcome StoreReadPhotoFile(Library& library, const std::string& path, bool force,
                                const RegionRoute& regions, std::optional<CataloguePhoto> read);

// StorePhotoFile for callers that only ask whether the file counts as
// imported.
bool AddPhotoFile(Library& library, const std::string& path, bool force,
                  const RegionRoute& regions);
