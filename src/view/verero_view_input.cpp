// Mouse and keyboard on the grid.

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "messaging/command_ids.h"
#include "view/verero_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

void CVereroView::LeftButtonDown(const QPoint& point, Qt::KeyboardModifiers modifiers) {
    ClickModifiers keys;
    keys.control = modifiers.testFlag(Qt::ControlModifier);
    keys.shift = modifiers.testFlag(Qt::ShiftModifier);
    const ClickOutcome outcome = selection_.Click(photos_, HitTest(point), keys);
    if (outcome.repaintAll) viewport()->update();
    if (photos_.IsValid(photos_.currentIndex))
        PhotoStatusText(photos_.Entry(photos_.currentIndex).ref);
    if (!selection_.multiSelectActive) {
        if (photos_.currentIndex != outcome.oldIndex) {
            RepaintCell(outcome.oldIndex);
            RepaintCell(photos_.currentIndex);
        }
    } else {
        RepaintCell(photos_.currentIndex);
    }
}

void CVereroView::mousePressEvent(QMouseEvent* event) {
    if (photos_.Count() > 0) {
        if (event->button() == Qt::LeftButton) {
            // The photo chosen now, not one right-clicked before, is what a
            // later 显示照片 shows.
            rightClickPoint_.reset();
            LeftButtonDown(event->position().toPoint(), event->modifiers());
        } else if (event->button() == Qt::RightButton && selection_.list.Empty()) {
            LeftButtonDown(event->position().toPoint(), event->modifiers());
        }
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void CVereroView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        rightClickPoint_ = event->position().toPoint();
        if (HasPhotos()) emit contextMenuRequested(event->globalPosition().toPoint());
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void CVereroView::contextMenuEvent(QContextMenuEvent* event) {
    // The mouse's request is answered on the right button's release.
    if (event->reason() != QContextMenuEvent::Mouse && HasPhotos()) {
        emit contextMenuRequested(event->globalPos());
    }
    event->accept();
}

void CVereroView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CVereroView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CVereroView::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    viewport()->update();
    emit urlsDropped(urls);
}

void CVereroView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int index = HitTest(event->position().toPoint());
        if (photos_.IsValid(index) && HasPhotos()) emit openPhotoRequested(index);
    }
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void CVereroView::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Enter opens the current photo, as a double click does.
        if (photos_.IsValid(photos_.currentIndex)) emit openPhotoRequested(photos_.currentIndex);
        return;
    }
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        switch (event->key()) {
            case Qt::Key_A:
                SelectAll();
                break;
            case Qt::Key_C:
                emit commandRequested(CommandId::kCopy);
                break;
            case Qt::Key_X:
                emit commandRequested(CommandId::kCut);
                break;
            default:
                break;
        }
    }
    QAbstractScrollArea::keyPressEvent(event);
}
