#include "widgets/my_edit.h"

#include "widgets/hover_border.h"

MyEdit::MyEdit(QWidget* parent) : CTrackControl<QPlainTextEdit>(parent) {
    setFrameShape(QFrame::NoFrame);
    setViewportMargins(1, 1, 1, 1);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

bool MyEdit::event(QEvent* event) {
    if (event->type() == QEvent::Paint) {
        PaintHoverBorder(this, Hovering());
        return true;
    }
    return CTrackControl<QPlainTextEdit>::event(event);
}
