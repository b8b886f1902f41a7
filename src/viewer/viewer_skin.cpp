#include "viewer/viewer_skin.h"

#include <QPainter>
#include <QPainterPath>

namespace {

void DrawArrow(QPainter& painter, QPointF centre, bool left) {
    const double d = left ? -1 : 1;
    const QPointF points[] = {centre + QPointF(8 * d, 0), centre + QPointF(-6 * d, -9),
                              centre + QPointF(-6 * d, 9)};
    painter.drawPolygon(points, 3);
}

void DrawTurn(QPainter& painter, QPointF centre, bool clockwise) {
    const QRectF ring(centre.x() - 8, centre.y() - 8, 16, 16);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(ring, clockwise ? 180 * 16 : 0, clockwise ? -270 * 16 : 270 * 16);
    painter.setBrush(painter.pen().color());
    const double d = clockwise ? 1 : -1;
    const QPointF tip = centre + QPointF(0, -8);
    const QPointF head[] = {tip + QPointF(5 * d, 0), tip + QPointF(-2 * d, -5),
                            tip + QPointF(-2 * d, 5)};
    painter.drawPolygon(head, 3);
}

void DrawGlyph(QPainter& painter, int id, QPointF c) {
    using namespace ViewerButtonId;
    const QColor ink = painter.pen().color();
    painter.setBrush(ink);
    switch (id) {
        case kZoomIn:
        case kZoomOut:
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(c + QPointF(-2, -2), 8, 8);
            painter.drawLine(c + QPointF(4, 4), c + QPointF(10, 10));
            painter.drawLine(c + QPointF(-6, -2), c + QPointF(2, -2));
            if (id == kZoomIn) painter.drawLine(c + QPointF(-2, -6), c + QPointF(-2, 2));
            break;
        case kNatural: {
            QFont font = painter.font();
            font.setPixelSize(12);
            font.setBold(true);
            painter.setFont(font);
            painter.drawText(QRectF(c.x() - 16, c.y() - 10, 32, 20), Qt::AlignCenter,
                             QStringLiteral("1:1"));
            break;
        }
        case kPrevious:
        case kNext:
            DrawArrow(painter, c, id == kPrevious);
            break;
        case kTurnLeft:
        case kTurnRight:
            DrawTurn(painter, c, id == kTurnRight);
            break;
        case kDelete:
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(c.x() - 6, c.y() - 5, 12, 14));
            painter.drawLine(c + QPointF(-9, -7), c + QPointF(9, -7));
            painter.drawLine(c + QPointF(-3, -10), c + QPointF(3, -10));
            painter.drawLine(c + QPointF(-2, -2), c + QPointF(-2, 6));
            painter.drawLine(c + QPointF(2, -2), c + QPointF(2, 6));
            break;
        case kMore:
            for (int i = -1; i <= 1; ++i) painter.drawEllipse(c + QPointF(i * 7, 0), 2.2, 2.2);
            break;
        default:
            break;
    }
}

}  // namespace

const std::vector<ViewerButtonPlace>& ViewerButtons() {
    using namespace ViewerButtonId;
    static const std::vector<ViewerButtonPlace> buttons{
        {kZoomIn, "放大", -194, 55},      {kZoomOut, "缩小", -139, 36},
        {kNatural, "原始比例", -103, 36}, {kPrevious, "前一张", -67, 76},
        {kNext, "后一张", 9, 76},         {kTurnLeft, "左转90°", 85, 36},
        {kTurnRight, "右转90°", 121, 36}, {kDelete, "删除", 157, 36},
        {kMore, "更多", 193, 55},
    };
    return buttons;
}

QPixmap ViewerButtonImage(int id, int width, bool active) {
    QPixmap pixmap(width, kViewerButtonHeight);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(active ? QColor(68, 118, 198, 230) : QColor(30, 30, 30, 190));
    painter.drawRoundedRect(QRectF(2, 2, width - 4, kViewerButtonHeight - 4), 6, 6);
    painter.setPen(QPen(active ? QColor(255, 255, 255) : QColor(225, 225, 225), 2.2, Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    DrawGlyph(painter, id, QPointF(width / 2.0, kViewerButtonHeight / 2.0));
    return pixmap;
}

QPixmap ViewerCloseIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 60, 60, 220));
    painter.drawEllipse(QRectF(1, 1, 30, 30));
    painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10, 10), QPointF(22, 22));
    painter.drawLine(QPointF(22, 10), QPointF(10, 22));
    return pixmap;
}
