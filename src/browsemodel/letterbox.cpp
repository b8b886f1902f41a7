#include "browsemodel/letterbox.h"

#include <algorithm>

#include "image/raster_image.h"

namespace {

int Brightness(const RgbColor& c) {
    return c.r + c.g + c.b;
}

}  // namespace

bool IsLetterboxed(const RasterImage& thumbnail) {
    int dark = 0;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (Brightness(thumbnail.PixelColor(x, y)) > 19) break;
            if (++dark > 10) return true;
        }
    }
    return false;
}

LetterboxBars MeasureLetterboxBars(const RasterImage& thumbnail) {
    const int width = thumbnail.Width();
    const int height = thumbnail.Height();
    int left = 0;
    while (left < width && Brightness(thumbnail.PixelColor(left, height / 2)) <= 29) ++left;
    int top = 0;
    while (top < height && Brightness(thumbnail.PixelColor(width / 2, top)) <= 29) ++top;
    if (top < left) return {true, std::min(left + 1, 20)};
    return {false, std::min(top + 1, 20)};
}
