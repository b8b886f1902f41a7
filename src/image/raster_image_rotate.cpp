// RasterImage::Rotate: bounding box of the rotated corners, nearest pixel,
// background colour outside the source; RasterImage::Mirror.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "image/raster_image_internal.h"

namespace {

// cos and sin of r = -angle * pi / 180, exact for multiples of 90 degrees so that quarter turns
// are pixel-exact permutations (std::cos(pi / 2) is 6e-17, not 0).
void RotationOf(double angleDegrees, double& c, double& s) {
    const double quarters = angleDegrees / 90.0;
    if (std::isfinite(quarters) && quarters == std::floor(quarters) && std::fabs(quarters) < 1e15) {
        const long long q = static_cast<long long>(quarters);
        const int k = static_cast<int>(((-q % 4) + 4) % 4);  // r = k * 90 degrees
        static constexpr double kCos[4] = {1, 0, -1, 0};
        static constexpr double kSin[4] = {0, 1, 0, -1};
        c = kCos[k];
        s = kSin[k];
        return;
    }
    const double r = -angleDegrees * std::numbers::pi / 180.0;
    c = std::cos(r);
    s = std::sin(r);
}

}  // namespace

bool RasterImage::Rotate(double angleDegrees, RasterImage& destination) const {
    if (IsEmpty()) return Fail("empty image");
    if (!std::isfinite(angleDegrees)) return Fail("invalid angle");
    double c = 1, s = 0;
    RotationOf(angleDegrees, c, s);
    // Corners (0,0), (W,0), (0,H), (W,H) turned about the origin: (x c - y s, x s + y c).
    const double w = width_, h = height_;
    const double xs[4] = {0, w * c, -h * s, w * c - h * s};
    const double ys[4] = {0, w * s, h * c, w * s + h * c};
    const double left = *std::min_element(xs, xs + 4), right = *std::max_element(xs, xs + 4);
    const double top = *std::min_element(ys, ys + 4), bottom = *std::max_element(ys, ys + 4);
    const double newWidthF = std::floor(0.5 + right - left);
    const double newHeightF = std::floor(0.5 + bottom - top);
    if (newWidthF < 1 || newHeightF < 1 || newWidthF > 1e9 || newHeightF > 1e9) {
        return Fail("invalid size");
    }
    const int newWidth = static_cast<int>(newWidthF), newHeight = static_cast<int>(newHeightF);

    RasterImage result;
    if (!result.Allocate(newWidth, newHeight, bitDepth_, HasAlpha()))
        return Fail(result.LastError().c_str());
    RasterImageAccess::CopyAttributes(*this, result);
    result.palette_ = palette_;
    const std::uint8_t backgroundIndex =
        bitDepth_ == 8 ? darazoz_image::NearestPaletteIndex(palette_, background_) : 0;

    // Destination pixel centre (left + nx + 0.5, top + ny + 0.5) turned back: u = x c + y s,
    // v = y c - x s are source coordinates; the pixel containing them is floor(u), floor(v)
    // ("add 0.5 to the pixel-centre position and truncate", with floor so that
    // positions left of or below the source stay outside).
    for (int ny = 0; ny < newHeight; ++ny) {
        const double y = top + ny + 0.5;
        std::uint8_t* out = result.MutableRow(ny);
        std::uint8_t* alphaOut =
            HasAlpha() ? result.alpha_.data() + static_cast<std::size_t>(ny) * newWidth : nullptr;
        for (int nx = 0; nx < newWidth; ++nx) {
            const double x = left + nx + 0.5;
            const double u = std::floor(x * c + y * s + 1e-9);
            const double v = std::floor(y * c - x * s + 1e-9);
            const bool inside = u >= 0 && v >= 0 && u < w && v < h;
            const int sx = inside ? static_cast<int>(u) : 0;
            const int sy = inside ? static_cast<int>(v) : 0;
            if (bitDepth_ == 24) {
                std::uint8_t* d = out + static_cast<std::size_t>(nx) * 3;
                if (inside) {
                    const std::uint8_t* p = Row(sy) + static_cast<std::size_t>(sx) * 3;
                    d[0] = p[0];
                    d[1] = p[1];
                    d[2] = p[2];
                } else {
                    d[0] = background_.b;
                    d[1] = background_.g;
                    d[2] = background_.r;
                }
            } else {
                out[nx] = inside ? Row(sy)[sx] : backgroundIndex;
            }
            if (alphaOut) {
                alphaOut[nx] = inside ? alpha_[static_cast<std::size_t>(sy) * width_ + sx] : 0;
            }
        }
    }
    destination = std::move(result);
    return true;
}

bool RasterImage::Mirror(RasterImage& destination) const {
    if (IsEmpty()) return Fail("empty image");
    RasterImage result = *this;
    const int bytesPerPixel = bitDepth_ / 8;
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* in = Row(y);
        std::uint8_t* out = result.MutableRow(y);
        for (int x = 0; x < width_; ++x)
            std::copy_n(in + static_cast<std::size_t>(width_ - 1 - x) * bytesPerPixel,
                        bytesPerPixel, out + static_cast<std::size_t>(x) * bytesPerPixel);
        if (HasAlpha()) {
            const std::uint8_t* alphaIn = alpha_.data() + static_cast<std::size_t>(y) * width_;
            std::reverse_copy(alphaIn, alphaIn + width_,
                              result.alpha_.data() + static_cast<std::size_t>(y) * width_);
        }
    }
    destination = std::move(result);
    return true;
}
