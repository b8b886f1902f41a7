#include "fuzz_entries.h"
#include "image/raster_image.h"

namespace {

// Full-size JPEG decodes above this many pixels would spend the run in the
// IDCT; the scaled decode still reads every header and every scan.
constexpr long long kFullDecodePixels = 4'000'000;

}  // namespace

int FuzzImageDecode(const std::uint8_t* data, std::size_t size) {
    RasterImage image;
    int width = 0, height = 0;
    image.DecodeJpegScaled(data, size, 1, 1, &width, &height);
    // The viewer's path: the header alone, then straight into a display bitmap.
    if (ReadJpegSize(data, size, width, height)) {
        Bitmap bitmap;
        JpegBitmapDecode result;
        DecodeJpegBitmap(data, size, 1, bitmap, result);
    }
    if (static_cast<long long>(width) * height <= kFullDecodePixels) {
        if (image.Decode(data, size, ImageFormat::Jpeg)) {
            RasterImage small;
            image.Resample(7, 5, small);
        }
    }
    image.Decode(data, size, ImageFormat::Png);
    image.Decode(data, size, ImageFormat::Bmp);
    return 0;
}
