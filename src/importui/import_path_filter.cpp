#include "importui/import_path_filter.h"

#include <QFileInfo>

namespace {

bool IsFolder(const QString& path) {
    return QFileInfo(path).isDir();
}

}  // namespace

bool HasJpegExtension(const QString& path) {
    return path.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".jpeg"), Qt::CaseInsensitive);
}

QStringList AcceptedDropPaths(const QStringList& paths) {
    QStringList accepted;
    for (const QString& path : paths)
        if (HasJpegExtension(path) || IsFolder(path)) accepted.append(path);
    return accepted;
}

QStringList AcceptedFilePaths(const QStringList& paths) {
    QStringList accepted;
    for (const QString& path : paths)
        if (HasJpegExtension(path)) accepted.append(path);
    return accepted;
}

bool PasteAvailable(const QStringList& paths) {
    for (const QString& path : paths) {
        if (IsFolder(path)) return true;
        if (path.endsWith(QStringLiteral("jpg"), Qt::CaseInsensitive) ||
            path.endsWith(QStringLiteral("jpeg"), Qt::CaseInsensitive))
            return true;
    }
    return false;
}
