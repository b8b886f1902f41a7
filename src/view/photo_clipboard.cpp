#include "view/photo_clipboard.h"

#include <QByteArray>
#include <QMimeData>
#include <QUrl>

namespace {

const QString kGnomeFiles = QStringLiteral("x-special/gnome-copied-files");
const QString kKdeCut = QStringLiteral("application/x-kde-cutselection");
// The Windows clipboard format name; Qt maps it to the registered format.
const QString kDropEffect =
    QStringLiteral("application/x-qt-windows-mime;value=\"Preferred DropEffect\"");

}  // namespace

QMimeData* MakePhotoFilesMimeData(const QStringList& paths, bool cut) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    QByteArray gnome = cut ? "cut" : "copy";
    for (const QString& path : paths) {
        const QUrl url = QUrl::fromLocalFile(path);
        urls << url;
        gnome += '\n' + url.toEncoded();
    }
    data->setUrls(urls);
    data->setText(paths.join(QLatin1Char('\n')));
    data->setData(kGnomeFiles, gnome);
    if (cut) data->setData(kKdeCut, "1");
#ifdef Q_OS_WIN
    const char effect[4] = {static_cast<char>(cut ? 2 : 1), 0, 0, 0};
    data->setData(kDropEffect, QByteArray(effect, 4));
#endif
    return data;
}

bool IsCutMimeData(const QMimeData& data) {
    if (data.hasFormat(kGnomeFiles)) return data.data(kGnomeFiles).startsWith("cut");
    if (data.hasFormat(kKdeCut)) return data.data(kKdeCut).startsWith('1');
    if (data.hasFormat(kDropEffect)) {
        const QByteArray effect = data.data(kDropEffect);
        return !effect.isEmpty() && (effect[0] & 2);
    }
    return false;
}
