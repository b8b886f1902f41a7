#include "view/grid_layout.h"

#include <algorithm>

void GridLayout::Lay(int width, int height, int count) {
    clientWidth = width;
    clientHeight = height;
    columns = std::max(1, width / cellSize);
    const long long fitting =
        static_cast<long long>(width / cellSize) * static_cast<long long>(height / cellSize);
    documentHeight = count > fitting ? cellSize * (count / columns + 1) : height;
}

GridRect GridLayout::CellRect(int index) const {
    const int left = (index % columns) * cellSize;
    const int top = (index / columns) * cellSize;
    return {left, top, left + cellSize, top + cellSize};
}

int GridLayout::HitTest(int x, int y, int scrollX, int scrollY, int count) const {
    const int docX = x + scrollX;
    const int docY = y + scrollY;
    if (docX < 0 || docY < 0) return -1;
    const int column = docX / cellSize;
    if (column >= columns) return -1;
    const long long index = static_cast<long long>(docY / cellSize) * columns + column;
    return index < count ? static_cast<int>(index) : -1;
}

std::pair<int, int> GridLayout::VisibleRange(int top, int bottom, int count) const {
    const int first = (top / cellSize) * columns;
    const int last = std::min(count, ((bottom - 1 + cellSize) / cellSize) * columns);
    return {first, last};
}

int GridLayout::FirstScreenCount(int count) const {
    const int rows = (clientHeight + cellSize - 1) / cellSize;
    return std::min(count, columns * rows);
}

GridRect ImageRect(const GridRect& cell, int c, int w, int h) {
    if (h < w) {
        return {cell.left + 10, cell.top + c - kCaptionHeight - (c - kCaptionHeight) * h / w,
                cell.right - 10, cell.bottom - kCaptionHeight};
    }
    const int half = c / 2;
    const int s = (half - 10) * w / h;
    return {cell.left + half - s, cell.top, cell.right - half + s, cell.bottom - kCaptionHeight};
}
