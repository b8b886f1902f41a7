#include "view/photo_trash.h"

#include <QFile>

PhotoDeletion DeletePhotoFile(const QString& path) {
    if (QFile::moveToTrash(path)) return PhotoDeletion::Trashed;
    // No trash on this volume (or none at all): delete, as asked.
    if (QFile::exists(path) && QFile::remove(path)) return PhotoDeletion::Deleted;
    return PhotoDeletion::Failed;
}
