#include "dialogs/three_band_look.h"

#include <QPainter>

namespace {

// A rectangle from left/top/right/bottom edges, right and bottom exclusive.
QRect FromEdges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

ThreeBandRects LayOutThreeBands(const QRect& client) {
    const int left = client.left();
    const int top = client.top();
    const int right = client.left() + client.width();
    const int bottom = client.top() + client.height();
    return {FromEdges(left, top, right, kBandHeight),
            FromEdges(left, top + kBandHeight + 1, right, bottom - kBandHeight - 1),
            FromEdges(left, bottom - kBandHeight, right, bottom)};
}

QFont SmallDialogFont(const QFont& base) {
    QFont font = base;
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    return font;
}

void PaintThreeBands(QPainter& painter, const ThreeBandRects& rects,
                     const ThreeBandColours& colours, const QString& caption) {
    painter.fillRect(rects.title, colours.title);
    painter.fillRect(rects.body, colours.body);
    painter.fillRect(rects.bottom, colours.bottom);
    painter.setPen(Qt::white);
    painter.drawText(QRect(rects.title.left() + 3, rects.title.top() + 5, rects.title.width() - 3,
                           rects.title.height() - 5),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
}
