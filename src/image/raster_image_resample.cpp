// RasterImage::Resample: area averaging for 24-bit images shrinking in both
// directions, bilinear interpolation otherwise.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "image/raster_image_internal.h"

namespace darazoz_image {
namespace {

// Source interval [begin, end) in pixels covered by one destination pixel, with the weights of
// its partly covered first and last source pixels (interior pixels weigh 1).
struct Span {
    int first = 0;
    int last = 0;  // inclusive
    float firstWeight = 1;
    float lastWeight = 1;
    float total = 1;  // sum of all weights, the covered length
};

std::vector<Span> MakeSpans(int sourceSize, int destinationSize) {
    std::vector<Span> spans(static_cast<std::size_t>(destinationSize));
    const double scale = static_cast<double>(sourceSize) / destinationSize;
    for (int d = 0; d < destinationSize; ++d) {
        const double begin = d * scale;
        const double end =
            d + 1 == destinationSize ? sourceSize : std::min<double>(sourceSize, (d + 1) * scale);
        Span& s = spans[static_cast<std::size_t>(d)];
        s.first = std::clamp(static_cast<int>(std::floor(begin)), 0, sourceSize - 1);
        s.last = std::clamp(static_cast<int>(std::ceil(end)) - 1, s.first, sourceSize - 1);
        if (s.first == s.last) {
            s.firstWeight = s.lastWeight = static_cast<float>(end - begin);
        } else {
            s.firstWeight = static_cast<float>(s.first + 1 - begin);
            s.lastWeight = static_cast<float>(end - s.last);
        }
        s.total = static_cast<float>(end - begin);
    }
    return spans;
}

std::uint8_t ToByte(float v) {
    return static_cast<std::uint8_t>(std::clamp(v + 0.5f, 0.0f, 255.0f));
}

// Separable box filter with fractional edge weights over C interleaved 8-bit channels. For each
// destination row the covered source rows are summed (weighted) into one float row, a contiguous
// loop the compiler vectorises; the columns of that row are then summed the same way.
template <int C>
void AreaAverage(const std::uint8_t* src, std::size_t srcStride, int width, int height,
                 std::uint8_t* dst, std::size_t dstStride, int newWidth, int newHeight) {
    const std::vector<Span> xs = MakeSpans(width, newWidth);
    const std::vector<Span> ys = MakeSpans(height, newHeight);
    const std::size_t rowValues = static_cast<std::size_t>(width) * C;
    std::vector<float> columnSums(rowValues);
    float* sums = columnSums.data();
    for (int dy = 0; dy < newHeight; ++dy) {
        const Span& s = ys[static_cast<std::size_t>(dy)];
        std::fill(columnSums.begin(), columnSums.end(), 0.0f);
        for (int y = s.first; y <= s.last; ++y) {
            const float w = y == s.first ? s.firstWeight : (y == s.last ? s.lastWeight : 1.0f);
            const std::uint8_t* row = src + static_cast<std::size_t>(y) * srcStride;
            for (std::size_t i = 0; i < rowValues; ++i) sums[i] += w * static_cast<float>(row[i]);
        }
        std::uint8_t* out = dst + static_cast<std::size_t>(dy) * dstStride;
        for (const Span& sx : xs) {
            const float* p = sums + static_cast<std::size_t>(sx.first) * C;
            float total[C];
            for (int c = 0; c < C; ++c) total[c] = sx.firstWeight * p[c];
            if (sx.last != sx.first) {
                const float* q = p + C;
                for (int x = sx.first + 1; x < sx.last; ++x, q += C) {
                    for (int c = 0; c < C; ++c) total[c] += q[c];
                }
                for (int c = 0; c < C; ++c) total[c] += sx.lastWeight * q[c];
            }
            const float area = sx.total * s.total;
            for (int c = 0; c < C; ++c) *out++ = ToByte(total[c] / area);
        }
    }
}

// Bilinear sampling positions: destination d samples source d * scale (corner-aligned, as the
// classic bilinear resampler), between floor and the next pixel (clamped at the last one).
struct Tap {
    int i0 = 0;
    int i1 = 0;
    float f = 0;
};

std::vector<Tap> MakeTaps(int sourceSize, int destinationSize) {
    std::vector<Tap> taps(static_cast<std::size_t>(destinationSize));
    const float scale = static_cast<float>(sourceSize) / static_cast<float>(destinationSize);
    for (int d = 0; d < destinationSize; ++d) {
        const float position = d * scale;
        Tap& t = taps[static_cast<std::size_t>(d)];
        t.i0 = std::clamp(static_cast<int>(position), 0, sourceSize - 1);
        t.i1 = std::min(t.i0 + 1, sourceSize - 1);
        t.f = std::clamp(position - static_cast<float>(t.i0), 0.0f, 1.0f);
    }
    return taps;
}

template <int C>
void Bilinear(const std::uint8_t* src, std::size_t srcStride, int width, int height,
              std::uint8_t* dst, std::size_t dstStride, int newWidth, int newHeight) {
    const std::vector<Tap> xs = MakeTaps(width, newWidth);
    const std::vector<Tap> ys = MakeTaps(height, newHeight);
    for (int dy = 0; dy < newHeight; ++dy) {
        const Tap& ty = ys[static_cast<std::size_t>(dy)];
        const std::uint8_t* r0 = src + static_cast<std::size_t>(ty.i0) * srcStride;
        const std::uint8_t* r1 = src + static_cast<std::size_t>(ty.i1) * srcStride;
        std::uint8_t* out = dst + static_cast<std::size_t>(dy) * dstStride;
        for (const Tap& tx : xs) {
            const std::uint8_t* a = r0 + static_cast<std::size_t>(tx.i0) * C;
            const std::uint8_t* b = r0 + static_cast<std::size_t>(tx.i1) * C;
            const std::uint8_t* c0 = r1 + static_cast<std::size_t>(tx.i0) * C;
            const std::uint8_t* d = r1 + static_cast<std::size_t>(tx.i1) * C;
            for (int c = 0; c < C; ++c) {
                const float top = a[c] + (b[c] - a[c]) * tx.f;
                const float bottom = c0[c] + (d[c] - c0[c]) * tx.f;
                *out++ = ToByte(top + (bottom - top) * ty.f);
            }
        }
    }
}

// 8-bit image with a non-grey palette: interpolate colours, then take the nearest palette entry.
void BilinearPalette(const RasterImage& source, RasterImage& destination) {
    const int width = source.Width(), height = source.Height();
    const int newWidth = destination.Width(), newHeight = destination.Height();
    const std::vector<RgbColor>& palette = source.Palette();
    const std::vector<Tap> xs = MakeTaps(width, newWidth);
    const std::vector<Tap> ys = MakeTaps(height, newHeight);
    RgbColor lastColour{};
    std::uint8_t lastIndex = NearestPaletteIndex(palette, lastColour);
    auto mix = [](std::uint8_t p, std::uint8_t q, float f) { return p + (q - p) * f; };
    for (int dy = 0; dy < newHeight; ++dy) {
        const Tap& ty = ys[static_cast<std::size_t>(dy)];
        const std::uint8_t* r0 = source.Row(ty.i0);
        const std::uint8_t* r1 = source.Row(ty.i1);
        std::uint8_t* out = destination.MutableRow(dy);
        for (int dx = 0; dx < newWidth; ++dx) {
            const Tap& tx = xs[static_cast<std::size_t>(dx)];
            const RgbColor a = palette[r0[tx.i0]], b = palette[r0[tx.i1]];
            const RgbColor c = palette[r1[tx.i0]], d = palette[r1[tx.i1]];
            const float topR = mix(a.r, b.r, tx.f), bottomR = mix(c.r, d.r, tx.f);
            const float topG = mix(a.g, b.g, tx.f), bottomG = mix(c.g, d.g, tx.f);
            const float topB = mix(a.b, b.b, tx.f), bottomB = mix(c.b, d.b, tx.f);
            const RgbColor colour{ToByte(topR + (bottomR - topR) * ty.f),
                                  ToByte(topG + (bottomG - topG) * ty.f),
                                  ToByte(topB + (bottomB - topB) * ty.f)};
            if (!(colour == lastColour)) {
                lastColour = colour;
                lastIndex = NearestPaletteIndex(palette, colour);
            }
            out[dx] = lastIndex;
        }
    }
}

}  // namespace
}  // namespace darazoz_image

bool RasterImage::Resample(int newWidth, int newHeight, RasterImage& destination) const {
    using namespace darazoz_image;
    if (IsEmpty()) return Fail("empty image");
    if (newWidth <= 0 || newHeight <= 0) return Fail("invalid size");
    RasterImage result;
    if (newWidth == width_ && newHeight == height_) {
        try {
            result = *this;
            result.truncated_ = false;
        } catch (const std::bad_alloc&) {
            return Fail("out of memory");
        }
        destination = std::move(result);
        return true;
    }
    if (!result.Allocate(newWidth, newHeight, bitDepth_, HasAlpha()))
        return Fail(result.LastError().c_str());
    RasterImageAccess::CopyAttributes(*this, result);
    result.palette_ = palette_;
    const bool area = bitDepth_ == 24 && newWidth < width_ && newHeight < height_;
    try {
        if (bitDepth_ == 24) {
            auto run = area ? AreaAverage<3> : Bilinear<3>;
            run(pixels_.data(), stride_, width_, height_, result.pixels_.data(), result.stride_,
                newWidth, newHeight);
        } else if (IsGreyscale()) {
            Bilinear<1>(pixels_.data(), stride_, width_, height_, result.pixels_.data(),
                        result.stride_, newWidth, newHeight);
        } else {
            BilinearPalette(*this, result);
        }
        if (HasAlpha()) {
            auto run = area ? AreaAverage<1> : Bilinear<1>;
            run(alpha_.data(), static_cast<std::size_t>(width_), width_, height_,
                result.alpha_.data(), static_cast<std::size_t>(newWidth), newWidth, newHeight);
        }
    } catch (const std::bad_alloc&) {
        return Fail("out of memory");
    }
    destination = std::move(result);
    return true;
}
