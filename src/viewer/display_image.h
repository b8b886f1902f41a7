#pragma once
// DisplayImage: one photo decoded for the viewer. The picture of a large
// photo is reduced to its size on the screen (decoded at a DCT scale that
// still covers it); fullSize always names the photo's real pixel size as
// displayed, so zoom arithmetic and the size text never see the reduction.
//
// Any thread: a plain value made of a QImage (never a QPixmap). Once stored
// in the cache it is shared read-only; rotation makes a new one.

#include <QImage>
#include <QSize>
#include <atomic>
#include <memory>
#include <string>

struct DisplayImage {
    // Upright as displayed, Format_RGB32. A large photo comes at the size
    // in device pixels it is drawn at when the viewer opens it (FitZoom
    // against the screen), made off the UI thread so that its paint is a
    // plain copy; a photo that fits the screen comes whole.
    QImage picture;
    // The photo at full resolution, decoded on demand when it is shown
    // wider than picture (原始比例, zooming in); null until then.
    QImage fullPicture;
    QSize fullSize;  // the photo's size after the display turns
    // Clockwise quarter turns applied (orientation + user), after the
    // orientation's mirroring.
    int quarterTurns = 0;
    bool placeholder = false;
    // A full-resolution decode of this photo failed (too large for memory,
    // say): the reduced picture stays and is not asked for again.
    bool fullResolutionFailed = false;
    // The decode was stopped before it finished: no picture, never stored.
    bool cancelled = false;
    std::string sourcePath;  // UTF-8

    // True while no picture holds every pixel of the photo, so that showing
    // it wider than picture would lose detail.
    bool Reduced() const {
        return !placeholder && !fullResolutionFailed && fullPicture.isNull() &&
               picture.width() < fullSize.width();
    }
    // The picture to draw at a size of `device` pixels: the full one once it
    // is there and the reduced one would be stretched.
    const QImage& PictureFor(QSize device) const {
        return !fullPicture.isNull() && device.width() > picture.width() ? fullPicture : picture;
    }
};
using DisplayImagePtr = std::shared_ptr<const DisplayImage>;

// How to decode: the screen the picture is made for, or full resolution
// (原始比例 and zooming past the reduced picture).
struct DecodeRequest {
    std::string path;         // UTF-8
    std::string orientation;  // EXIF orientation text, applied when autoOrient
    bool autoOrient = false;
    // Clockwise quarter turns to apply instead of the orientation's (-1: from
    // the orientation); a full-resolution redecode keeps the user's turns.
    // The orientation's mirroring applies either way.
    int fixedQuarterTurns = -1;
    QSize screen;  // logical pixels; empty: always full resolution
    qreal devicePixelRatio = 1;
    bool fullResolution = false;
    // Polled while decoding: once true the decode stops (the photo is no
    // longer wanted) and gives a cancelled image.
    const std::atomic<bool>* cancel = nullptr;
};

// A size in logical pixels as device pixels.
QSize DeviceSize(QSize logical, qreal devicePixelRatio);
// The size in device pixels at which the viewer draws a photo of `shown`
// pixels (upright) when it opens it on `screen`; empty without a screen.
QSize FittedDeviceSize(QSize shown, QSize screen, qreal devicePixelRatio);
// n of the DCT scale n/8 a photo of fileSize (as stored) turned by
// quarterTurns is decoded at for `screen`: the smallest fast scale whose
// picture still covers its fitted size.
int DisplayDecodeScale(QSize fileSize, int quarterTurns, QSize screen, qreal devicePixelRatio);

// Decodes the file. A file that cannot be read or decoded gives the
// placeholder picture (placeholder set); only a cancelled decode gives no
// picture.
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
