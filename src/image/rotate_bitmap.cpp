// RotateBitmap: the viewer's and the main view's rotation of top-down display
// bitmaps. The arithmetic (the truncated pi, integer halves, +0.5 half-sizes, int() truncation of
// the loop starts) is kept exactly as designed so that sizes and offsets match.
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "image/raster_image.h"

int BitmapStride(int width, int bitDepth) {
    if (bitDepth != 8 && bitDepth != 24 && bitDepth != 32) return 0;
    return RasterImage::StrideFor(width, bitDepth);
}

namespace {

bool IsGreyRamp(const Bitmap& b) {
    if (b.bitDepth != 8 || b.colorTable.size() != 256) return false;
    for (int i = 0; i < 256; ++i) {
        const RgbColor& c = b.colorTable[static_cast<std::size_t>(i)];
        if (c.r != i || c.g != i || c.b != i) return false;
    }
    return true;
}

}  // namespace

bool RotateBitmap(const Bitmap& source, Bitmap& destination, double angleDegrees) {
    const int W = source.width, H = source.height;
    const int stride = BitmapStride(W, source.bitDepth);
    if (W <= 0 || H <= 0 || stride == 0 || !std::isfinite(angleDegrees)) return false;
    if (source.pixels.size() / static_cast<std::size_t>(stride) < static_cast<std::size_t>(H))
        return false;

    const double theta = angleDegrees * 3.1415926 / 180;
    const int e = W / 2, d = H / 2;
    const double R = std::sqrt(static_cast<double>(e) * e + static_cast<double>(d) * d);
    // atan(d / e), written with atan2 so that a one-pixel-wide source (e = 0) gives pi / 2.
    const double phi = std::atan2(static_cast<double>(d), static_cast<double>(e));
    const double hw = std::max(std::fabs(std::cos(phi + theta) * R) + 0.5,
                               std::fabs(std::cos(theta - phi) * R) + 0.5);
    const double hh = std::max(std::fabs(std::sin(phi + theta) * R) + 0.5,
                               std::fabs(std::sin(theta - phi) * R) + 0.5);
    const int newWidth = static_cast<int>(2 * hw), newHeight = static_cast<int>(2 * hh);
    const int newStride = BitmapStride(newWidth, source.bitDepth);
    if (newWidth <= 0 || newHeight <= 0 || newStride == 0) return false;
    const std::size_t newBytes =
        static_cast<std::size_t>(newStride) * static_cast<std::size_t>(newHeight);
    if (newBytes / static_cast<std::size_t>(newStride) != static_cast<std::size_t>(newHeight) ||
        newBytes > RasterImage::kMaxPixelBytes) {
        return false;
    }

    Bitmap result;
    try {
        result.pixels.assign(newBytes, 0);
        if (source.bitDepth == 8) result.colorTable = source.colorTable;
    } catch (const std::bad_alloc&) {
        return false;
    }
    result.width = newWidth;
    result.height = newHeight;
    result.bitDepth = source.bitDepth;

    const bool grey = IsGreyRamp(source);
    const int bytesPerPixel = source.bitDepth / 8;
    const double cosT = std::cos(theta), sinT = std::sin(theta);
    const int y0 = static_cast<int>(d - hh), x0 = static_cast<int>(e - hw);
    const std::uint8_t* src = source.pixels.data();
    for (int y = y0; y < d + hh; ++y) {
        const int row = y - y0;
        if (row >= newHeight) break;
        std::uint8_t* out = result.pixels.data() + static_cast<std::size_t>(row) * newStride;
        for (int x = x0; x < hw + e; ++x) {
            const int col = x - x0;
            if (col >= newWidth) break;
            const double sx = (x - e) * cosT + e + (y - d) * sinT;
            const double sy = d - (x - e) * sinT + (y - d) * cosT;
            // The test is 0 <= int(sx) (truncation, so -1 < sx passes) and int(sx) + 1 < W;
            // range-check in double first, since int() of a huge value would be undefined.
            if (!(sx > -1.0 && sy > -1.0 && sx < W && sy < H)) continue;
            const int ix = static_cast<int>(sx), iy = static_cast<int>(sy);
            if (ix + 1 >= W || iy + 1 >= H) continue;
            const double fx = sx > 0 ? sx - ix : 0.0, fy = sy > 0 ? sy - iy : 0.0;
            const std::uint8_t* r0 = src + static_cast<std::size_t>(iy) * stride;
            if (grey) {
                const std::uint8_t* r1 = r0 + stride;
                const double top = r0[ix] + (r0[ix + 1] - r0[ix]) * fx;
                const double bottom = r1[ix] + (r1[ix + 1] - r1[ix]) * fx;
                const double value = top + (bottom - top) * fy + 0.5;
                out[col] = static_cast<std::uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
                continue;
            }
            const int px = ix + (fx > 0.5 ? 1 : 0), py = iy + (fy > 0.5 ? 1 : 0);
            std::memcpy(out + static_cast<std::size_t>(col) * bytesPerPixel,
                        src + static_cast<std::size_t>(py) * stride +
                            static_cast<std::size_t>(px) * bytesPerPixel,
                        static_cast<std::size_t>(bytesPerPixel));
        }
    }
    destination = std::move(result);
    return true;
}
