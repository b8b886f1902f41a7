#include "view/grid_painter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "browsemodel/grid_selection.h"
#include "browsemodel/photo_list.h"
#include "browsemodel/thumbnail_trimmer.h"
#include "view/grid_layout.h"

namespace {

QRect ToQRect(const GridRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// A one-pixel outline covering the columns left..right-1 and rows
// top..bottom-1, as a GDI rectangle with a hollow brush.
void Outline(QPainter& painter, const GridRect& r, const QColor& colour) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return;
    painter.fillRect(r.left, r.top, width, 1, colour);
    painter.fillRect(r.left, r.bottom - 1, width, 1, colour);
    painter.fillRect(r.left, r.top, 1, height, colour);
    painter.fillRect(r.right - 1, r.top, 1, height, colour);
}

GridRect Grown(const GridRect& r, int by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

// Text on the text background, which covers only the text itself; text
// wider than the box is elided with "…" where elide says. Qt::AlignHCenter
// or Qt::AlignLeft.
void DrawBoxedText(QPainter& painter, const GridRect& box, const QString& whole, int alignment,
                   Qt::TextElideMode elide) {
    if (whole.isEmpty()) return;
    const QRect area = ToQRect(box);
    const QString text = painter.fontMetrics().elidedText(whole, elide, area.width());
    const QRect bounds = painter.fontMetrics().boundingRect(
        area, alignment | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.fillRect(bounds, kTextBackground);
    painter.drawText(area, alignment | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.restore();
}

void DrawFrame(QPainter& painter, const GridRect& image, const PhotoListEntry& entry,
               bool selected) {
    if (!entry.letterboxed) {
        const QColor& colour = selected ? kSelectedFrameColour : kFrameColour;
        Outline(painter, image, colour);
        Outline(painter, Grown(image, -1), colour);
        return;
    }
    const int n = entry.bars.thickness;
    GridRect inner = image;
    if (entry.bars.vertical) {
        painter.fillRect(ToQRect({image.left, image.top, image.left + n, image.bottom}),
                         kViewBackground);
        painter.fillRect(ToQRect({image.right - n, image.top, image.right, image.bottom}),
                         kViewBackground);
        inner.left += n;
        inner.right -= n;
    } else {
        painter.fillRect(ToQRect({image.left, image.top, image.right, image.top + n}),
                         kViewBackground);
        painter.fillRect(ToQRect({image.left, image.bottom - n, image.right, image.bottom}),
                         kViewBackground);
        inner.top += n;
        inner.bottom -= n;
    }
    if (selected) {
        Outline(painter, inner, kSelectedFrameColour);
        Outline(painter, Grown(inner, 1), kSelectedFrameColour);
    }
}

QFont CaptionFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace

void PaintGrid(QPainter& painter, GridPaintJob job, int top, int bottom) {
    PhotoList& list = job.list;
    const GridLayout& layout = job.layout;
    const int c = layout.cellSize;
    painter.setFont(CaptionFont());
    painter.setPen(Qt::black);

    const auto [first, last] = layout.VisibleRange(top, bottom, list.Count());
    TrimThumbnails(list, job.scrollY, layout.columns, c, layout.FirstScreenCount(list.Count()));
    for (int i = first; i < last; ++i) {
        // A thumbnail that cannot be loaded leaves its cell empty; it is
        // tried again at the next paint.
        if (!list.EnsureThumbnail(i)) continue;
        const PhotoListEntry& entry = list.Entry(i);
        const int w = entry.thumbnail.width();
        const int h = entry.thumbnail.height();
        const GridRect cell = layout.CellRect(i);
        const GridRect image = ImageRect(cell, c, w, h);
        painter.drawImage(ToQRect(image), entry.thumbnail);
        if (c == kLargeIconCell) {
            DrawBoxedText(painter,
                          {cell.left, cell.bottom - kCaptionHeight, cell.right, cell.bottom},
                          QString::fromUtf8(entry.name), Qt::AlignHCenter, Qt::ElideMiddle);
        }
        DrawFrame(painter, image, entry, job.selection.IsSelected(list, i));
        if (job.showKeywords) {
            const int off = entry.letterboxed ? 6 : 1;
            DrawBoxedText(
                painter,
                {image.left + off, image.top + off, image.right - off, image.top + off + 20},
                QString::fromUtf8(entry.keywords), Qt::AlignLeft, Qt::ElideRight);
        }
    }
}
