#include "zidevu/track_import_command.h"

#include <cstdio>

#include "companion/track_positions.h"

namespace {

const char* WhyNothing(TrackReadStatus status) {
    switch (status) {
        case TrackReadStatus::Unreadable:
            return "cannot be read";
        case TrackReadStatus::NotATrack:
            return "not a track";
        case TrackReadStatus::Truncated:
            return "cut short";
        case TrackReadStatus::Damaged:
            return "damaged";
        case TrackReadStatus::NoTimes:
            return "no times";
        case TrackReadStatus::Ok:
            break;
    }
    return "not stored";
}

}  // namespace

int RunTrackImport(const std::vector<std::string>& files, const std::string& storePath) {
    TrackStore store;
    if (!store.Open(storePath)) {
        std::fprintf(stderr, "zidevu: %s\n", store.ErrorText().c_str());
        return 1;
    }
    bool all = true;
    for (const std::string& file : files) {
        const TrackImport r = ImportTrackFile(store, file);
        switch (r.outcome) {
            case StoreOutcome::Stored:
                std::printf("%s: stored as track %lld (%s, %zu segments, %zu fixes)\n",
                            file.c_str(), static_cast<long long>(r.trackId),
                            TrackFormatName(r.format), r.segments, r.fixes);
                break;
            case StoreOutcome::AlreadyStored:
                std::printf("%s: already stored as track %lld\n", file.c_str(),
                            static_cast<long long>(r.trackId));
                break;
            case StoreOutcome::Failed:
                all = false;
                std::printf("%s: nothing imported: %s (%s)\n", file.c_str(),
                            r.status == TrackReadStatus::Ok ? "not stored" : WhyNothing(r.status),
                            r.detail.c_str());
                break;
        }
        if (r.droppedSentences > 0)
            std::printf("%s: %d NMEA sentences dropped (wrong checksum or cut short)\n",
                        file.c_str(), r.droppedSentences);
    }
    return all ? 0 : 1;
}
