#include "importui/default_import_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString DefaultImportFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir()) return pictures;
    return QDir::homePath();
}
