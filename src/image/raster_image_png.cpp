// PNG decoding through libpng's simplified API (png_image), which contains libpng's longjmp error
// handling inside the library: every failure comes back as a zero result with a message.
#include <cstring>
#include <new>
#include <vector>

#include <png.h>

#include "image/raster_image_internal.h"

namespace darazoz_image {

bool DecodePng(const std::uint8_t* bytes, std::size_t length, RasterImage& out,
               std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, length)) {
        error = image.message[0] ? image.message : "not a PNG image";
        png_image_free(&image);
        return false;
    }
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    const bool colour = (image.format & PNG_FORMAT_FLAG_COLOR) != 0;
    const bool mapped = (image.format & PNG_FORMAT_FLAG_COLORMAP) != 0;
    int bitDepth = 24;
    if (alpha) {
        image.format = PNG_FORMAT_BGRA;
    } else if (mapped && colour) {
        image.format = PNG_FORMAT_BGR_COLORMAP;
        bitDepth = 8;
    } else if (!colour) {
        image.format = PNG_FORMAT_GRAY;
        bitDepth = 8;
    } else {
        image.format = PNG_FORMAT_BGR;
    }
    const int width = static_cast<int>(image.width);
    const int height = static_cast<int>(image.height);
    if (image.width == 0 || image.height == 0 || image.width > 0x7FFFFFFFu ||
        image.height > 0x7FFFFFFFu) {
        png_image_free(&image);
        error = "invalid PNG size";
        return false;
    }
    // The library decodes into a tight buffer first (its row stride counts components, which our
    // DWORD-aligned rows are not a multiple of for 24 bits); limit that one as well.
    const std::size_t channels = PNG_IMAGE_PIXEL_CHANNELS(image.format);
    const std::size_t tightRow = static_cast<std::size_t>(image.width) * channels;
    if (tightRow / channels != image.width || tightRow > RasterImage::kMaxPixelBytes ||
        tightRow * image.height / image.height != tightRow ||
        tightRow * image.height > RasterImage::kMaxPixelBytes) {
        png_image_free(&image);
        error = "image too large";
        return false;
    }
    if (!RasterImageAccess::Allocate(out, width, height, bitDepth, alpha)) {
        png_image_free(&image);
        error = out.LastError();
        return false;
    }
    std::vector<std::uint8_t> tight;
    std::vector<std::uint8_t> colormap;
    try {
        tight.resize(tightRow * image.height);
        if (bitDepth == 8 && colour) colormap.resize(256 * 3);
    } catch (const std::bad_alloc&) {
        png_image_free(&image);
        out.Clear();
        error = "out of memory";
        return false;
    }
    // A negative row stride asks libpng for bottom-up rows, our order.
    const png_int_32 rowStride = -static_cast<png_int_32>(tightRow);
    if (!png_image_finish_read(&image, nullptr, tight.data(), rowStride,
                               colormap.empty() ? nullptr : colormap.data())) {
        error = image.message[0] ? image.message : "PNG decoding failed";
        png_image_free(&image);
        out.Clear();
        return false;
    }
    std::vector<RgbColor>& palette = RasterImageAccess::Palette(out);
    if (bitDepth == 8 && colour) {
        const unsigned entries = image.colormap_entries <= 256 ? image.colormap_entries : 256;
        for (unsigned i = 0; i < entries; ++i) {
            palette[i] = RgbColor{colormap[3 * i + 2], colormap[3 * i + 1], colormap[3 * i]};
        }
    } else if (bitDepth == 8) {
        RasterImageAccess::SetGreyPalette(out);
    }
    std::uint8_t* alphaPlane = RasterImageAccess::Alpha(out);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = tight.data() + static_cast<std::size_t>(y) * tightRow;
        std::uint8_t* dst = out.MutableRow(y);
        if (!alpha) {
            std::memcpy(dst, src, tightRow);
            continue;
        }
        std::uint8_t* a =
            alphaPlane + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x, src += 4, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            a[x] = src[3];
        }
    }
    png_image_free(&image);
    return true;
}

}  // namespace darazoz_image
