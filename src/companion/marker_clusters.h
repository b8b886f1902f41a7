#pragma once
// Photo markers grouped into clusters at one scale: markers whose positions
// fall into the same square of the grid (cellPixels wide on screen, anchored
// at the world's origin so that panning never regroups them) form one
// cluster, drawn at the mean of its markers with their count. Clusters of
// neighbouring squares closer than kClusterJoinFraction of a square join.

#include <cstdint>
#include <vector>

#include "companion/map_projection.h"

inline constexpr double kClusterJoinFraction = 0.75;

struct MarkerCluster {
    WorldPoint at;
    std::vector<std::uint32_t> members;  // indices into the markers, ascending
};

// Clusters in the order of their first marker.
std::vector<MarkerCluster> ClusterMarkers(const std::vector<WorldPoint>& markers, double scale,
                                          double cellPixels);

// The cluster drawn nearest to (x, y) within radius pixels, or -1.
int ClusterAt(const std::vector<MarkerCluster>& clusters, const MapView& view, double x, double y,
              double radius);

// Indices of the markers drawn inside the screen rectangle, ascending.
std::vector<std::uint32_t> MarkersInRectangle(const std::vector<WorldPoint>& markers,
                                              const MapView& view, double left, double top,
                                              double right, double bottom);
