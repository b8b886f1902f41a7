#include "dialogs/skinned_dialog.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

CSkinnedDialog::CSkinnedDialog(QWidget* parent, ThreeBandColours colours)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), colours_(colours) {
    setFont(SmallDialogFont(font()));
}

void CSkinnedDialog::SetCaption(const QString& caption) {
    caption_ = caption;
    setWindowTitle(caption);
    update();
}

void CSkinnedDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    PaintThreeBands(painter, Bands(), colours_, caption_);
    PaintBody(painter);
}

void CSkinnedDialog::PaintBody(QPainter&) {}

void CSkinnedDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || event->position().y() >= kBandHeight) {
        QDialog::mousePressEvent(event);
        return;
    }
    // The window manager moves the window where it can; elsewhere (no
    // window manager, offscreen) the dialog follows the pointer itself.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CSkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CSkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        return;
    }
    QDialog::mouseReleaseEvent(event);
}
