#pragma once
// A button drawn from images: push button, check box or radio button. The
// normal, down, over, disabled and focus images are optional (the button
// face colour stands in); a mask image makes parts of the images
// transparent. Ticking follows the usual button rules: a check box toggles
// when released over it (or by Space), a radio button becomes ticked and
// clears the other radio buttons of its parent.
//
// UI thread only.

#include <QAbstractButton>
#include <QImage>
#include <QPixmap>

#include "widgets/track_control.h"

enum class SkinButtonKind { Push = 0, CheckBox = 2, Radio = 4 };

enum class SkinDrawMode { Copy = 0, Stretch = 1, Tile = 2 };

class CSkinButton : public CTrackControl<QAbstractButton> {
    Q_OBJECT

  public:
    explicit CSkinButton(QWidget* parent = nullptr, SkinButtonKind kind = SkinButtonKind::Push);
    CSkinButton(const QString& text, SkinButtonKind kind, QWidget* parent = nullptr);

    // Sets the four state images; clears the mask and focus images and
    // resets draw mode, border and focus margin.
    void SetSkin(const QPixmap& normal, const QPixmap& down, const QPixmap& over,
                 const QPixmap& disabled);
    void SetFocusImage(const QPixmap& focus) {
        focus_ = focus;
        update();
    }
    // White parts of the mask leave the background visible.
    void SetMaskImage(const QImage& mask) {
        mask_ = mask;
        update();
    }
    void SetDrawMode(SkinDrawMode mode) {
        drawMode_ = mode;
        update();
    }
    void SetBorder(bool border) {
        border_ = border;
        update();
    }
    void SetFocusMargin(int margin) {
        focusMargin_ = margin;
        update();
    }
    void SetTextColour(const QColor& colour) {
        textColour_ = colour;
        update();
    }

    SkinButtonKind Kind() const { return kind_; }
    bool Ticked() const { return kind_ != SkinButtonKind::Push && isChecked(); }
    void SetTicked(bool ticked) { setChecked(ticked); }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap StateImage() const;
    void DrawImage(QPainter& painter, const QPixmap& image) const;
    void DrawCaption(QPainter& painter, const QRect& area, const QColor& colour) const;

    SkinButtonKind kind_;
    QPixmap normal_, down_, over_, disabled_, focus_;
    QImage mask_;
    SkinDrawMode drawMode_ = SkinDrawMode::Copy;
    bool border_ = false;
    int focusMargin_ = 0;
    QColor textColour_ = Qt::black;
};
