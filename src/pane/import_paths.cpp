#include "pane/import_paths.h"

#include <QFileInfo>
#include <QMimeData>

QStringList LocalFilePaths(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) paths.append(url.toLocalFile());
    }
    return paths;
}

bool ClipboardOffersImport(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return false;
    for (const QString& path : LocalFilePaths(data->urls())) {
        if (path.endsWith(QStringLiteral("jpg"), Qt::CaseInsensitive) ||
            path.endsWith(QStringLiteral("jpeg"), Qt::CaseInsensitive) || QFileInfo(path).isDir())
            return true;
    }
    return false;
}
