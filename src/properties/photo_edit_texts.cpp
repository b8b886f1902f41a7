#include "properties/photo_edit_texts.h"

#include <functional>

#include <algorithm>

QString PhotoEditFailureReason(const PhotoEditResult& result) {
    switch (result.outcome) {
        case PhotoEditOutcome::Written:
            return {};
        case PhotoEditOutcome::Unreadable:
            return QStringLiteral("照片文件无法读取，可能已被移动或删除");
        case PhotoEditOutcome::InvalidValue:
            return QStringLiteral("修改的内容无法写入照片");
        case PhotoEditOutcome::RefreshFailed:
            return QStringLiteral("照片已写入，但无法重新读入数据库");
        case PhotoEditOutcome::RewriteFailed:
            break;
    }
    switch (result.rewriteFailure) {
        case RewriteFailure::DestinationOccupied:
            return QStringLiteral("已包含同名文件");
        case RewriteFailure::NotLoaded:
        case RewriteFailure::Unreadable:
            return QStringLiteral("照片文件无法读取");
        case RewriteFailure::SegmentTooLarge:
            return QStringLiteral("EXIF数据超过64KB，无法写入");
        case RewriteFailure::WriteFailed:
            return QStringLiteral("文件无法写入（磁盘已满或没有写入权限）");
        case RewriteFailure::ReplaceFailed:
            return QStringLiteral("新文件无法替换原文件");
        case RewriteFailure::TrailerOffsets:
            return QStringLiteral("文件末尾的AFCP附加数据无法调整，照片未修改");
        case RewriteFailure::WouldNotReadBack:
            return QStringLiteral("照片的EXIF数据已损坏，修改无法正确保存，照片未修改");
        case RewriteFailure::None:
            break;
    }
    return QStringLiteral("照片文件无法写入");
}

bool FailureCallsForTidy(const PhotoEditResult& result) {
    return result.outcome == PhotoEditOutcome::Unreadable ||
           result.outcome == PhotoEditOutcome::RefreshFailed;
}

namespace {

// One line per item, at most kSummaryReasons of them, then "……".
QString ListedLines(std::size_t count, const std::function<QString(std::size_t)>& line) {
    QString text;
    const std::size_t listed = std::min<std::size_t>(count, kSummaryReasons);
    for (std::size_t i = 0; i < listed; ++i) text += QStringLiteral("\r\n") + line(i);
    if (count > listed) text += QStringLiteral("\r\n……");
    return text;
}

}  // namespace

QString BatchFailureSummary(const std::vector<PhotoEditFailure>& failures) {
    if (failures.empty()) return {};
    QString text = QStringLiteral("有%1张照片未能修改：").arg(failures.size());
    text += ListedLines(failures.size(), [&failures](std::size_t i) {
        return failures[i].name + QStringLiteral("：") + PhotoEditFailureReason(failures[i].result);
    });
    bool tidy = false;
    for (const PhotoEditFailure& failure : failures)
        tidy = tidy || FailureCallsForTidy(failure.result);
    if (tidy) text += QStringLiteral("\r\n请先整理数据库。");
    return text;
}

QString CaptionsInExifOnlyNotice(const std::vector<QString>& names) {
    if (names.empty()) return {};
    return QStringLiteral(
               "有%1张照片的XMP或IPTC信息无法解析，已原样保留；"
               "关键词、标题、备注和作者只写入了Windows XP标签，"
               "其他程序仍显示原来的内容：")
               .arg(names.size()) +
           ListedLines(names.size(), [&names](std::size_t i) { return names[i]; });
}
