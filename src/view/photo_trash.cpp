#include "view/photo_trash.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

PhotoDeletion DeletePhotoFile(const QString& path) {
    // The home trash lives in the data folder; when that folder is missing,
    // Qt would set up a trash in the working folder instead.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    if (QFile::moveToTrash(path)) return PhotoDeletion::Trashed;
    // No trash on this volume (or none at all): delete, as asked.
    if (QFile::exists(path) && QFile::remove(path)) return PhotoDeletion::Deleted;
    return PhotoDeletion::Failed;
}
