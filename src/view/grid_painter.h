#pragma once
// Paints the thumbnail grid cell by cell, loading each thumbnail from the
// catalogue the first time its cell is painted. UI thread only.

#include <QColor>

class QPainter;
class PhotoList;
class GridSelection;
struct GridLayout;

inline const QColor kViewBackground(238, 239, 241);
inline const QColor kTextBackground(254, 240, 254);
inline const QColor kFrameColour(234, 235, 238);
inline const QColor kSelectedFrameColour(243, 123, 173);

struct GridPaintJob {
    PhotoList& list;
    const GridLayout& layout;
    const GridSelection& selection;
    bool showKeywords = false;
    int scrollY = 0;  // vertical scroll offset, for trimming
};

// Paints the cells meeting the document band [top, bottom); the painter
// draws in document coordinates. Trims far-off thumbnails first.
void PaintGrid(QPainter& painter, GridPaintJob job, int top, int bottom);
