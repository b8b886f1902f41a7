#pragma once
// Showing RasterImages with Qt. Any thread (QImage, never QPixmap).

#include <QImage>

class RasterImage;

// An upright 32-bit copy (QImage::Format_RGB32) of the image, the format
// the painter draws without converting; null for an empty image.
QImage ToQImage(const RasterImage& image);
