// Internal to src/image/: access to RasterImage's representation for the codec and algorithm
// files, and the codec entry points. Not for other subsystems; no third-party types here either.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/raster_image.h"

struct RasterImageAccess {
    static bool Allocate(RasterImage& image, int width, int height, int bitDepth, bool withAlpha) {
        return image.Allocate(width, height, bitDepth, withAlpha);
    }
    static std::uint8_t* Pixels(RasterImage& image) { return image.pixels_.data(); }
    static const std::uint8_t* Pixels(const RasterImage& image) { return image.pixels_.data(); }
    static std::uint8_t* Alpha(RasterImage& image) {
        return image.alpha_.empty() ? nullptr : image.alpha_.data();
    }
    static const std::uint8_t* Alpha(const RasterImage& image) {
        return image.alpha_.empty() ? nullptr : image.alpha_.data();
    }
    static std::vector<RgbColor>& Palette(RasterImage& image) { return image.palette_; }
    static void SetGreyPalette(RasterImage& image) { image.SetGreyPalette(); }
    static void CopyAttributes(const RasterImage& from, RasterImage& to) {
        to.jpegQuality_ = from.jpegQuality_;
        to.background_ = from.background_;
    }
    static void SetTruncated(RasterImage& image, bool truncated) { image.truncated_ = truncated; }
    static bool Fail(const RasterImage& image, const std::string& reason) {
        return image.Fail(reason.c_str());
    }
};

namespace darazoz_image {

// Each decoder fills `out` (a fresh empty image) or returns false with `error` set.
// minWidth/minHeight <= 0 in DecodeJpeg means full resolution.
bool DecodeJpeg(const std::uint8_t* bytes, std::size_t length, int minWidth, int minHeight,
                int* headerWidth, int* headerHeight, RasterImage& out, std::string& error);
bool DecodePng(const std::uint8_t* bytes, std::size_t length, RasterImage& out, std::string& error);
bool DecodeBmp(const std::uint8_t* bytes, std::size_t length, RasterImage& out, std::string& error);
bool EncodeJpeg(const RasterImage& image, int quality, std::vector<std::uint8_t>& out,
                std::string& error);

// Index of the palette entry nearest (squared RGB distance) to colour; first one on ties.
std::uint8_t NearestPaletteIndex(const std::vector<RgbColor>& palette, RgbColor colour);

}  // namespace darazoz_image
