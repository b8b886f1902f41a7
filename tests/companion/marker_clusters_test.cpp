#include "companion/marker_clusters.h"

#include <gtest/gtest.h>

namespace {

std::vector<WorldPoint> Markers(const std::vector<std::pair<double, double>>& positions) {
    std::vector<WorldPoint> markers;
    for (auto [latitude, longitude] : positions) markers.push_back(ToWorld(latitude, longitude));
    return markers;
}

TEST(MarkerClusters, groupMarkersThatShareAScreenCellAndCountThem) {
    // Two photos in one Beijing street, one across town, one in Shanghai.
    const auto markers =
        Markers({{39.9042, 116.4074}, {39.9043, 116.4075}, {39.95, 116.45}, {31.23, 121.47}});
    struct Case {
        double scale;
        std::vector<std::vector<std::uint32_t>> clusters;
    };
    const Case kCases[] = {
        {1, {{0, 1, 2, 3}}},             // the world in 360 px: one group
        {30, {{0, 1, 2}, {3}}},          // the country: Beijing and Shanghai
        {2000, {{0, 1}, {2}, {3}}},      // the city
        {400000, {{0}, {1}, {2}, {3}}},  // the street
    };
    for (const Case& c : kCases) {
        const auto clusters = ClusterMarkers(markers, c.scale, 36);
        std::vector<std::vector<std::uint32_t>> members;
        for (const MarkerCluster& cluster : clusters) members.push_back(cluster.members);
        EXPECT_EQ(members, c.clusters) << c.scale;
    }
    // Two markers a pixel apart on either side of a cell border form one cluster.
    const double cell = 36.0 / 2000;
    const std::vector<WorldPoint> straddling = {{static_cast<float>(6467 * cell - 0.4 / 2000), 40},
                                                {static_cast<float>(6467 * cell + 0.4 / 2000), 40}};
    EXPECT_EQ(ClusterMarkers(straddling, 2000, 36).size(), 1u);
    // A cluster sits at the mean of its markers.
    const auto city = ClusterMarkers(markers, 2000, 36);
    EXPECT_NEAR(city[0].at.x, (markers[0].x + markers[1].x) / 2, 1e-4);
}

TEST(MarkerClusters, doNotRegroupWhenTheViewPans) {
    const auto markers = Markers({{39.9, 116.4}, {39.95, 116.45}, {40.2, 116.9}, {31.2, 121.5}});
    const auto before = ClusterMarkers(markers, 100, 36);
    MapView view(116, 36, 100, 800, 600);
    view.PanBy(123, -45);
    // Clusters depend on the scale only; the view's centre does not enter.
    const auto after = ClusterMarkers(markers, view.Scale(), 36);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(before[i].members, after[i].members);
}

TEST(MarkerClusters, areHitNearTheirCentreAndMarkersInsideARectangleAreFound) {
    const auto markers = Markers({{39.9, 116.4}, {31.2, 121.5}, {22.5, 114.1}});
    const MapView view(ToWorld(31, 118).x, ToWorld(31, 118).y, 40, 1000, 800);
    const auto clusters = ClusterMarkers(markers, view.Scale(), 36);
    ASSERT_EQ(clusters.size(), 3u);
    const ScreenPoint shanghai = view.ToScreen(markers[1]);
    EXPECT_EQ(ClusterAt(clusters, view, shanghai.x + 5, shanghai.y - 5, 12), 1);
    EXPECT_EQ(ClusterAt(clusters, view, shanghai.x + 30, shanghai.y, 12), -1);
    const ScreenPoint beijing = view.ToScreen(markers[0]);
    // The rectangle drawn either way round.
    EXPECT_EQ(MarkersInRectangle(markers, view, beijing.x - 2, beijing.y - 2, shanghai.x + 2,
                                 shanghai.y + 2),
              (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(MarkersInRectangle(markers, view, shanghai.x + 2, shanghai.y + 2, beijing.x - 2,
                                 beijing.y - 2),
              (std::vector<std::uint32_t>{0, 1}));
}

}  // namespace
