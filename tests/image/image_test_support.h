// Fixture makers for the image tests: every input is built in memory from known pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/raster_image.h"

namespace image_test {

using Bytes = std::vector<std::uint8_t>;

// Tightly packed top-down RGB (or grey) pixels from a function of (x, y), y = 0 at the top.
Bytes MakeRgb(int width, int height, const std::function<RgbColor(int x, int y)>& colour);
Bytes MakeGrey(int width, int height, const std::function<std::uint8_t(int x, int y)>& value);

// JPEG written directly with libjpeg: components 1 (grey), 3 (RGB) or 4 (CMYK, Adobe inverted).
Bytes WriteJpeg(int width, int height, int components, const Bytes& pixels, bool progressive,
                int quality = 95);

struct JpegHeader {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    bool progressive = false, arithmetic = false;
    int sofMarker = 0;  // 0xC0 for baseline
    int hSamp[3] = {0, 0, 0}, vSamp[3] = {0, 0, 0};
};
JpegHeader ReadJpegHeader(const Bytes& jpeg);

// PNG through libpng's simplified writer. format: a PNG_FORMAT_* value; pixels match it.
Bytes WritePng(int width, int height, unsigned format, const Bytes& pixels,
               const Bytes& colormap = {}, int colormapEntries = 0);

// BMP file image ("BM" header) with BITMAPINFOHEADER; rows are given top-down, packed per
// bitCount, and are padded and ordered here (bottom-up unless topDown).
Bytes WriteBmp(int width, int height, int bitCount, const std::vector<Bytes>& rowsTopDown,
               const std::vector<RgbColor>& palette = {}, bool topDown = false,
               std::uint32_t compression = 0, const Bytes& rleData = {});

std::string PhotoTestdataDir();  // "" when the shared photo set is not there

}  // namespace image_test
