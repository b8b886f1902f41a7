#include "view/file_location.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QProcess>
#else
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#endif

namespace {

void OpenFolder(const QString& path, const std::function<void()>& onFailure) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath())) &&
        onFailure)
        onFailure();
}

}  // namespace

void ShowFileInFileManager(const QString& path, QObject* context, std::function<void()> onFailure) {
#ifdef Q_OS_WIN
    Q_UNUSED(context);
    if (!QProcess::startDetached(QStringLiteral("explorer"),
                                 {QStringLiteral("/select,"), QDir::toNativeSeparators(path)}))
        OpenFolder(path, onFailure);
#else
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        OpenFolder(path, onFailure);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    // No file manager on the bus answers with an error at once; one that
    // hangs is given up after two seconds, without holding the window.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 2000), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, path, onFailure = std::move(onFailure)] {
                         if (watcher->isError()) OpenFolder(path, onFailure);
                         watcher->deleteLater();
                     });
#endif
}
