#include "viewer/display_image.h"

#include <QFile>
#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <vector>

#include "image/raster_image.h"
#include "metadata/display_thumbnail.h"
#include "view/raster_qimage.h"
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

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

// The smallest decoded size (file orientation) that still covers the
// screen at the fitted zoom; an empty size when the photo should be decoded
// whole: a fitted zoom above one half gains too little from a reduced scale.
QSize CoveringSize(QSize fileSize, int turns, QSize screen) {
    if (fileSize.isEmpty() || screen.isEmpty()) return {};
    const QSize shown = TurnedSize(fileSize, turns);
    const int fit = FitZoom(shown.width(), shown.height(), screen.width(), screen.height(),
                            ViewerZoom::kNatural);
    if (fit > ViewerZoom::kNatural / 2) return {};
    const auto cover = [fit](int side) {
        return static_cast<int>(std::ceil(static_cast<double>(side) * fit / 1000));
    };
    return {cover(fileSize.width()), cover(fileSize.height())};
}

}  // namespace

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
    result.fitted = QImage();  // made for the old fitted size
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
    RasterImage raster;
    QSize fileSize;
    bool decoded = false;
    if (!bytes.empty()) {
        const QSize cover = request.fullResolution
                                ? QSize()
                                : CoveringSize(request.hintSize, turns, request.screen);
        if (cover.isEmpty()) {
            decoded = raster.Decode(bytes.data(), bytes.size(), ImageFormat::Jpeg);
            fileSize = QSize(raster.Width(), raster.Height());
        } else {
            int headerWidth = 0;
            int headerHeight = 0;
            decoded = raster.DecodeJpegScaled(bytes.data(), bytes.size(), cover.width(),
                                              cover.height(), &headerWidth, &headerHeight);
            fileSize = QSize(headerWidth, headerHeight);
        }
    }
    QImage picture = decoded ? ToQImage(raster) : QImage();
    if (picture.isNull() || fileSize.isEmpty()) return PlaceholderImage(request.path);
    raster.Clear();  // the QImage holds the pixels now; keep one copy only

    DisplayImage image;
    image.sourcePath = request.path;
    image.picture = TurnPicture(upright.mirrored ? picture.mirrored(true, false) : picture, turns);
    image.fullSize = TurnedSize(fileSize, turns);
    image.quarterTurns = turns;
    if (!request.screen.isEmpty()) {
        const int fit =
            FitZoom(image.fullSize.width(), image.fullSize.height(), request.screen.width(),
                    request.screen.height(), ViewerZoom::kNatural);
        const QSize shown(ZoomedLength(image.fullSize.width(), fit),
                          ZoomedLength(image.fullSize.height(), fit));
        if (fit < ViewerZoom::kNatural && !shown.isEmpty())
            image.fitted =
                image.picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
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
