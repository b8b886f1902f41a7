#include "importui/import_progress_texts.h"

#include <cstdint>

ImportProgressTexts InitialImportProgressTexts() {
    return {QStringLiteral("已导入照片：0/0张"), QStringLiteral("重复照片：0张"),
            QStringLiteral("已完成：")};
}

ImportProgressTexts MakeImportProgressTexts(int total, int imported, int notImported) {
    ImportProgressTexts texts;
    texts.importedLine = QStringLiteral("已导入照片：%1/%2张").arg(imported).arg(total);
    texts.duplicateLine = QStringLiteral("重复照片：%1张").arg(notImported);
    // 64-bit so that very large imports cannot overflow the product.
    const std::int64_t handled = std::int64_t{imported} + notImported;
    const std::int64_t percent = total > 0 ? handled * 100 / total : 0;
    texts.doneLine = QStringLiteral("已完成：%1%").arg(percent);
    return texts;
}

bool ImportProgressComplete(int total, int imported, int notImported) {
    return total > 0 && std::int64_t{imported} + notImported >= total;
}
