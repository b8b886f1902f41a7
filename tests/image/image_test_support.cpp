#include "image_test_support.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>

#include "photo_corpus.h"

namespace image_test {

Bytes MakeRgb(int width, int height, const std::function<RgbColor(int, int)>& colour) {
    Bytes out(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const RgbColor c = colour(x, y);
            std::uint8_t* p = &out[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
    return out;
}

Bytes MakeGrey(int width, int height, const std::function<std::uint8_t(int, int)>& value) {
    Bytes out(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) out[static_cast<std::size_t>(y) * width + x] = value(x, y);
    }
    return out;
}

namespace {
struct TestJpegError {
    jpeg_error_mgr pub;
    jmp_buf jump;
};
void TestErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<TestJpegError*>(cinfo->err)->jump, 1);
}
}  // namespace

Bytes WriteJpeg(int width, int height, int components, const Bytes& pixels, bool progressive,
                int quality) {
    jpeg_compress_struct cinfo;
    TestJpegError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = TestErrorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        throw std::runtime_error("test JPEG writer failed");
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : (components == 3 ? JCS_RGB : JCS_CMYK);
    jpeg_set_defaults(&cinfo);
    if (components == 4) {
        jpeg_set_colorspace(&cinfo, JCS_CMYK);
        cinfo.write_Adobe_marker = TRUE;
    }
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            &pixels[static_cast<std::size_t>(cinfo.next_scanline) * width * components]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

JpegHeader ReadJpegHeader(const Bytes& jpeg) {
    JpegHeader h;
    jpeg_decompress_struct cinfo;
    TestJpegError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = TestErrorExit;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return JpegHeader{};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    h.width = cinfo.image_width;
    h.height = cinfo.image_height;
    h.components = cinfo.num_components;
    h.progressive = cinfo.progressive_mode;
    h.arithmetic = cinfo.arith_code;
    for (int c = 0; c < cinfo.num_components && c < 3; ++c) {
        h.hSamp[c] = cinfo.comp_info[c].h_samp_factor;
        h.vSamp[c] = cinfo.comp_info[c].v_samp_factor;
    }
    jpeg_destroy_decompress(&cinfo);
    // The frame marker itself: walk the marker segments up to the first SOFn.
    for (std::size_t i = 2; i + 3 < jpeg.size();) {
        if (jpeg[i] != 0xFF) break;
        const int marker = jpeg[i + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            h.sofMarker = marker;
            break;
        }
        i += 2 + (static_cast<std::size_t>(jpeg[i + 2]) << 8 | jpeg[i + 3]);
    }
    h.ok = true;
    return h;
}

Bytes WritePng(int width, int height, unsigned format, const Bytes& pixels, const Bytes& colormap,
               int colormapEntries) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = format;
    image.colormap_entries = colormapEntries;
    png_alloc_size_t size = 0;
    const void* map = colormap.empty() ? nullptr : colormap.data();
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, map)) {
        throw std::runtime_error("test PNG size query failed");
    }
    Bytes out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, map)) {
        throw std::runtime_error(std::string("test PNG writer failed: ") + image.message);
    }
    out.resize(size);
    return out;
}

namespace {
void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}
}  // namespace

Bytes WriteBmp(int width, int height, int bitCount, const std::vector<Bytes>& rowsTopDown,
               const std::vector<RgbColor>& palette, bool topDown, std::uint32_t compression,
               const Bytes& rleData) {
    const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    const std::size_t paletteBytes = palette.size() * 4;
    const std::size_t offset = 14 + 40 + paletteBytes;
    const std::size_t dataBytes = compression == 0 ? stride * height : rleData.size();
    Bytes b(offset + dataBytes, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, static_cast<std::uint32_t>(offset));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(topDown ? -height : height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<std::uint32_t>(bitCount));
    Put32(b, 30, compression);
    Put32(b, 34, static_cast<std::uint32_t>(dataBytes));
    Put32(b, 46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        b[54 + 4 * i] = palette[i].b;
        b[54 + 4 * i + 1] = palette[i].g;
        b[54 + 4 * i + 2] = palette[i].r;
    }
    if (compression != 0) {
        std::copy(rleData.begin(), rleData.end(), b.begin() + offset);
        return b;
    }
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        std::copy(rowsTopDown[y].begin(), rowsTopDown[y].end(),
                  b.begin() + offset + fileRow * stride);
    }
    return b;
}

std::string PhotoTestdataDir() {
    const std::string dir = PhotoCorpusFolder();
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) ? dir : std::string();
}

}  // namespace image_test
