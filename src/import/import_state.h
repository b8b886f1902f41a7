#pragma once
// What an import worker is handed: the progress its starter owns and shows,
// the receivers its closing steps tell, and where its photos' region names
// come from.
//
// Threads: the counters are atomics written by the worker and read without
// locking; the stop tokens are requested by the UI thread.

#include <atomic>
#include <functional>

#include "catalogue/photo_rows.h"
#include "catalogue/process_flags.h"
#include "import/photo_region.h"
#include "platform/stop_token.h"

// The counters of one moment, for a display.
struct ImportCounts {
    int total = 0;
    int imported = 0;
    int duplicates = 0;   // catalogued already, or as the copy of a photo found elsewhere
    int unreadable = 0;   // not read: not a JPEG, damaged, no thumbnail, path too long
    int thirdCopies = 0;  // copies of a photo the catalogue already holds twice
    int failed = 0;       // the catalogue could not be written
    // Files that were not imported, whatever the reason.
    int NotImported() const { return duplicates + LeftOut(); }
    // Files the catalogue does not hold after the import.
    int LeftOut() const { return unreadable + thirdCopies + failed; }
};

struct ImportProgress {
    // exit is the parent of the job's stop token: the program's exit token,
    // or a test's own.
    explicit ImportProgress(const StopToken* exit = &ExitToken) : stop(exit) {}

    std::atomic<int> total{0};        // files found by counting
    std::atomic<int> imported{0};     // StorePhotoFile gave Imported
    std::atomic<int> notImported{0};  // every other outcome, the reasons below included
    std::atomic<int> unreadable{0};
    std::atomic<int> thirdCopies{0};
    std::atomic<int> failed{0};
    // The job's stop: requested by the progress dialog's 取消 (the walk stops
    // and the closing steps still run); reads as stopped when the program
    // closes (nothing is committed or saved).
    StopToken stop;
    // Requested by the found-photos counter's 取消: the count stops, no
    // import follows. Its parent is stop, so the count also stops with it.
    StopToken countStop{&stop};

    // Counts one file that was not imported, before its reason, so that a
    // reader of Counts() never sees a reason without its file.
    void CountNotImported(std::atomic<int>* reason) {
        ++notImported;
        if (reason) ++*reason;
    }
    // Reads the reasons first, then the sum, so that the duplicates derived
    // from them are never negative while the walk goes on.
    ImportCounts Counts() const {
        ImportCounts counts;
        counts.unreadable = unreadable;
        counts.thirdCopies = thirdCopies;
        counts.failed = failed;
        counts.imported = imported;
        counts.total = total;
        counts.duplicates = notImported - counts.unreadable - counts.thirdCopies - counts.failed;
        return counts;
    }
    // Everything, the stop requests too: a new import starts.
    void Reset() {
        total = 0;
        stop.Clear();
        countStop.Clear();
        ResetOutcomes();
    }
    // Every counter but the total.
    void ResetOutcomes() {
        imported = 0;
        notImported = 0;
        unreadable = 0;
        thirdCopies = 0;
        failed = 0;
    }
};

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

struct ImportJob {
    Library& library;
    ImportProgress& progress;
    ImportReceivers receivers;
    // The companion while it runs; the photos it cannot name wait in the
    // queue, which the closing question reads and may empty.
    RegionRoute regions;
};
