#pragma once
// The multi-line hover-bordered edit of the comment editor: plain text,
// vertical scroll bar.
//
// UI thread only.

#include <QPlainTextEdit>

#include "widgets/track_control.h"

class MyEdit : public CTrackControl<QPlainTextEdit> {
    Q_OBJECT

  public:
    explicit MyEdit(QWidget* parent = nullptr);

  protected:
    // Paints the border around the viewport (the viewport paints the text).
    bool event(QEvent* event) override;
};
