#pragma once
// An edit box whose border follows the pointer: a plain one-pixel rectangle
// in the border colour while the pointer is over it, a flat sunken edge
// otherwise.
//
// UI thread only.

#include <QLineEdit>

#include "widgets/track_control.h"

class COwnerEdit : public CTrackControl<QLineEdit> {
    Q_OBJECT

  public:
    explicit COwnerEdit(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};
