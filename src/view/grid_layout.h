#pragma once
// Geometry of the thumbnail grid: cells of cellSize x cellSize pixels in
// rows of `columns`, and where a thumbnail sits inside its cell. Document
// coordinates (the scroll offset is added by the caller, except in HitTest).
// Pure arithmetic; any thread.

#include <utility>

inline constexpr int kLargeIconCell = 180;
inline constexpr int kSmallIconCell = 100;
inline constexpr int kCaptionHeight = 20;

// Edges as the drawing code uses them: right and bottom are exclusive.
struct GridRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const GridRect&, const GridRect&) = default;
};

struct GridLayout {
    int cellSize = kLargeIconCell;
    int columns = 4;
    int clientWidth = 0;
    int clientHeight = 0;
    int documentHeight = 0;

    // Recomputes columns and the document height for a client area and a
    // number of photos. At least one column, so that a window narrower than a
    // cell still shows (and hit-tests) one column instead of dividing by 0.
    void Lay(int width, int height, int count);

    GridRect CellRect(int index) const;
    // Index under the client point (x, y) scrolled by (scrollX, scrollY), or
    // -1 when the point lies right of the last column or the index is not in
    // 0..count-1.
    int HitTest(int x, int y, int scrollX, int scrollY, int count) const;
    // Entries [first, last) whose rows meet the document band [top, bottom).
    std::pair<int, int> VisibleRange(int top, int bottom, int count) const;
    // Entries that fit in the client area counted from the top of the list.
    int FirstScreenCount(int count) const;
};

// Where a w x h thumbnail is drawn in a cell of size c: landscape pictures
// are 20 pixels narrower than the cell and stand on the caption line;
// others fill the height above the caption, centred.
GridRect ImageRect(const GridRect& cell, int c, int w, int h);
