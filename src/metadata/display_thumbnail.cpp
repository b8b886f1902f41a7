#include "metadata/display_thumbnail.h"

#include "image/raster_image.h"

int OrientationTurn(std::string_view orientation) {
    if (orientation == "Left-top" || orientation == "Right-top") return 90;
    if (orientation == "Left-bottom" || orientation == "Right-bottom") return -90;
    if (orientation == "Bottom-right" || orientation == "Bottom-left") return 180;
    return 0;
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
    int turn = 0;
    if ((height < width && nWidth < nHeight) || (width < height && nHeight < nWidth)) turn += 90;
    if (autoOrient) turn += OrientationTurn(orientation);
    turn %= 360;
    if (turn == 270) turn = -90;
    // The turns add up, so one rotation does both. Should it fail, the image
    // stays as stored, which still shows the photo.
    if (turn != 0) out.Rotate(turn, out);
    return true;
}
