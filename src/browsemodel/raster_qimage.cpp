#include "browsemodel/raster_qimage.h"

#include "image/raster_image.h"

QImage ToQImage(const RasterImage& image) {
    if (image.IsEmpty()) return {};
    const int width = image.Width();
    const int height = image.Height();
    QImage result(width, height, QImage::Format_RGB32);
    if (result.isNull()) return {};
    const bool indexed = image.BitDepth() == 8;
    const std::vector<RgbColor>& palette = image.Palette();
    for (int y = 0; y < height; ++y) {
        // RasterImage rows run bottom-up.
        const std::uint8_t* source = image.Row(height - 1 - y);
        auto* target = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (indexed) {
                const RgbColor& c = palette[source[x]];
                target[x] = qRgb(c.r, c.g, c.b);
            } else {
                const std::uint8_t* p = source + x * 3;
                target[x] = qRgb(p[2], p[1], p[0]);
            }
        }
    }
    return result;
}
