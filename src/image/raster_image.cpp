// RasterImage: representation, accessors, Light, and the front doors of the codecs.
#include "image/raster_image.h"

#include <algorithm>
#include <limits>
#include <new>

#include "image/raster_image_internal.h"

int RasterImage::StrideFor(int width, int bitDepth) {
    if (width <= 0 || bitDepth <= 0) return 0;
    const long long bits = static_cast<long long>(width) * bitDepth;
    const long long stride = ((bits + 31) / 32) * 4;
    if (stride > std::numeric_limits<int>::max()) return 0;
    return static_cast<int>(stride);
}

bool RasterImage::Allocate(int width, int height, int bitDepth, bool withAlpha) {
    if (width <= 0 || height <= 0 || (bitDepth != 8 && bitDepth != 24)) {
        return Fail("invalid image size");
    }
    const int stride = StrideFor(width, bitDepth);
    if (stride == 0) return Fail("image too large");
    const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
    if (bytes / static_cast<std::size_t>(stride) != static_cast<std::size_t>(height) ||
        bytes > kMaxPixelBytes) {
        return Fail("image too large");
    }
    const std::size_t alphaBytes =
        withAlpha ? static_cast<std::size_t>(width) * static_cast<std::size_t>(height) : 0;
    try {
        std::vector<std::uint8_t> pixels(bytes);
        std::vector<std::uint8_t> alpha(alphaBytes, 255);
        std::vector<RgbColor> palette(bitDepth == 8 ? 256 : 0);
        pixels_.swap(pixels);
        alpha_.swap(alpha);
        palette_.swap(palette);
    } catch (const std::bad_alloc&) {
        Clear();
        return Fail("out of memory");
    }
    width_ = width;
    height_ = height;
    bitDepth_ = bitDepth;
    stride_ = stride;
    return true;
}

bool RasterImage::Fail(const char* reason) const {
    lastError_ = reason;
    return false;
}

void RasterImage::SetGreyPalette() {
    palette_.resize(256);
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        palette_[i] = RgbColor{v, v, v};
    }
}

void RasterImage::Clear() {
    truncated_ = false;
    width_ = height_ = bitDepth_ = stride_ = 0;
    std::vector<std::uint8_t>().swap(pixels_);
    std::vector<std::uint8_t>().swap(alpha_);
    std::vector<RgbColor>().swap(palette_);
}

bool RasterImage::Decode(const std::uint8_t* bytes, std::size_t length, ImageFormat format) {
    Clear();
    if (bytes == nullptr || length == 0) return Fail("no data");
    RasterImage decoded;
    std::string error;
    bool ok = false;
    switch (format) {
        case ImageFormat::Jpeg:
            ok = darazoz_image::DecodeJpeg(bytes, length, 0, 0, nullptr, nullptr, decoded, error);
            break;
        case ImageFormat::Png:
            ok = darazoz_image::DecodePng(bytes, length, decoded, error);
            break;
        case ImageFormat::Bmp:
            ok = darazoz_image::DecodeBmp(bytes, length, decoded, error);
            break;
        default:
            error = "unknown format";
            break;
    }
    if (!ok) return Fail(error.empty() ? "decode failed" : error.c_str());
    RasterImageAccess::CopyAttributes(*this, decoded);
    decoded.lastError_ = std::move(lastError_);
    *this = std::move(decoded);
    return true;
}

bool RasterImage::DecodeJpegScaled(const std::uint8_t* bytes, std::size_t length, int minWidth,
                                   int minHeight, int* headerWidth, int* headerHeight) {
    Clear();
    if (bytes == nullptr || length == 0) return Fail("no data");
    RasterImage decoded;
    std::string error;
    if (!darazoz_image::DecodeJpeg(bytes, length, std::max(minWidth, 1), std::max(minHeight, 1),
                                   headerWidth, headerHeight, decoded, error)) {
        return Fail(error.empty() ? "decode failed" : error.c_str());
    }
    RasterImageAccess::CopyAttributes(*this, decoded);
    decoded.lastError_ = std::move(lastError_);
    *this = std::move(decoded);
    return true;
}

bool RasterImage::IsEmpty() const {
    return pixels_.empty();
}
int RasterImage::Width() const {
    return width_;
}
int RasterImage::Height() const {
    return height_;
}
int RasterImage::BitDepth() const {
    return bitDepth_;
}
int RasterImage::Stride() const {
    return stride_;
}
const std::string& RasterImage::LastError() const {
    return lastError_;
}
int RasterImage::JpegQuality() const {
    return jpegQuality_;
}
const std::vector<RgbColor>& RasterImage::Palette() const {
    return palette_;
}
bool RasterImage::IsTruncated() const {
    return truncated_;
}
bool RasterImage::HasAlpha() const {
    return !alpha_.empty();
}
RgbColor RasterImage::BackgroundColor() const {
    return background_;
}
void RasterImage::SetBackgroundColor(RgbColor color) {
    background_ = color;
}

const std::uint8_t* RasterImage::Row(int y) const {
    if (IsEmpty() || y < 0 || y >= height_) return nullptr;
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride_);
}

std::uint8_t* RasterImage::MutableRow(int y) {
    return const_cast<std::uint8_t*>(static_cast<const RasterImage*>(this)->Row(y));
}

const std::uint8_t* RasterImage::AlphaRow(int y) const {
    if (alpha_.empty() || y < 0 || y >= height_) return nullptr;
    return alpha_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
}

bool RasterImage::IsGreyscale() const {
    if (bitDepth_ != 8 || palette_.size() != 256) return false;
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        if (!(palette_[i] == RgbColor{v, v, v})) return false;
    }
    return true;
}

RgbColor RasterImage::PixelColor(int x, int y) const {
    if (x < 0 || x >= width_) return RgbColor{};
    const std::uint8_t* row = Row(y);
    if (row == nullptr) return RgbColor{};
    if (bitDepth_ == 8) return palette_[row[x]];
    const std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
    return RgbColor{p[2], p[1], p[0]};
}

std::uint8_t RasterImage::PixelIndex(int x, int y) const {
    if (bitDepth_ != 8 || x < 0 || x >= width_) return 0;
    const std::uint8_t* row = Row(y);
    return row == nullptr ? 0 : row[x];
}

bool RasterImage::Light(int brightness) {
    if (IsEmpty()) return Fail("empty image");
    brightness = std::clamp(brightness, -255, 255);
    std::uint8_t table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(std::clamp(i + brightness, 0, 255));
    if (bitDepth_ == 8) {
        for (RgbColor& c : palette_) c = RgbColor{table[c.r], table[c.g], table[c.b]};
        return true;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3;
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = pixels_.data() + static_cast<std::size_t>(y) * stride_;
        for (std::size_t i = 0; i < rowBytes; ++i) row[i] = table[row[i]];
    }
    return true;
}

bool RasterImage::EncodeJpeg(std::vector<std::uint8_t>& output) const {
    if (!output.empty()) return Fail("output buffer is not empty");
    if (IsEmpty()) return Fail("empty image");
    std::vector<std::uint8_t> encoded;
    std::string error;
    if (!darazoz_image::EncodeJpeg(*this, jpegQuality_, encoded, error)) {
        return Fail(error.empty() ? "encode failed" : error.c_str());
    }
    output.swap(encoded);
    return true;
}

RasterImage RasterImage::FromRgbTopDown(int width, int height, const std::uint8_t* rgb) {
    RasterImage image;
    if (rgb == nullptr || !image.Allocate(width, height, 24, false)) {
        image.Clear();
        return image;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = rgb + static_cast<std::size_t>(height - 1 - y) * rowBytes;
        std::uint8_t* dst = image.MutableRow(y);
        for (int x = 0; x < width; ++x, src += 3, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
    return image;
}

RasterImage RasterImage::FromGreyTopDown(int width, int height, const std::uint8_t* grey) {
    RasterImage image;
    if (grey == nullptr || !image.Allocate(width, height, 8, false)) {
        image.Clear();
        return image;
    }
    image.SetGreyPalette();
    for (int y = 0; y < height; ++y) {
        std::copy_n(
            grey + static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width),
            width, image.MutableRow(y));
    }
    return image;
}

namespace darazoz_image {

std::uint8_t NearestPaletteIndex(const std::vector<RgbColor>& palette, RgbColor colour) {
    int best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    const int count = static_cast<int>(std::min<std::size_t>(palette.size(), 256));
    for (int i = 0; i < count; ++i) {
        const long dr = long{palette[i].r} - colour.r;
        const long dg = long{palette[i].g} - colour.g;
        const long db = long{palette[i].b} - colour.b;
        const long distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0) break;
        }
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace darazoz_image
