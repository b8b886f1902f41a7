#include "app/application_look.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include "app/look_palettes.h"

const std::vector<LookMenuItem>& LookMenuItems() {
    static const std::vector<LookMenuItem> items{{LookId::kBlue, "蓝色样式(&B)"},
                                                 {LookId::kBlack, "黑色样式(&L)"},
                                                 {LookId::kSilver, "银色样式(&S)"},
                                                 {LookId::kAqua, "水绿色样式(&A)"}};
    return items;
}

ApplicationLook::Resolved ApplicationLook::Resolve(int id) const {
    switch (id) {
        case 205:  // classic look
        case 207:
        case 209:
            return {QStringLiteral("Windows"), 0};
        case 206:
        case 208:
        case 210:
        case LookId::kWindows7:
            return {QStringLiteral("Fusion"), 0};
        case LookId::kBlue:
        case LookId::kBlack:
        case LookId::kSilver:
        case LookId::kAqua:
            return {QStringLiteral("Fusion"), id};
        default:
            return {QStringLiteral("Fusion"), lastColourLook_};
    }
}

void ApplicationLook::Apply(int id) {
    const Resolved look = Resolve(id);
    if (look.colourLook != 0) lastColourLook_ = look.colourLook;

    QStyle* style = QStyleFactory::create(look.styleName);
    if (style == nullptr) style = QStyleFactory::create(QStringLiteral("Fusion"));
    if (style != nullptr) QApplication::setStyle(style);  // the application owns it

    if (look.colourLook != 0) {
        QApplication::setPalette(ColourLookPalette(look.colourLook));
        qApp->setStyleSheet(ColourLookStyleSheet(look.colourLook));
    } else {
        QApplication::setPalette(QApplication::style()->standardPalette());
        qApp->setStyleSheet(QString());
    }
}
