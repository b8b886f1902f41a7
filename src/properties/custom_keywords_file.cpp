#include "properties/custom_keywords_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/data_folder.h"
#include "properties/property_commit_rules.h"

namespace {
// Far more than any keyword list; a bigger file is not ours.
constexpr qint64 kMaxFileSize = 1 << 20;
}  // namespace

QString CustomKeywordsPath() {
    return QDir(QString::fromStdString(DataFolder())).filePath(QStringLiteral("keywords.txt"));
}

QStringList LoadCustomKeywords(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize) return {};
    // Every line is read as a keyword list, so "a;b" typed in by hand is two.
    return KeywordItems(
        QString::fromUtf8(file.readAll()).replace(QLatin1Char('\n'), QLatin1Char(';')));
}

bool SaveCustomKeywords(const QString& path, const QStringList& keywords) {
    if (!EnsureFolder(QFileInfo(path).absolutePath().toStdString())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    for (const QString& keyword : keywords) {
        if (keyword.trimmed().isEmpty()) continue;
        file.write(keyword.toUtf8());
        file.write("\n");
    }
    return file.commit();
}
