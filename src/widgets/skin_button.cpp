#include "widgets/skin_button.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

// The image with the mask's white parts made transparent.
QPixmap Masked(const QPixmap& image, const QImage& mask) {
    if (mask.isNull()) return image;
    QImage result = image.toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage scaledMask = mask.scaled(result.size()).convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        const uchar* maskLine = scaledMask.constScanLine(y);
        for (int x = 0; x < result.width(); ++x)
            line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]),
                            qAlpha(line[x]) * (255 - maskLine[x]) / 255);
    }
    return QPixmap::fromImage(result);
}

}  // namespace

CSkinButton::CSkinButton(QWidget* parent, SkinButtonKind kind)
    : CTrackControl<QAbstractButton>(parent), kind_(kind) {
    setCheckable(kind != SkinButtonKind::Push);
    setAutoExclusive(kind == SkinButtonKind::Radio);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
}

CSkinButton::CSkinButton(const QString& text, SkinButtonKind kind, QWidget* parent)
    : CSkinButton(parent, kind) {
    setText(text);
}

void CSkinButton::SetSkin(const QPixmap& normal, const QPixmap& down, const QPixmap& over,
                          const QPixmap& disabled) {
    normal_ = normal;
    down_ = down;
    over_ = over;
    disabled_ = disabled;
    mask_ = QImage();
    focus_ = QPixmap();
    drawMode_ = SkinDrawMode::Copy;
    border_ = false;
    focusMargin_ = 0;
    update();
}

QSize CSkinButton::sizeHint() const {
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, text());
    QSize size(textSize.width() + 2 * (focusMargin_ + 2) + 8, textSize.height() + 8);
    if (!normal_.isNull()) size = size.expandedTo(normal_.size());
    return size;
}

QPixmap CSkinButton::StateImage() const {
    if (!isEnabled()) return disabled_;
    if (isDown() || isChecked()) return down_;
    if (Hovering() && !over_.isNull()) return over_;
    if (hasFocus() && !focus_.isNull()) return focus_;
    return normal_;
}

void CSkinButton::DrawImage(QPainter& painter, const QPixmap& image) const {
    const QPixmap source = Masked(image, mask_);
    switch (drawMode_) {
        case SkinDrawMode::Stretch:
            painter.drawPixmap(rect(), source);
            break;
        case SkinDrawMode::Tile:
            painter.drawTiledPixmap(rect(), source);
            break;
        case SkinDrawMode::Copy:
            painter.drawPixmap(0, 0, source);
            break;
    }
}

void CSkinButton::DrawCaption(QPainter& painter, const QRect& area, const QColor& colour) const {
    painter.setPen(colour);
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void CSkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap image = StateImage();
    if (image.isNull())
        painter.fillRect(rect(), palette().color(QPalette::Button));
    else
        DrawImage(painter, image);

    QRect captionArea = rect().adjusted(focusMargin_ + 2, 0, -(focusMargin_ + 2), 0);
    if (!isEnabled()) {
        if (border_) qDrawShadePanel(&painter, rect(), palette(), false, 1);
        DrawCaption(painter, captionArea, palette().color(QPalette::Light));
        DrawCaption(painter, captionArea.translated(-1, -1),
                    palette().color(QPalette::Disabled, QPalette::WindowText));
        return;
    }
    if (isDown() || isChecked()) {
        DrawCaption(painter, captionArea.translated(1, 1), textColour_);
        if (border_) qDrawShadePanel(&painter, rect(), palette(), true, 1);
        return;
    }
    if (border_) qDrawShadePanel(&painter, rect(), palette(), false, 1);
    if (hasFocus() && focusMargin_ > 0) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(focusMargin_, focusMargin_, -focusMargin_, -focusMargin_);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
    DrawCaption(painter, captionArea, textColour_);
}
