#include "import/ordered_import.h"

#include <algorithm>

#include "catalogue/photo_rows.h"
#include "import/add_photo_file.h"
#include "import/jpeg_name.h"

namespace {

constexpr int kTransactionSize = 100;
// Reads held ready per worker: enough to keep every worker busy while the
// writer stores, few enough that the held thumbnails stay small.
constexpr std::size_t kReadAheadPerWorker = 4;

}  // namespace

OrderedImport::OrderedImport(Library& library, int& counter, ImportProgress& progress,
                             const RegionRoute& regions, int readWorkers)
    : library_(library),
      counter_(counter),
      progress_(progress),
      regions_(regions),
      pool_(progress.stop, readWorkers),
      readAhead_(kReadAheadPerWorker * static_cast<std::size_t>(std::max(readWorkers, 1))) {}

void OrderedImport::Add(const std::string& path) {
    if (!IsJpegName(path)) return;
    pool_.Submit(path);
    while (pool_.Pending() >= readAhead_)
        if (!StoreOldest()) return;
}

void OrderedImport::Finish() {
    while (pool_.Pending() > 0)
        if (!StoreOldest()) return;
}

bool OrderedImport::StoreOldest() {
    if (Stopped()) return false;
    std::optional<PhotoRead> read = pool_.TakeOldest();
    if (!read) return false;  // skipped: the stop came meanwhile
    Count(StoreReadPhotoFile(library_, read->path, true, regions_, std::move(read->photo)));
    return true;
}

void OrderedImport::Count(StoreOutcome outcome) {
    switch (outcome) {
        case StoreOutcome::Imported:
            break;
        case StoreOutcome::Duplicate:
        case StoreOutcome::Skipped:  // never, with force
            progress_.CountNotImported(nullptr);
            return;
        case StoreOutcome::ThirdCopy:
            progress_.CountNotImported(&progress_.thirdCopies);
            return;
        case StoreOutcome::Unreadable:
            progress_.CountNotImported(&progress_.unreadable);
            return;
        case StoreOutcome::Failed:
            progress_.CountNotImported(&progress_.failed);
            return;
    }
    progress_.imported = ++counter_;
    if (counter_ % kTransactionSize == 0) {
        CommitTransaction(library_);
        BeginTransaction(library_);
    }
}
