#include "zidevu/track_texts.h"

#include <QDateTime>
#include <QTimeZone>

namespace {

const QString kClockFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

}  // namespace

QString TrackReadStatusText(TrackReadStatus status) {
    switch (status) {
        case TrackReadStatus::Ok:
            return QStringLiteral("已读取");
        case TrackReadStatus::Unreadable:
            return QStringLiteral("无法读取文件");
        case TrackReadStatus::NotATrack:
            return QStringLiteral("不是轨迹文件");
        case TrackReadStatus::Truncated:
            return QStringLiteral("文件不完整");
        case TrackReadStatus::Damaged:
            return QStringLiteral("文件已损坏");
        case TrackReadStatus::NoTimes:
            return QStringLiteral("轨迹点没有时间");
    }
    return {};
}

QString WallClockText(std::int64_t wallSeconds) {
    return QDateTime::fromSecsSinceEpoch(wallSeconds, QTimeZone::utc()).toString(kClockFormat);
}

QString LocalInstantText(std::int64_t seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).toString(kClockFormat);
}

QString OffsetText(std::int64_t seconds) {
    const QString sign = seconds < 0 ? QStringLiteral("慢") : QStringLiteral("快");
    const std::int64_t magnitude = seconds < 0 ? -seconds : seconds;
    if (magnitude == 0) return QStringLiteral("相机时钟准确");
    return QStringLiteral("相机时钟%1 %2 时 %3 分 %4 秒")
        .arg(sign)
        .arg(magnitude / 3600)
        .arg(magnitude / 60 % 60)
        .arg(magnitude % 60);
}
