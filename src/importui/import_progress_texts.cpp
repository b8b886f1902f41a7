#include "importui/import_progress_texts.h"

#include <cstdint>

#include <QStringList>

namespace {

// 64-bit so that very large imports cannot overflow the sum or the product.
std::int64_t Handled(const ImportCounts& counts) {
    return std::int64_t{counts.imported} + counts.NotImported();
}

// "未导入：3张（无法读取1张，第三份副本2张）": only the reasons that occurred.
QString NotImportedLine(const ImportCounts& counts) {
    QString line = QStringLiteral("未导入：%1张").arg(counts.LeftOut());
    QStringList reasons;
    if (counts.unreadable > 0) reasons << QStringLiteral("无法读取%1张").arg(counts.unreadable);
    if (counts.thirdCopies > 0) reasons << QStringLiteral("第三份副本%1张").arg(counts.thirdCopies);
    if (counts.failed > 0) reasons << QStringLiteral("存入数据库失败%1张").arg(counts.failed);
    if (!reasons.isEmpty())
        line += QStringLiteral("（%1）").arg(reasons.join(QStringLiteral("，")));
    return line;
}

}  // namespace

ImportProgressTexts InitialImportProgressTexts() {
    return {QStringLiteral("已导入照片：0/0张"), QStringLiteral("重复照片：0张"),
            QStringLiteral("未导入：0张"), QStringLiteral("已完成：")};
}

ImportProgressTexts MakeImportProgressTexts(const ImportCounts& counts) {
    ImportProgressTexts texts;
    texts.importedLine =
        QStringLiteral("已导入照片：%1/%2张").arg(counts.imported).arg(counts.total);
    texts.duplicateLine = QStringLiteral("重复照片：%1张").arg(counts.duplicates);
    texts.notImportedLine = NotImportedLine(counts);
    const std::int64_t percent = counts.total > 0 ? Handled(counts) * 100 / counts.total : 0;
    texts.doneLine = QStringLiteral("已完成：%1%").arg(percent);
    return texts;
}

bool ImportProgressComplete(const ImportCounts& counts) {
    return counts.total > 0 && Handled(counts) >= counts.total;
}
