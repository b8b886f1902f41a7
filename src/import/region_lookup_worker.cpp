#include "import/region_lookup_worker.h"

#include <thread>

#include "catalogue/photo_rows.h"
#include "maplink/map_link.h"
#include "maplink/region_buffer.h"

namespace {

void Report(const RegionLookupJob& job, const RegionLookupResult& r) {
    if (job.report) job.report({r.resolved, r.total, r.outside});
}

void MarkRegionsChanged(const RegionLookupJob& job) {
    if (job.regionTreeStale) job.regionTreeStale();
}

// Ends the lookup when its stop was requested: at once when the program
// closes, as cancelled (the queue kept) on 取消.
bool StopAt(const RegionLookupJob& job, RegionLookupResult& result) {
    if (job.stop.ParentStopRequested()) {
        result.end = RegionLookupEnd::Exited;
        return true;
    }
    if (!job.stop.StopRequested()) return false;
    MarkRegionsChanged(job);
    result.end = RegionLookupEnd::Cancelled;
    return true;
}

}  // namespace

RegionLookupResult RunRegionLookup(MapLink& link, RegionBuffer& buffer,
                                   const RegionLookupJob& job) {
    RegionLookupResult result;
    PendingRegionQueue& pending = job.queue;
    const PendingRegionList queue = pending.Snapshot();
    result.total = static_cast<int>(queue.size());
    if (queue.empty()) return result;

    if (!link.CompanionWindowExists()) {
        result.end = RegionLookupEnd::NoCompanion;
        if (job.missingCompanionRetries < kMissingCompanionRetries) {
            ++job.missingCompanionRetries;
            std::this_thread::sleep_for(kRegionReplyPause);
            if (job.restart) job.restart();
        }
        Report(job, result);
        return result;
    }
    job.missingCompanionRetries = 0;

    PendingRegionList unanswered;
    for (const PendingRegion& entry : queue) {
        if (StopAt(job, result)) return result;
        const bool answered =
            link.RequestRegionNames(entry.latitude, entry.longitude, kRegionLookupSends, &job.stop);
        // A stop that cut the wait short ends here; an answer that came is
        // still stored.
        if ((job.stop.ParentStopRequested() || !answered) && StopAt(job, result)) return result;
        const std::string first = buffer.Slot(0);
        if (!answered) {
            ++result.unanswered;
            unanswered.push_back(entry);
        } else if (first.empty()) {
            ++result.outside;
        } else if (UpdatePhotoRegion(job.library, entry.idPic,
                                     {first, buffer.Slot(1), buffer.Slot(2)})) {
            ++result.resolved;
        } else {
            ++result.unanswered;  // the names could not be stored
        }
        Report(job, result);
    }

    // Entries queued meanwhile stay, and so do those the companion never
    // answered, for the next lookup.
    pending.DropFirst(queue.size(), unanswered);
    result.end = RegionLookupEnd::Finished;
    if (result.resolved > 0) MarkRegionsChanged(job);
    Report(job, result);
    return result;
}
