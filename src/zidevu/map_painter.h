#pragma once
// Draws the base map of a MapGeometry into a view: sea, land, the borders
// that the scale calls for and the names that fit. Only the shapes that
// reach into the view and are at least a pixel wide are drawn, each at the
// simplification its scale needs.
//
// UI thread (or any one thread that owns the painter and its QPainter).

#include <QString>
#include <QVector>
#include <functional>
#include <vector>

#include "companion/map_geometry.h"

class QPainter;
class QPointF;

class MapPainter {
  public:
    explicit MapPainter(const MapGeometry& geometry);

    void Paint(QPainter& painter, const MapView& view);
    // Drawn over the land and under the borders and names (raster tiles).
    void SetUnderlay(std::function<void(QPainter&, const MapView&)> underlay);

  private:
    void PaintLands(QPainter& painter, const MapView& view, int step, const WorldBox& visible);
    void PaintBorders(QPainter& painter, const MapView& view, int step, const WorldBox& visible);
    void PaintLabels(QPainter& painter, const MapView& view, const WorldBox& visible);
    // The shape's points at this step in screen coordinates, in buffer_.
    int Project(const MapShape& shape, int step, const MapView& view);

    const MapGeometry& geometry_;
    std::vector<QString> names_;  // of geometry_.Labels(), converted once
    QVector<QPointF> buffer_;
    std::function<void(QPainter&, const MapView&)> underlay_;
};

enum class ShapeFit { Drawn, Outside, TooSmall };
// Whether the shape spans at least minPixels and reaches into the visible box.
ShapeFit FitOf(const MapShape& shape, const WorldBox& visible, double scale, double minPixels);
