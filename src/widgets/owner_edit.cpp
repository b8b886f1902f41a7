#include "widgets/owner_edit.h"

#include "widgets/hover_border.h"

COwnerEdit::COwnerEdit(QWidget* parent) : CTrackControl<QLineEdit>(parent) {
    setFrame(false);
    setTextMargins(2, 1, 2, 1);
}

void COwnerEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    PaintHoverBorder(this, Hovering());
}
