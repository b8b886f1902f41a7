#pragma once
// The look shared by the small skinned dialogs and the progress dialogs: a
// 25-pixel title band with the caption in white, a light message area and a
// 25-pixel bottom band for the buttons, 11-pixel text. Pure geometry and
// painting, so that any widget can use it.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

struct ThreeBandColours {
    QColor title{68, 118, 198};
    QColor body{234, 238, 244};
    QColor bottom{198, 205, 214};
};

struct ThreeBandRects {
    QRect title;
    QRect body;
    QRect bottom;
};

inline constexpr int kBandHeight = 25;

// Title band (left, top, right, 25), message area (left, top + 26, right,
// bottom - 26), bottom band (left, bottom - 25, right, bottom); rectangles
// in edge coordinates, as QRect(QPoint, QPoint) with exclusive far edges.
ThreeBandRects LayOutThreeBands(const QRect& client);

// The default face at 11 pixels height, normal weight.
QFont SmallDialogFont(const QFont& base);

// Fills the three areas and draws the caption in white at (3, 5).
void PaintThreeBands(QPainter& painter, const ThreeBandRects& rects,
                     const ThreeBandColours& colours, const QString& caption);
