#include "companion/marker_clusters.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

std::vector<MarkerCluster> ClusterMarkers(const std::vector<WorldPoint>& markers, double scale,
                                          double cellPixels) {
    const double cell = cellPixels / scale;  // world units
    std::unordered_map<std::uint64_t, std::size_t> clusterOfCell;
    clusterOfCell.reserve(markers.size());
    std::vector<MarkerCluster> clusters;
    std::vector<std::pair<double, double>> sums;
    for (std::uint32_t i = 0; i < markers.size(); ++i) {
        const auto column = static_cast<std::int64_t>(std::floor(markers[i].x / cell));
        const auto row = static_cast<std::int64_t>(std::floor(markers[i].y / cell));
        const std::uint64_t key =
            static_cast<std::uint64_t>(column) << 32 ^ static_cast<std::uint32_t>(row);
        const auto [it, fresh] = clusterOfCell.try_emplace(key, clusters.size());
        if (fresh) {
            clusters.emplace_back();
            sums.emplace_back(0, 0);
        }
        clusters[it->second].members.push_back(i);
        sums[it->second].first += markers[i].x;
        sums[it->second].second += markers[i].y;
    }
    for (std::size_t c = 0; c < clusters.size(); ++c) {
        const double n = static_cast<double>(clusters[c].members.size());
        clusters[c].at = {static_cast<float>(sums[c].first / n),
                          static_cast<float>(sums[c].second / n)};
    }
    return clusters;
}

int ClusterAt(const std::vector<MarkerCluster>& clusters, const MapView& view, double x, double y,
              double radius) {
    int best = -1;
    double bestDistance = radius * radius;
    for (std::size_t c = 0; c < clusters.size(); ++c) {
        const ScreenPoint p = view.ToScreen(clusters[c].at);
        const double d = (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
        if (d <= bestDistance) {
            bestDistance = d;
            best = static_cast<int>(c);
        }
    }
    return best;
}

std::vector<std::uint32_t> MarkersInRectangle(const std::vector<WorldPoint>& markers,
                                              const MapView& view, double left, double top,
                                              double right, double bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    std::vector<std::uint32_t> inside;
    for (std::uint32_t i = 0; i < markers.size(); ++i) {
        const ScreenPoint p = view.ToScreen(markers[i]);
        if (p.x >= left && p.x <= right && p.y >= top && p.y <= bottom) inside.push_back(i);
    }
    return inside;
}
