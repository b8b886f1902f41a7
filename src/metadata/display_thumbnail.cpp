#include "metadata/display_thumbnail.h"

#include "image/raster_image.h"

void ApplyOrientation(OrientationTransform transform, RasterImage& image) {
    if (transform.mirrored) image.Mirror(image);
    if (transform.quarterTurns != 0) image.Rotate(90.0 * transform.quarterTurns, image);
}

bool DecodeDisplayThumbnail(const std::uint8_t* blob, std::size_t length, int nWidth, int nHeight,
                            std::string_view orientation, bool autoOrient, RasterImage& out) {
    out.Clear();
    if (!blob || length == 0 || !out.Decode(blob, length, ImageFormat::Jpeg)) {
        out.Clear();
        return false;
    }
    const int width = out.Width();
    const int height = out.Height();
    OrientationTransform transform;
    if ((height < width && nWidth < nHeight) || (width < height && nHeight < nWidth))
        transform.quarterTurns = 1;
    if (autoOrient) transform = Then(transform, OrientationFromText(orientation));
    ApplyOrientation(transform, out);
    return true;
}
