#pragma once
// The border of the hover-tracking edit controls, drawn over the widget's
// outermost pixels. UI thread only.

class QWidget;

void PaintHoverBorder(QWidget* widget, bool hovering);
