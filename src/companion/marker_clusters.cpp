#include "companion/marker_clusters.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

struct Cell {
    std::int64_t column, row;
};

std::uint64_t CellKey(std::int64_t column, std::int64_t row) {
    return static_cast<std::uint64_t>(column) << 32 ^ static_cast<std::uint32_t>(row);
}

Cell CellOf(WorldPoint p, double cell) {
    return {static_cast<std::int64_t>(std::floor(p.x / cell)),
            static_cast<std::int64_t>(std::floor(p.y / cell))};
}

}  // namespace

std::vector<MarkerCluster> ClusterMarkers(const std::vector<WorldPoint>& markers, double scale,
                                          double cellPixels) {
    const double cell = cellPixels / scale;  // world units
    std::unordered_map<std::uint64_t, std::size_t> clusterOfCell;
    clusterOfCell.reserve(markers.size());
    std::vector<MarkerCluster> clusters;
    std::vector<std::pair<double, double>> sums;
    std::vector<Cell> cells;
    for (std::uint32_t i = 0; i < markers.size(); ++i) {
        const Cell at = CellOf(markers[i], cell);
        const auto [it, fresh] =
            clusterOfCell.try_emplace(CellKey(at.column, at.row), clusters.size());
        if (fresh) {
            clusters.emplace_back();
            sums.emplace_back(0, 0);
            cells.push_back(at);
        }
        clusters[it->second].members.push_back(i);
        sums[it->second].first += markers[i].x;
        sums[it->second].second += markers[i].y;
    }
    auto centre = [&](std::size_t c) {
        const double n = static_cast<double>(clusters[c].members.size());
        return WorldPoint{static_cast<float>(sums[c].first / n),
                          static_cast<float>(sums[c].second / n)};
    };
    // Neighbouring cells whose clusters would be drawn over each other join
    // the earlier one, so that a cell border never splits one group in two.
    const double nearSquared = (kClusterJoinFraction * cell) * (kClusterJoinFraction * cell);
    std::vector<char> joined(clusters.size(), 0);
    for (std::size_t c = 0; c < clusters.size(); ++c) {
        if (joined[c]) continue;
        for (std::int64_t dy = -1; dy <= 1; ++dy)
            for (std::int64_t dx = -1; dx <= 1; ++dx) {
                const auto found =
                    clusterOfCell.find(CellKey(cells[c].column + dx, cells[c].row + dy));
                if (found == clusterOfCell.end()) continue;
                const std::size_t other = found->second;
                if (other <= c || joined[other]) continue;
                const WorldPoint a = centre(c), b = centre(other);
                const double ex = a.x - b.x, ey = a.y - b.y;
                if (ex * ex + ey * ey >= nearSquared) continue;
                auto& members = clusters[c].members;
                members.insert(members.end(), clusters[other].members.begin(),
                               clusters[other].members.end());
                sums[c].first += sums[other].first;
                sums[c].second += sums[other].second;
                joined[other] = 1;
            }
    }
    std::vector<MarkerCluster> result;
    for (std::size_t c = 0; c < clusters.size(); ++c) {
        if (joined[c]) continue;
        clusters[c].at = centre(c);
        std::sort(clusters[c].members.begin(), clusters[c].members.end());
        result.push_back(std::move(clusters[c]));
    }
    return result;
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
