#include "import/track_apply_worker.h"

#include <optional>

#include "catalogue/photo_rows.h"
#include "import/photo_edit.h"
#include "import/photo_writer.h"
#include "import/position_range.h"

namespace {

// Writes one record's position; the altitude the photo has stays.
std::optional<TrackSkip> ApplyRecord(const MapPhotoRecord& r, const TrackApplyJob& job,
                                     std::string& path) {
    auto fullPath = PhotoFullPath(job.library, PhotoRef{r.idPic, false});
    if (fullPath) path = *fullPath;
    // 0,0 is the track's "no position here"; writing it would erase the
    // position the photo may have.
    if (r.latitude == 0 && r.longitude == 0) return TrackSkip::NoPosition;
    if (!InPositionRange(PositionPart::Latitude, r.latitude) ||
        !InPositionRange(PositionPart::Longitude, r.longitude))
        return TrackSkip::OutOfRange;
    PhotoRecord stored;
    if (!fullPath || !LoadPhotoRecord(job.library, PhotoRef{r.idPic, false}, stored))
        return TrackSkip::NotCatalogued;
    const auto latitude = static_cast<float>(r.latitude);
    const auto longitude = static_cast<float>(r.longitude);
    PhotoEdit edit;
    edit.position = GpsPosition{latitude, longitude, stored.nGPSAlititude};
    // Not named to the writer: only the file is rewritten; the row and the
    // region queue are brought along below, exactly for the position.
    if (!job.writer(path, edit, PhotoRef{}).Succeeded()) return TrackSkip::WriteFailed;
    UpdatePhotoPosition(job.library, r.idPic, latitude, longitude);
    job.queue.Push({r.idPic, r.latitude, r.longitude});
    return std::nullopt;
}

}  // namespace

TrackApplyResult RunTrackApply(const std::vector<MapPhotoRecord>& records,
                               const TrackApplyJob& job) {
    TrackApplyResult result;
    result.total = static_cast<int>(records.size());
    for (const MapPhotoRecord& r : records) {
        if (job.stop.ParentStopRequested()) {
            result.exited = true;
            return result;
        }
        if (job.stop.StopRequested()) {
            result.cancelled = true;
            break;
        }
        std::string path;
        if (auto skip = ApplyRecord(r, job, path)) {
            result.failures.push_back({r.idPic, path, *skip});
            continue;
        }
        ++result.applied;
        result.written.push_back(r);
        result.writtenPaths.push_back(path);
        if (job.report) job.report({result.applied, result.total, 0});
    }
    if (job.report) job.report({result.applied, result.total, result.total - result.applied});
    return result;
}
