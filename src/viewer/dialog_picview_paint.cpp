// CDialogPICVIEW: painting the picture, the desktop, the texts and the strip.

#include <QPaintEvent>
#include <QPainter>

#include "browsemodel/photo_list.h"
#include "viewer/dialog_picview.h"
#include "viewer/prefetch_worker.h"
#include "viewer/viewer_geometry.h"
#include "viewer/viewer_image_cache.h"

namespace {

const QColor kViewerBackground(255, 250, 250);
// Behind the picture where the platform gave no desktop picture.
const QColor kNoDesktop(24, 24, 24);
constexpr int kStripDarken = -100;

}  // namespace

void CDialogPICVIEW::RequestFullResolutionIfNeeded(int shownWidth) {
    // Shown wider (in device pixels) than the reduced picture holds
    // (原始比例 or zoomed in): the full-resolution picture joins it in its slot.
    if (displayedIndex_ >= 0 && displayed_->Reduced() && shownWidth > displayed_->picture.width() &&
        services_.worker)
        services_.worker->RequestFullResolution(displayedIndex_);
}

QRect CDialogPICVIEW::PlacePicture() {
    const int dw = ZoomedLength(imageSize_.width(), zoom_);
    const int dh = ZoomedLength(imageSize_.height(), zoom_);
    int left = 0;
    int top = 0;
    if (zoomAboutCentre_ && previousKnown_) {
        left = AnchoredEdge(screen_.width() / 2, previous_.left(), previous_.width(), dw);
        top = AnchoredEdge(screen_.height() / 2, previous_.top(), previous_.height(), dh);
    } else if (dragging_ && previousKnown_) {
        left = previous_.left() - dragOffset_.x();
        top = previous_.top() - dragOffset_.y();
        dragOffset_ = {};  // applied once; a repaint for another reason keeps the place
    } else if (previousKnown_) {
        left =
            AnchoredEdgeF(pointer_.x(), previous_.left(), previous_.width(), dw, wheelAnimating_);
        top = AnchoredEdgeF(pointer_.y(), previous_.top(), previous_.height(), dh, wheelAnimating_);
    } else {
        left = (width() - dw) / 2;
        top = (height() - dh) / 2;
    }
    return {left, top, dw, dh};
}

void CDialogPICVIEW::PaintPicture(QPainter& painter, const QRect& target) {
    const QSize device = DeviceSize(target.size(), devicePixelRatioF());
    if (displayed_ && !displayed_->picture.isNull()) {
        // A picture made for this size is copied. Smoothing is kept for
        // still pictures of a mild scale; animation steps, a thumbnail
        // standing in and far reductions are sampled, so that every paint
        // stays within a frame.
        const QImage& picture = displayed_->PictureFor(device);
        const bool smooth = picture.size() != device && displayedIndex_ >= 0 && !zoomAboutCentre_ &&
                            !wheelAnimating_ && picture.width() <= 2 * std::max(device.width(), 1);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
        painter.drawImage(target, picture);
    }
    previous_ = target;
    previousKnown_ = true;
    RequestFullResolutionIfNeeded(device.width());
}

QImage CDialogPICVIEW::StripThumbnail(int index, bool darkened) {
    PhotoList& photos = *services_.photos;
    if (!photos.EnsureThumbnail(index)) return {};
    const QImage& thumbnail = photos.Entry(index).thumbnail;
    if (!darkened) return thumbnail;
    auto found = darkThumbnails_.find(index);
    if (found == darkThumbnails_.end()) {
        QImage cell = thumbnail.scaled(40, 40, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        Lighten(cell, kStripDarken);
        found = darkThumbnails_.emplace(index, std::move(cell)).first;
    }
    return found->second;
}

void CDialogPICVIEW::PaintStrip(QPainter& painter) {
    if (wheelAnimating_) return;
    const PhotoList& photos = *services_.photos;
    const StripRange range = StripIndices(photos.currentIndex, photos.Count(), width());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (int i = range.first; i <= range.last; ++i) {
        const QRect cell = StripCell(i, photos.currentIndex, size());
        const QImage thumbnail = StripThumbnail(i, !stripHighlighted_);
        if (!thumbnail.isNull()) painter.drawImage(cell, thumbnail);
        if (i == photos.currentIndex) {
            painter.setPen(QColor(255, 0, 0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
}

void CDialogPICVIEW::paintEvent(QPaintEvent*) {
    if (imageSize_.isEmpty()) return;
    QPainter painter(this);
    // Each mode covers the whole client area: the background goes around
    // the opaque picture (a 4K screen is 33 MB a layer), overlapping its
    // edge by a pixel so that no rounding of a fractional pixel ratio
    // leaves a seam.
    const QRect target = PlacePicture();
    if (displayed_ && !displayed_->picture.isNull() && !displayed_->picture.hasAlphaChannel())
        painter.setClipRegion(QRegion(rect()).subtracted(QRegion(target.adjusted(1, 1, -1, -1))));
    if (!fullscreen_)
        painter.fillRect(rect(), kViewerBackground);
    else if (backdrop_.isNull())
        painter.fillRect(rect(), kNoDesktop);
    else
        painter.drawImage(rect(), backdrop_);
    painter.setClipping(false);
    PaintPicture(painter, target);
    if (fullscreen_) painter.drawPixmap(screen_.width() - 44, 2, 32, 32, closeIcon_);

    QFont font = painter.font();
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(20, 15, 150, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("%1*%2 [%3%]")
                         .arg(imageSize_.width())
                         .arg(imageSize_.height())
                         .arg(zoom_ / 10));
    PaintStrip(painter);
    if (!flashText_.isEmpty()) {
        font.setPixelSize(flashColour_ == Qt::white ? 20 : 28);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(flashColour_);
        painter.drawText(flashBox_, Qt::AlignCenter, flashText_);
    }
}
