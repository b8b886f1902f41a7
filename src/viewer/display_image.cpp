#include "viewer/display_image.h"

#include <QFile>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <vector>

#include "image/raster_image.h"
#include "metadata/display_thumbnail.h"
#include "viewer/banded_jpeg_decode.h"
#include "viewer/viewer_geometry.h"

namespace {

// Placeholder size: small enough to open at 100% on any screen.
constexpr int kPlaceholderWidth = 480;
constexpr int kPlaceholderHeight = 360;

int NormalTurns(int quarterTurns) {
    return ((quarterTurns % 4) + 4) % 4;
}

QSize TurnedSize(QSize size, int quarterTurns) {
    return NormalTurns(quarterTurns) % 2 ? size.transposed() : size;
}

// Larger files are not shown.
constexpr qint64 kMostFileBytes = qint64{1} << 30;

// Read straight into the buffer the decoder reads from.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return {};
    const qint64 size = file.size();
    if (size <= 0 || size > kMostFileBytes) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    const qint64 read = file.read(reinterpret_cast<char*>(bytes.data()), size);
    if (read <= 0) return {};
    bytes.resize(static_cast<std::size_t>(read));
    return bytes;
}

}  // namespace

QSize DeviceSize(QSize logical, qreal devicePixelRatio) {
    return {qRound(logical.width() * devicePixelRatio),
            qRound(logical.height() * devicePixelRatio)};
}

QSize FittedDeviceSize(QSize shown, QSize screen, qreal devicePixelRatio) {
    if (shown.isEmpty() || screen.isEmpty()) return {};
    const int fit = FitZoom(shown.width(), shown.height(), screen.width(), screen.height(),
                            ViewerZoom::kNatural);
    return DeviceSize({ZoomedLength(shown.width(), fit), ZoomedLength(shown.height(), fit)},
                      devicePixelRatio);
}

namespace {

// FittedDeviceSize of a photo stored as fileSize, turned back to the file's
// orientation (decoding and reducing happen before the turn).
QSize FittedAsStored(QSize fileSize, int quarterTurns, QSize screen, qreal devicePixelRatio) {
    return TurnedSize(
        FittedDeviceSize(TurnedSize(fileSize, quarterTurns), screen, devicePixelRatio),
        quarterTurns);
}

}  // namespace

int DisplayDecodeScale(QSize fileSize, int quarterTurns, QSize screen, qreal devicePixelRatio) {
    const QSize fitted = FittedAsStored(fileSize, quarterTurns, screen, devicePixelRatio);
    if (fitted.isEmpty()) return 8;
    return FastJpegScaleCovering(fileSize.width(), fileSize.height(), fitted.width(),
                                 fitted.height());
}

QImage TurnPicture(const QImage& picture, int quarterTurns) {
    const int turns = NormalTurns(quarterTurns);
    if (turns == 0 || picture.isNull()) return picture;
    // Multiples of 90 degrees are exact pixel permutations.
    return picture.transformed(QTransform().rotate(90.0 * turns));
}

DisplayImage PlaceholderImage(const std::string& sourcePath) {
    DisplayImage image;
    image.placeholder = true;
    image.sourcePath = sourcePath;
    image.picture = QImage(kPlaceholderWidth, kPlaceholderHeight, QImage::Format_RGB32);
    image.picture.fill(QColor(72, 72, 72));
    QPainter painter(&image.picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // A framed picture with a mountain and a sun, crossed out.
    const QRect frame(140, 90, 200, 150);
    painter.setPen(QPen(QColor(170, 170, 170), 6));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    painter.setBrush(QColor(170, 170, 170));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(290, 130), 16, 16);
    const QPoint mountain[] = {{150, 230}, {215, 150}, {265, 210}, {290, 185}, {330, 230}};
    painter.drawPolygon(mountain, 5);
    painter.setPen(QPen(QColor(200, 70, 70), 10, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(frame.topLeft() + QPoint(-20, -20), frame.bottomRight() + QPoint(20, 20));
    painter.end();
    image.fullSize = image.picture.size();
    return image;
}

DisplayImage Turned(const DisplayImage& image, int quarterTurns) {
    DisplayImage result = image;
    result.picture = TurnPicture(image.picture, quarterTurns);
    result.fullPicture = TurnPicture(image.fullPicture, quarterTurns);
    result.fullSize = TurnedSize(image.fullSize, quarterTurns);
    result.quarterTurns = NormalTurns(image.quarterTurns + quarterTurns);
    return result;
}

DisplayImage DecodeDisplayImage(const DecodeRequest& request) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(request.path);
    OrientationTransform upright =
        request.autoOrient ? OrientationFromText(request.orientation) : OrientationTransform{};
    if (request.fixedQuarterTurns >= 0) upright.quarterTurns = request.fixedQuarterTurns;
    const int turns = NormalTurns(upright.quarterTurns);
    int width = 0;
    int height = 0;
    if (bytes.empty() || !ReadJpegSize(bytes.data(), bytes.size(), width, height))
        return PlaceholderImage(request.path);
    const QSize fileSize(width, height);
    const QSize shown = TurnedSize(fileSize, turns);
    const QSize fitted = request.fullResolution ? QSize()
                                                : FittedAsStored(fileSize, turns, request.screen,
                                                                 request.devicePixelRatio);
    const int scale = request.fullResolution ? 8
                                             : DisplayDecodeScale(fileSize, turns, request.screen,
                                                                  request.devicePixelRatio);
    // libjpeg writes the display format itself, so nothing is converted.
    // Reduced before turning, as the rows are decoded: both the scaling and
    // the turn then touch only the screen's pixels.
    BandedDecode decoded = DecodeJpegInBands(bytes, scale, request.cancel, fitted);
    if (decoded.cancelled) {
        DisplayImage cancelled;
        cancelled.cancelled = true;
        return cancelled;
    }
    QImage picture = std::move(decoded.picture);
    if (picture.isNull()) return PlaceholderImage(request.path);
    if (upright.mirrored) picture.mirror(true, false);

    DisplayImage image;
    image.sourcePath = request.path;
    image.picture = TurnPicture(picture, turns);
    image.fullSize = shown;
    image.quarterTurns = turns;
    return image;
}

void Lighten(QImage& picture, int brightness) {
    if (picture.isNull()) return;
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    brightness = std::clamp(brightness, -255, 255);
    const auto add = [brightness](int channel) { return std::clamp(channel + brightness, 0, 255); };
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = line[x];
            line[x] = qRgba(add(qRed(p)), add(qGreen(p)), add(qBlue(p)), qAlpha(p));
        }
    }
}
