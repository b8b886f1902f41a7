#include "pane/import_paths.h"

#include <QFileInfo>
#include <QMimeData>

namespace {

QStringList LocalPaths(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) paths.append(url.toLocalFile());
    }
    return paths;
}

bool IsFolder(const QString& path) { return QFileInfo(path).isDir(); }

}  // namespace

bool HasJpegExtension(const QString& path) {
    return path.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".jpeg"), Qt::CaseInsensitive);
}

QStringList DroppedImportPaths(const QList<QUrl>& urls) {
    QStringList accepted;
    for (const QString& path : LocalPaths(urls)) {
        if (HasJpegExtension(path) || IsFolder(path)) accepted.append(path);
    }
    return accepted;
}

bool ClipboardOffersImport(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return false;
    for (const QString& path : LocalPaths(data->urls())) {
        if (path.endsWith(QStringLiteral("jpg"), Qt::CaseInsensitive) ||
            path.endsWith(QStringLiteral("jpeg"), Qt::CaseInsensitive) || IsFolder(path))
            return true;
    }
    return false;
}

QStringList PastedImportPaths(const QMimeData* data) {
    QStringList accepted;
    if (data == nullptr || !data->hasUrls()) return accepted;
    for (const QString& path : LocalPaths(data->urls())) {
        if (HasJpegExtension(path)) accepted.append(path);
    }
    return accepted;
}
