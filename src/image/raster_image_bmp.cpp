// BMP decoding from memory, hand-written: every offset and size read from the data is checked
// against the buffer before use, in 64-bit arithmetic.
#include <cstdint>
#include <cstring>

#include "image/raster_image_internal.h"

namespace darazoz_image {
namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3,
                        kBiAlphaBitfields = 6;

std::uint32_t U32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// One channel described by a bit mask, scaled to 0..255.
struct MaskChannel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;
    explicit MaskChannel(std::uint32_t m) : mask(m) {
        if (mask == 0) return;
        while (((mask >> shift) & 1u) == 0) ++shift;
        max = mask >> shift;
    }
    std::uint8_t operator()(std::uint32_t pixel) const {
        if (max == 0) return 0;
        return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255u / max);
    }
};

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t masks[3] = {0, 0, 0};  // R, G, B
    std::size_t headerSize = 0;
    std::size_t paletteEntrySize = 4;
    std::size_t declaredColours = 0;
    std::size_t maskBytesAfterHeader = 0;

    bool Rle() const { return compression == kBiRle8 || compression == kBiRle4; }
    bool Bitfields() const {
        return compression == kBiBitfields || compression == kBiAlphaBitfields;
    }
};

// Reads the DIB header at dib, of which available bytes (at least 12) are in
// the buffer. Null, or the reason the header cannot be used.
const char* ReadHeader(const std::uint8_t* dib, std::size_t available, Layout& l) {
    l.headerSize = U32(dib);
    if (l.headerSize == 12) {  // OS/2 BITMAPCOREHEADER
        l.width = U16(dib + 4);
        l.height = U16(dib + 6);
        l.bitCount = U16(dib + 10);
        l.paletteEntrySize = 3;
        return nullptr;
    }
    if (l.headerSize < 40 || l.headerSize > 1024) return "unsupported BMP header";
    if (available < l.headerSize) return "truncated BMP header";
    const auto w = static_cast<std::int32_t>(U32(dib + 4));
    const auto h = static_cast<std::int32_t>(U32(dib + 8));
    if (w <= 0 || h == 0 || h == INT32_MIN) return "invalid BMP size";
    l.width = w;
    l.topDown = h < 0;
    l.height = h < 0 ? -h : h;
    l.bitCount = U16(dib + 14);
    l.compression = U32(dib + 16);
    l.declaredColours = U32(dib + 32);
    if (l.Bitfields()) {
        if (l.headerSize < 52) {
            l.maskBytesAfterHeader = l.compression == kBiAlphaBitfields ? 16 : 12;
            if (available < l.headerSize + 12) return "truncated BMP header";
        }
        for (int c = 0; c < 3; ++c) l.masks[c] = U32(dib + 40 + 4 * c);
    }
    return nullptr;
}

// Null when this decoder handles the size, bit count and compression.
const char* CheckFormat(const Layout& l) {
    if (l.width <= 0 || l.height <= 0) return "invalid BMP size";
    switch (l.bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            return "unsupported BMP bit count";
    }
    if (l.Rle() && (l.topDown || l.bitCount != (l.compression == kBiRle8 ? 8 : 4))) {
        return "invalid BMP compression";
    }
    if (!l.Rle() && l.compression != kBiRgb &&
        !(l.Bitfields() && (l.bitCount == 16 || l.bitCount == 32))) {
        return "unsupported BMP compression";
    }
    return nullptr;
}

// The colour channels of 16- and 32-bit pixels: the header's masks, else the defaults.
void PixelChannels(const Layout& l, MaskChannel& red, MaskChannel& green, MaskChannel& blue) {
    static constexpr std::uint32_t k16[3] = {0x7C00u, 0x03E0u, 0x001Fu};
    static constexpr std::uint32_t k32[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    const std::uint32_t* masks = l.Bitfields() ? l.masks : l.bitCount == 16 ? k16 : k32;
    red = MaskChannel(masks[0]);
    green = MaskChannel(masks[1]);
    blue = MaskChannel(masks[2]);
}

// The uncompressed rows (bottom-up unless topDown), srcStride bytes apart,
// into the allocated image.
void DecodeRows(const std::uint8_t* data, std::size_t srcStride, const Layout& l,
                RasterImage& out) {
    MaskChannel red(0), green(0), blue(0);
    if (l.bitCount == 16 || l.bitCount == 32) PixelChannels(l, red, green, blue);
    for (int y = 0; y < l.height; ++y) {
        const int srcRow = l.topDown ? l.height - 1 - y : y;
        const std::uint8_t* src = data + static_cast<std::size_t>(srcRow) * srcStride;
        std::uint8_t* dst = out.MutableRow(y);
        switch (l.bitCount) {
            case 1:
            case 4: {
                const int perByte = 8 / l.bitCount;
                const unsigned mask = (1u << l.bitCount) - 1;
                for (int x = 0; x < l.width; ++x) {
                    const int shift = 8 - l.bitCount * (x % perByte + 1);
                    dst[x] = static_cast<std::uint8_t>((src[x / perByte] >> shift) & mask);
                }
                break;
            }
            case 8:
                std::memcpy(dst, src, static_cast<std::size_t>(l.width));
                break;
            case 24:
                std::memcpy(dst, src, static_cast<std::size_t>(l.width) * 3);
                break;
            default: {  // 16, 32
                const int bytesPerPixel = l.bitCount / 8;
                for (int x = 0; x < l.width; ++x, src += bytesPerPixel, dst += 3) {
                    const std::uint32_t pixel = bytesPerPixel == 2 ? U16(src) : U32(src);
                    dst[0] = blue(pixel);
                    dst[1] = green(pixel);
                    dst[2] = red(pixel);
                }
                break;
            }
        }
    }
}

bool DecodeRle(const std::uint8_t* data, std::size_t size, const Layout& l, RasterImage& out,
               std::string& error) {
    // Pixels not written by the stream keep index 0 (the buffer starts zeroed).
    long long x = 0, y = 0;
    std::size_t i = 0;
    const bool four = l.compression == kBiRle4;
    auto put = [&](std::uint8_t index) {
        if (x < l.width && y < l.height) out.MutableRow(static_cast<int>(y))[x] = index;
        ++x;
    };
    while (i + 1 < size) {
        const std::uint8_t count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k) {
                put(four ? static_cast<std::uint8_t>((k & 1) ? (value & 0x0F) : (value >> 4))
                         : value);
            }
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            return true;
        } else if (value == 2) {  // delta
            if (i + 1 >= size) break;
            x += data[i];
            y += data[i + 1];
            i += 2;
        } else {  // absolute run of `value` pixels, padded to a 16-bit boundary
            const std::size_t bytes = four ? (value + 1u) / 2u : value;
            if (i + bytes > size) break;
            for (int k = 0; k < value; ++k) {
                const std::uint8_t b = data[i + (four ? k / 2 : k)];
                put(four ? static_cast<std::uint8_t>((k & 1) ? (b & 0x0F) : (b >> 4)) : b);
            }
            i += bytes + (bytes & 1u);
        }
        if (y >= l.height) return true;
    }
    error = "truncated BMP data";
    return false;
}

// Where the parts of a whole BMP lie in the buffer, every one checked to fit.
struct BmpParts {
    Layout layout;
    std::size_t paletteStart = 0;
    std::size_t colours = 0;  // palette entries, 0 above 8 bits per pixel
    std::size_t pixelStart = 0;
    std::size_t stride = 0;  // bytes per uncompressed row
};

// Reads the file header (when the data starts with "BM"; otherwise the data
// is a packed DIB), the DIB header and the palette's place, and checks that
// the pixel rows fit. Null, or the reason the data cannot be decoded.
const char* ReadBmpParts(const std::uint8_t* bytes, std::size_t length, BmpParts& parts) {
    const bool fileImage = length >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    const std::size_t dibStart = fileImage ? 14 : 0;
    if (length < dibStart + 12) return "truncated BMP header";
    Layout& l = parts.layout;
    if (const char* reason = ReadHeader(bytes + dibStart, length - dibStart, l)) return reason;
    if (const char* reason = CheckFormat(l)) return reason;

    parts.paletteStart = dibStart + l.headerSize + l.maskBytesAfterHeader;
    if (l.bitCount <= 8) {
        const std::size_t maximum = std::size_t{1} << l.bitCount;
        parts.colours =
            l.declaredColours == 0 || l.declaredColours > maximum ? maximum : l.declaredColours;
    }
    const std::size_t paletteBytes = parts.colours * l.paletteEntrySize;
    if (parts.paletteStart + paletteBytes > length) return "truncated BMP palette";
    parts.pixelStart = parts.paletteStart + paletteBytes;
    if (fileImage) {
        parts.pixelStart = U32(bytes + 10);
        if (parts.pixelStart < 14 + 12) return "invalid BMP data offset";
    }
    if (parts.pixelStart >= length) return "truncated BMP data";

    const unsigned long long stride =
        ((static_cast<unsigned long long>(l.width) * static_cast<unsigned>(l.bitCount) + 31) / 32) *
        4;
    if (!l.Rle() &&
        stride * static_cast<unsigned long long>(l.height) > length - parts.pixelStart) {
        return "truncated BMP data";
    }
    parts.stride = static_cast<std::size_t>(stride);
    return nullptr;
}

// Allocates the image and fills its palette and pixels from the located parts.
bool DecodePixels(const std::uint8_t* bytes, std::size_t length, const BmpParts& parts,
                  RasterImage& out, std::string& error) {
    const Layout& l = parts.layout;
    const int bitDepth = l.bitCount <= 8 ? 8 : 24;
    if (!RasterImageAccess::Allocate(out, l.width, l.height, bitDepth, false)) {
        error = out.LastError();
        return false;
    }
    if (bitDepth == 8) {
        std::vector<RgbColor>& palette = RasterImageAccess::Palette(out);
        const std::uint8_t* p = bytes + parts.paletteStart;
        for (std::size_t i = 0; i < parts.colours; ++i, p += l.paletteEntrySize) {
            palette[i] = RgbColor{p[2], p[1], p[0]};
        }
    }
    const std::uint8_t* data = bytes + parts.pixelStart;
    if (l.Rle()) return DecodeRle(data, length - parts.pixelStart, l, out, error);
    DecodeRows(data, parts.stride, l, out);
    return true;
}

}  // namespace

bool DecodeBmp(const std::uint8_t* bytes, std::size_t length, RasterImage& out,
               std::string& error) {
    BmpParts parts;
    if (const char* reason = ReadBmpParts(bytes, length, parts)) {
        out.Clear();
        error = reason;
        return false;
    }
    if (DecodePixels(bytes, length, parts, out, error)) return true;
    out.Clear();
    return false;
}

}  // namespace darazoz_image
