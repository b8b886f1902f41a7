#include "viewer/viewer_geometry.h"

#include <algorithm>
#include <cmath>

int FitZoom(int w, int h, int sw, int sh, int zoom) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return zoom;
    const double rw = static_cast<double>(w) / sw;
    const double rh = static_cast<double>(h) / sh;
    if (rw <= 1 && rh <= 1) return zoom;
    return std::clamp(static_cast<int>(1000 / std::max(rw, rh)), 1, ViewerZoom::kMax);
}

int ZoomInStep(int zoom) {
    return std::min(ViewerZoom::kMax, static_cast<int>(zoom * 1.03));
}

int ZoomOutStep(int zoom) {
    return std::max(ViewerZoom::kMin, static_cast<int>(zoom * 0.97));
}

int ZoomedLength(int length, int zoom) {
    return static_cast<int>(static_cast<long long>(zoom) * length / 1000);
}

int AnchoredEdge(int anchor, int previousEdge, int previousLength, int newLength) {
    if (previousLength == 0) return previousEdge;
    return anchor - static_cast<int>(static_cast<long long>(anchor - previousEdge) * newLength /
                                     previousLength);
}

int AnchoredEdgeF(int anchor, int previousEdge, int previousLength, int newLength, bool nearest) {
    if (previousLength == 0) return previousEdge;
    const double edge =
        anchor - static_cast<double>(anchor - previousEdge) * newLength / previousLength;
    return static_cast<int>(nearest ? std::lround(edge) : std::trunc(edge));
}

StripRange StripIndices(int currentIndex, int count, int clientWidth) {
    const int k = (clientWidth / 2 - 20) / 40 + 2;
    return {std::max(0, currentIndex - k), std::min(count, currentIndex + k) - 1};
}

QRect StripCell(int index, int currentIndex, QSize client) {
    const int centre = client.width() / 2 + (index - currentIndex) * 40;
    return {centre - 20, client.height() - 100, 40, 40};
}

int StripStep(int x, int clientWidth) {
    const int c = clientWidth / 2;
    if (x > c + 20) return (x - c - 20) / 40 + 1;
    if (x < c - 20) return -((c - x - 20) / 40) - 1;
    return 0;
}

bool InStripBand(int y, int clientHeight) {
    return y > clientHeight - 100 && y < clientHeight - 60;
}

bool InButtonBar(QPoint point, QSize client) {
    const int c = client.width() / 2;
    return point.x() > c - 244 && point.x() < c + 306 && point.y() > client.height() - 150 &&
           point.y() < client.height() - 12;
}

QRect WindowAroundPicture(const QRect& previous, int sw, int sh) {
    const int left = std::max(previous.left(), 9);
    const int top = std::max(previous.top(), 31);
    int width = previous.width();
    int height = previous.height();
    if (width + 9 + left > sw) width = sw - left - 9;
    if (height + 7 + top > sh) height = sh - top - 47;
    return {left - 9, top - 31, std::max(width, 1) + 18, std::max(height, 1) + 38};
}
