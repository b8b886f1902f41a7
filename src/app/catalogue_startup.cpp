#include "app/catalogue_startup.h"

#include "catalogue/photo_catalogue.h"
#include "dialogs/dlg_msg.h"

namespace {

const QString kTitle = QStringLiteral("提示");

}  // namespace

QString CatalogueProblemText(CatalogueFileState state) {
    switch (state) {
        case CatalogueFileState::NotADatabase:
            return QStringLiteral("相册数据库文件不是数据库文件：");
        case CatalogueFileState::Truncated:
            return QStringLiteral("相册数据库文件不完整，可能被截断：");
        case CatalogueFileState::Damaged:
            return QStringLiteral("相册数据库文件已损坏，无法读取：");
        case CatalogueFileState::WrongTables:
            return QStringLiteral("相册数据库文件中的表缺少列或列的类型不对：");
        case CatalogueFileState::Unreadable:
            return QStringLiteral("无法读取相册数据库文件：");
        case CatalogueFileState::NotWritable:
            return QStringLiteral("无法写入相册数据库文件：");
        case CatalogueFileState::Usable:
            break;
    }
    return {};
}

bool OpenCatalogueAtStartup(Library& library, const StartupMessageBox& ask, std::time_t now) {
    if (OpenCatalogue(library)) return true;
    const CatalogueFileState state = CatalogueOpenState(library);
    const QString problem = CatalogueProblemText(state) + QStringLiteral("\r\n") +
                            QString::fromStdString(CatalogueFilePath());
    if (!IsDamagedState(state)) {
        ask(kTitle, problem, false);
        return false;
    }
    const QString offer = problem +
                          QStringLiteral("\r\n是否新建一个相册数据库？原文件将改名保留为：\r\n") +
                          QString::fromStdString(CatalogueAsidePath(now));
    if (ask(kTitle, offer, true) != kDlgMsgOk) return false;
    if (!SetCatalogueFileAside(now)) {
        ask(kTitle, QStringLiteral("无法将原文件改名，没有新建相册数据库。"), false);
        return false;
    }
    if (OpenCatalogue(library)) return true;
    ask(kTitle,
        CatalogueProblemText(CatalogueOpenState(library)) + QStringLiteral("\r\n") +
            QString::fromStdString(CatalogueFilePath()),
        false);
    return false;
}
