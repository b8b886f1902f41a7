#pragma once
// DisplayImage: one photo decoded for the viewer. The picture may be decoded
// at a reduced DCT scale (still covering the screen at the fitted zoom);
// fullSize always names the photo's real pixel size as displayed, so zoom
// arithmetic and the size text never see the reduced scale.
//
// Any thread: a plain value made of a QImage (never a QPixmap). Once stored
// in the cache it is shared read-only; rotation makes a new one.

#include <QImage>
#include <QSize>
#include <memory>
#include <string>

struct DisplayImage {
    QImage picture;  // upright as displayed, Format_RGB32
    // The picture already scaled to the zoom the viewer opens at (FitZoom
    // against the screen), made off the UI thread so that the first paint
    // of a large photo is a plain copy; null when the photo fits the screen.
    QImage fitted;
    QSize fullSize;  // the photo's size after the display turns
    // Clockwise quarter turns applied (orientation + user), after the
    // orientation's mirroring.
    int quarterTurns = 0;
    bool placeholder = false;
    // A full-resolution decode of this photo failed (too large for memory,
    // say): the reduced picture stays and is not asked for again.
    bool fullResolutionFailed = false;
    std::string sourcePath;  // UTF-8

    // True when the picture holds fewer pixels than the photo, so that
    // showing it wider than its own width would lose detail.
    bool Reduced() const {
        return !placeholder && !fullResolutionFailed && picture.width() < fullSize.width();
    }
};
using DisplayImagePtr = std::shared_ptr<const DisplayImage>;

// How to decode: the screen the picture must cover at its fitted zoom, or
// full resolution (原始比例 and zooming past the reduced picture).
struct DecodeRequest {
    std::string path;         // UTF-8
    std::string orientation;  // EXIF orientation text, applied when autoOrient
    bool autoOrient = false;
    // Clockwise quarter turns to apply instead of the orientation's (-1: from
    // the orientation); a full-resolution redecode keeps the user's turns.
    // The orientation's mirroring applies either way.
    int fixedQuarterTurns = -1;
    QSize screen;  // empty: always full resolution
    bool fullResolution = false;
    QSize hintSize;  // the size recorded in the catalogue (file orientation), 0 when unknown
};

// Decodes the file. A file that cannot be read or decoded gives the
// placeholder picture (placeholder set), never an empty result.
DisplayImage DecodeDisplayImage(const DecodeRequest& request);
// The stand-in for a photo that cannot be shown.
DisplayImage PlaceholderImage(const std::string& sourcePath);
// A copy turned by quarterTurns more (positive: clockwise).
DisplayImage Turned(const DisplayImage& image, int quarterTurns);
// A picture turned by quarter turns (positive: clockwise).
QImage TurnPicture(const QImage& picture, int quarterTurns);
// The raster library's brightness operation on a 32-bit picture: adds
// brightness to R, G and B, clamping to 0..255.
void Lighten(QImage& picture, int brightness);
