// CDialogPICVIEW: keys, mouse and wheel.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cstdlib>

#include "browsemodel/photo_list.h"
#include "viewer/dialog_picview.h"
#include "viewer/viewer_geometry.h"

namespace {

bool InCloseCorner(QPoint point, int width) {
    return point.x() >= width - 128 && point.y() < 128;
}

}  // namespace

void CDialogPICVIEW::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            SetFullscreen(!fullscreen_);
            break;
        case Qt::Key_Escape:
            CloseViewer();
            break;
        case Qt::Key_Left:
            OnPrevious();
            break;
        case Qt::Key_Right:
            OnNext();
            break;
        case Qt::Key_Up:
            OnZoomIn();
            break;
        case Qt::Key_Down:
            OnZoomOut();
            break;
        default:
            QDialog::keyPressEvent(event);
            return;
    }
    event->accept();
}

void CDialogPICVIEW::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pointer_ = dragLast_ = event->position().toPoint();
        dragging_ = true;
    }
    QDialog::mousePressEvent(event);
}

void CDialogPICVIEW::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (dragging_) {
        const QPoint delta = dragLast_ - point;
        dragLast_ = point;
        if (!panning_ && point.y() < height() - 100) {
            panning_ = true;
            grabMouse();
            setCursor(Qt::SizeAllCursor);
        }
        if (!delta.isNull()) {
            dragOffset_ += delta;
            update();
        }
        return;
    }
    pointer_ = point;
    if (fullscreen_) {
        if (InCloseCorner(point, width()))
            setCursor(Qt::PointingHandCursor);
        else
            unsetCursor();
    }
    const bool nearBottom = point.y() > height() - 200;
    if (nearBottom != stripHighlighted_) {
        stripHighlighted_ = nearBottom;
        update(QRect(0, height() - 100, width(), 40));
    }
    const bool inBar = InButtonBar(point, size());
    if (inBar != buttonsShown_) SetButtonsShown(inBar);
}

void CDialogPICVIEW::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mouseReleaseEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const bool panned = panning_;
    dragging_ = false;
    if (panning_) {
        panning_ = false;
        releaseMouse();
        unsetCursor();
    }
    if (fullscreen_ && InCloseCorner(point, width())) {
        CloseViewer();
        return;
    }
    const PhotoList& photos = *services_.photos;
    if (InStripBand(point.y(), height())) {
        const int target = photos.currentIndex + StripStep(point.x(), width());
        if (target != photos.currentIndex && photos.IsValid(target)) ShowPhotoAt(target);
        return;
    }
    const int c = width() / 2;
    const QRect bar(c - 194, height() - 100, 378, 38);
    if (fullscreen_ && !panned && !previous_.contains(point) && !bar.contains(point) &&
        point.y() < height() - 50)
        SwitchToWindowed();
}

void CDialogPICVIEW::wheelEvent(QWheelEvent* event) {
    const QPoint point = event->position().toPoint();
    event->accept();
    // One notch (120) is one step; a touchpad's small deltas add up to it.
    wheelRemainder_ += event->angleDelta().y();
    if (std::abs(wheelRemainder_) < QWheelEvent::DefaultDeltasPerStep) return;
    const bool away = wheelRemainder_ > 0;
    wheelRemainder_ = 0;
    const PhotoList& photos = *services_.photos;
    if (point.y() > height() - 100) {
        if (away && photos.currentIndex >= 1) ShowPhotoAt(photos.currentIndex - 1);
        if (!away && photos.currentIndex + 1 < photos.Count()) ShowPhotoAt(photos.currentIndex + 1);
        return;
    }
    pointer_ = point;
    AnimateZoom(away, false);
}

void CDialogPICVIEW::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!fullscreen_) screen_ = size();
    LayOutButtons();
}
