#include "view/photo_trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#include "platform/file_ops.h"

PhotoDeletion DeletePhotoFile(const QString& path) {
    // The home trash lives in the data folder; when that folder is missing,
    // Qt would set up a trash in the working folder instead.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    if (QFile::moveToTrash(path)) return PhotoDeletion::Trashed;
    // No trash on this volume (or none at all): delete, as asked.
    if (QFile::exists(path) && QFile::remove(path)) return PhotoDeletion::Deleted;
    return PhotoDeletion::Failed;
}

bool VolumeHasTrash(const QString& path) {
#ifdef _WIN32
    Q_UNUSED(path);
    return true;  // every fixed drive has a recycle bin
#else
    const QStorageInfo volume(QFileInfo(path).absolutePath());
    if (!volume.isValid() || volume.isReadOnly()) return false;
    if (volume == QStorageInfo(QDir::home())) return true;
    const QDir root(volume.rootPath());
    const QString uid = QString::number(CurrentUserId());
    const QFileInfo shared(root.filePath(QStringLiteral(".Trash")));
    if (shared.isDir() && !shared.isSymLink()) return true;
    const QFileInfo own(root.filePath(QStringLiteral(".Trash-") + uid));
    if (own.isDir()) return own.isWritable();
    return QFileInfo(volume.rootPath()).isWritable();
#endif
}
