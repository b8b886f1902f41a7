#include "importui/upkeep_summary.h"

#include <QStringList>

#include "import/library_upkeep.h"

namespace {

QString Summary(const QString& done, const QStringList& counts) {
    if (counts.isEmpty()) return done + QStringLiteral("!");
    return done + QStringLiteral("：") + counts.join(QStringLiteral("，"));
}

void Count(QStringList& counts, int n, const QString& words) {
    if (n > 0) counts << words.arg(n);
}

}  // namespace

QString UpdateSummary(const UpkeepProgress& progress) {
    QStringList counts;
    Count(counts, progress.refreshed, QStringLiteral("刷新%1张"));
    Count(counts, progress.photosRemoved, QStringLiteral("移除%1张"));
    Count(counts, progress.foldersRemoved, QStringLiteral("移除%1个文件夹"));
    Count(counts, progress.foldersOffline, QStringLiteral("%1个文件夹未连接"));
    Count(counts, progress.newFiles, QStringLiteral("新照片%1张"));
    return Summary(QStringLiteral("已更新照片库"), counts);
}

QString TidySummary(const UpkeepProgress& progress) {
    QStringList counts;
    Count(counts, progress.photosRemoved, QStringLiteral("移除%1张照片"));
    Count(counts, progress.foldersRemoved, QStringLiteral("%1个文件夹"));
    Count(counts, progress.foldersOffline, QStringLiteral("%1个文件夹未连接（保留）"));
    return Summary(QStringLiteral("已整理完数据库"), counts);
}

QString NewPhotosQuestion(int count) {
    return QStringLiteral("在照片库的文件夹中发现%1张尚未导入的照片，\r\n是否现在导入？")
        .arg(count);
}
