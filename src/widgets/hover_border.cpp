#include "widgets/hover_border.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QWidget>

void PaintHoverBorder(QWidget* widget, bool hovering) {
    QPainter painter(widget);
    const QRect frame = widget->rect();
    if (hovering) {
        painter.setPen(widget->palette().color(QPalette::Dark));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    } else {
        qDrawShadePanel(&painter, frame, widget->palette(), true, 1);
    }
}
