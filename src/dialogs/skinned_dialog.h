#pragma once
// Base of the small dialogs without a system caption: paints the three
// bands (three_band_look.h) and moves the window when it is dragged by its
// title band. Derived dialogs paint their own texts after calling
// PaintBands, and lay out their buttons in the bottom band.
//
// UI thread only.

#include <QDialog>
#include <QPoint>

#include "dialogs/three_band_look.h"

class CSkinnedDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CSkinnedDialog(QWidget* parent = nullptr, ThreeBandColours colours = {});

    // The caption drawn in the title band.
    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }

    ThreeBandRects Bands() const { return LayOutThreeBands(rect()); }
    const ThreeBandColours& Colours() const { return colours_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // Paints the bands and the caption; paintEvent calls it, then PaintBody.
    virtual void PaintBody(QPainter& painter);

  private:
    ThreeBandColours colours_;
    QString caption_;
    bool dragging_ = false;
    QPoint dragOffset_;  // pointer position relative to the window's corner
};
