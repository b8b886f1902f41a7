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
#endif

namespace {

bool AskFileManagerToSelect(const QString& path) {
#ifdef Q_OS_WIN
    return QProcess::startDetached(QStringLiteral("explorer"),
                                   {QStringLiteral("/select,"), QDir::toNativeSeparators(path)});
#else
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    // A short wait: no file manager on the bus answers with an error at once.
    const QDBusMessage reply = bus.call(call, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage;
#endif
}

}  // namespace

void ShowFileInFileManager(const QString& path) {
    if (AskFileManagerToSelect(path)) return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}
