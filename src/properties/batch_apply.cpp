#include "properties/batch_apply.h"

#include <QFileInfo>
#include <QString>
#include <unordered_set>

#include "catalogue/photo_rows.h"

std::vector<PhotoRef> BatchPhotos(const std::vector<PhotoRef>& selection, PhotoRef shown) {
    std::vector<PhotoRef> photos;
    std::unordered_set<std::int64_t> seen{shown.Packed()};
    for (const PhotoRef& photo : selection) {
        if (photo.idPic == -1 || !seen.insert(photo.Packed()).second) continue;
        photos.push_back(photo);
    }
    return photos;
}

void RunBatchApply(BatchJob& job, const StopToken& stop) {
    for (const PhotoRef& photo : job.photos) {
        if (!job.proceed || stop.StopRequested()) break;
        const std::optional<std::string> path = PhotoFullPath(*job.library, photo);
        PhotoEditResult result;
        if (path) result = job.writer(*path, job.edit, photo);
        if (result.Succeeded()) ++job.modified;
        if (result.Succeeded() && !result.captionsInExifOnly) continue;
        const QString name = path ? QFileInfo(QString::fromStdString(*path)).fileName()
                                  : QString::number(photo.idPic);
        std::lock_guard lock(job.mutex);
        if (result.Succeeded()) {
            job.captionsInExifOnly.push_back(name);
        } else {
            job.failures.push_back({name, result});
        }
    }
    job.proceed = false;
}
