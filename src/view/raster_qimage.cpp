#include "view/raster_qimage.h"

#include <QPainter>
#include <QRectF>

#include "image/raster_image.h"

QImage WrapBottomUp(const RasterImage& image) {
    if (image.IsEmpty()) return {};
    if (image.BitDepth() == 24) {
        return QImage(image.Row(0), image.Width(), image.Height(), image.Stride(),
                      QImage::Format_BGR888);
    }
    QImage indexed(image.Row(0), image.Width(), image.Height(), image.Stride(),
                   QImage::Format_Indexed8);
    QList<QRgb> colours;
    colours.reserve(256);
    for (const RgbColor& c : image.Palette()) colours.push_back(qRgb(c.r, c.g, c.b));
    indexed.setColorTable(colours);
    return indexed;
}

QImage ToQImage(const RasterImage& image) { return WrapBottomUp(image).mirrored(); }

void DrawStretched(QPainter& painter, const QRectF& target, const RasterImage& image) {
    const QImage flipped = WrapBottomUp(image);
    if (flipped.isNull()) return;
    painter.save();
    painter.translate(target.left(), target.bottom());
    painter.scale(1, -1);
    painter.drawImage(QRectF(0, 0, target.width(), target.height()), flipped);
    painter.restore();
}
