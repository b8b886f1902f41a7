#pragma once
// Showing RasterImages with Qt. UI thread (painting).

#include <QImage>

class QPainter;
class QRectF;
class RasterImage;

// A QImage over the image's pixels without copying them: the rows come in
// the image's own bottom-up order, so the result is upside down, and it is
// valid only while the RasterImage lives unchanged. Null for an empty image.
QImage WrapBottomUp(const RasterImage& image);

// An upright copy of the image.
QImage ToQImage(const RasterImage& image);

// Draws the image stretched into target, upright, without copying it first.
void DrawStretched(QPainter& painter, const QRectF& target, const RasterImage& image);
