#pragma once
// The outlines of the region data file made ready to draw: decoded once at
// open into world coordinates (see map_projection.h), each shape kept at a
// few simplifications so that a frame draws only the vertices its scale can
// show. Country outlines come from the country parts; the Chinese borders
// are derived from the districts at open: an edge that two districts share is
// a province, city or district border after the largest level at which their
// names differ, and an edge that no other district touches is the country's
// own outline (coast and land borders).
//
// Read-only after Open; any thread may read a geometry that no thread opens.

#include <array>
#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "companion/map_projection.h"

enum class BorderLevel : std::uint8_t { Country = 0, Province = 1, City = 2, District = 3 };

// How many simplifications each shape keeps; step 0 holds every vertex.
inline constexpr int kMapDetailSteps = 6;

struct MapSpan {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

struct MapShape {
    float minX = 0, minY = 0, maxX = 0, maxY = 0;
    BorderLevel level = BorderLevel::Country;
    std::array<MapSpan, kMapDetailSteps> spans{};  // into MapGeometry::Points()
};

struct MapLabel {
    WorldPoint at;
    float extent = 0;  // about the width of the region, world units
    BorderLevel level = BorderLevel::Country;
    std::string name;  // UTF-8
};

class MapGeometry {
  public:
    // Reads the data file read-only. False when it is missing or damaged (a
    // damaged polygon inside a good file is left out); ErrorText says why.
    // A set stop ends the reading early (false, nothing kept): the window
    // that asked is closing.
    bool Open(const std::string& path, const std::atomic<bool>* stop = nullptr);
    bool IsOpen() const { return open_; }
    const std::string& ErrorText() const { return error_; }

    const std::vector<WorldPoint>& Points() const { return points_; }
    // Land outlines (closed rings, to fill; the widest first) and border
    // lines (open polylines, by level, within a level the widest first).
    const std::vector<MapShape>& Lands() const { return lands_; }
    const std::vector<MapShape>& Borders() const { return borders_; }
    std::span<const MapShape> Borders(BorderLevel level) const;
    const std::vector<MapLabel>& Labels() const { return labels_; }
    WorldBox Bounds() const { return bounds_; }

    // The coarsest simplification that still looks exact at this many pixels per world unit.
    static int DetailStepFor(double scale);

  private:
    friend class MapGeometryBuilder;
    bool open_ = false;
    std::string error_;
    std::vector<WorldPoint> points_;
    std::vector<MapShape> lands_;
    std::vector<MapShape> borders_;
    std::array<std::size_t, 5> levelStarts_{};  // borders_ of level l: [starts[l], starts[l + 1])
    std::vector<MapLabel> labels_;
    WorldBox bounds_ = WorldBox::None();
};
