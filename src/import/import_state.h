#pragma once
// State shared between the import workers and whoever shows their progress.
//
// Threads: the counters and flags are atomics written by the worker (or, for
// the cancel flags, by the UI thread) and read without locking.

#include <atomic>
#include <functional>
#include <mutex>

#include "catalogue/photo_rows.h"
#include "metadata/metadata_reader.h"

struct ImportProgress {
    std::atomic<int> total{0};        // files found by counting
    std::atomic<int> imported{0};     // AddPhotoFile returned true
    std::atomic<int> notImported{0};  // duplicates, unchanged and unreadable files

    void Reset() {
        total = 0;
        imported = 0;
        notImported = 0;
    }
};

ImportProgress& CurrentImportProgress();

// Set by the progress dialog's cancel: the walk stops and the closing steps
// still run.
inline std::atomic<bool> importCancelFlag{false};
// Set by the found-photos dialog's cancel: the count stops, no import follows.
inline std::atomic<bool> countCancelFlag{false};

// Where the region names of a photo with a position come from: the
// companion map application while it runs.
class RegionSource {
  public:
    virtual ~RegionSource() = default;
    virtual bool CompanionAvailable() = 0;
    // Asks up to maxSends times; the names are empty when no answer came.
    virtual RegionNames RequestNames(double latitude, double longitude, int maxSends) = 0;
};

// What the closing steps of an import tell the rest of the program. Unset
// members are skipped (a command-line import has no trees and no questions).
struct ImportReceivers {
    std::function<void()> dropTrees;           // sent: returns when the trees are dropped
    std::function<void()> rebuildCurrentTree;  // posted
    // Asks whether to look up the regions of the queued photos.
    std::function<bool(int imported, int withPosition)> askRegionLookup;
    // The companion runs or could be started (shows its own messages).
    std::function<bool()> companionReady;
    std::function<void()> startRegionLookup;  // posted to the main view
};

// Registration; the pointers stay owned by the caller and must outlive
// their registration. Any thread.
void SetRegionSource(RegionSource* source);
RegionSource* CurrentRegionSource();
void SetImportReceivers(ImportReceivers receivers);
ImportReceivers CurrentImportReceivers();

// The one shared reader of the import and the photo refresh, and the lock
// that serialises its use.
MetadataReader& SharedMetadataReader();
std::mutex& MetadataReaderLock();
