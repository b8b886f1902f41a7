#pragma once
// The viewer's arithmetic: zoom in thousandths (1000 = 100%), where the
// picture goes when it is zoomed about an anchor, the thumbnail strip and
// the window the viewer shrinks to. Pure functions, any thread.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace ViewerZoom {
inline constexpr int kMin = 100;    // 10%
inline constexpr int kMax = 10000;  // 1000%
inline constexpr int kNatural = 1000;
inline constexpr int kAnimationSteps = 10;
}  // namespace ViewerZoom

// The zoom that fits a w x h picture into a sw x sh screen when it is larger
// in either direction; otherwise zoom unchanged.
int FitZoom(int w, int h, int sw, int sh, int zoom);
// One of the ten animation steps of 放大 (x 1.03) and 缩小 (x 0.97), clamped.
int ZoomInStep(int zoom);
int ZoomOutStep(int zoom);
// Displayed length of a picture side at zoom.
int ZoomedLength(int length, int zoom);

// The new left (or top) edge that keeps the anchor over the same picture
// point when a side of previousLength becomes newLength. The integer form
// truncates as the centre zoom of the buttons does; the floating form
// serves the pointer zoom, rounded to nearest during the wheel animation.
int AnchoredEdge(int anchor, int previousEdge, int previousLength, int newLength);
int AnchoredEdgeF(int anchor, int previousEdge, int previousLength, int newLength, bool nearest);

// The thumbnail strip: cells 40 x 40 centred on the client's middle, the
// current photo in the middle cell, between y = height - 100 and height - 60.
struct StripRange {
    int first = 0;  // first index drawn
    int last = -1;  // last index drawn (inclusive); last < first when none
};
StripRange StripIndices(int currentIndex, int count, int clientWidth);
QRect StripCell(int index, int currentIndex, QSize client);
// How many photos a click at x in the strip moves (negative: backwards).
int StripStep(int x, int clientWidth);
// The band in which clicks and the wheel act on the strip.
bool InStripBand(int y, int clientHeight);

// The area around the buttons that shows them when the pointer enters it.
bool InButtonBar(QPoint point, QSize client);

// Windowed mode: the frame geometry (left, top, width, height, the window
// frame included) around the picture last drawn at previous, kept on a
// sw x sh screen.
QRect WindowAroundPicture(const QRect& previous, int sw, int sh);
