#include "companion/map_projection.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(TheMapProjection, bringsEveryPixelBackToItsPosition) {
    struct Case {
        double latitude, longitude, scale;
    };
    const Case kCases[] = {
        {0, 0, 1},         {39.9042, 116.4074, 50},     {-33.8688, 151.2093, 3000},
        {84.9, -179.9, 2}, {22.5431, 114.0579, 350000}, {-84.9, 179.9, 12},
    };
    for (const Case& c : kCases) {
        const WorldPoint world = ToWorld(c.latitude, c.longitude);
        const MapView view(world.x, world.y, c.scale, 800, 600);
        // The centre pixel, and one off centre by a few pixels.
        for (const double offset : {0.0, 37.0}) {
            const ScreenPoint screen = view.ToScreen(world.x + offset / c.scale, world.y);
            double latitude = 0, longitude = 0;
            view.ToPosition(screen.x - offset, screen.y, latitude, longitude);
            // Floats of the world point: about 1e-5 degree.
            EXPECT_NEAR(latitude, c.latitude, 2e-5) << c.latitude << "," << c.longitude;
            EXPECT_NEAR(longitude, c.longitude, 2e-5) << c.latitude << "," << c.longitude;
        }
        EXPECT_NEAR(LatitudeOfMercatorY(MercatorY(c.latitude)), c.latitude, 1e-9);
    }
}

TEST(TheMapProjection, clampsLatitudesBeyondWebMercator) {
    EXPECT_DOUBLE_EQ(MercatorY(90), MercatorY(kMercatorLatitudeLimit));
    EXPECT_DOUBLE_EQ(MercatorY(-1000), MercatorY(-kMercatorLatitudeLimit));
    EXPECT_NEAR(MercatorY(kMercatorLatitudeLimit), 180, 1e-6);
}

TEST(AMapView, fitsABoxTightlyInsideItsMargin) {
    struct Case {
        WorldBox box;
        int width, height;
    };
    const Case kCases[] = {
        {{113.8, 22.4, 114.5, 22.9}, 800, 600},  // wider than high
        {{100, -10, 101, 40}, 800, 600},         // higher than wide
        {{-180, -85, 180, 85}, 1000, 700},
    };
    constexpr int kMargin = 40;
    for (const Case& c : kCases) {
        MapView view(0, 0, 1, c.width, c.height);
        view.Fit(c.box, kMargin, 1000);
        const ScreenPoint low = view.ToScreen(c.box.minX, c.box.minY);
        const ScreenPoint high = view.ToScreen(c.box.maxX, c.box.maxY);
        EXPECT_GE(low.x, kMargin - 1e-6);
        EXPECT_LE(high.x, c.width - kMargin + 1e-6);
        EXPECT_GE(high.y, kMargin - 1e-6);
        EXPECT_LE(low.y, c.height - kMargin + 1e-6);
        // Tight: one of the two directions touches the margin.
        const bool wide = std::fabs((high.x - low.x) - (c.width - 2 * kMargin)) < 1e-6;
        const bool tall = std::fabs((low.y - high.y) - (c.height - 2 * kMargin)) < 1e-6;
        EXPECT_TRUE(wide || tall);
    }
}

TEST(AMapView, fitsOnePointAtTheScaleGivenForIt) {
    MapView view(0, 0, 1, 800, 600);
    view.Fit({116.4, 39.9, 116.4, 39.9}, 40, 2000);
    EXPECT_DOUBLE_EQ(view.Scale(), 2000);
    const ScreenPoint centre = view.ToScreen(116.4, 39.9);
    EXPECT_DOUBLE_EQ(centre.x, 400);
    EXPECT_DOUBLE_EQ(centre.y, 300);
}

TEST(AMapView, zoomsAboutThePointerAndStaysWithinItsScales) {
    MapView view(116, 40, 10, 800, 600);
    double beforeX = 0, beforeY = 0, afterX = 0, afterY = 0;
    view.ToWorld(100, 500, beforeX, beforeY);
    view.ZoomAt(4, 100, 500);
    view.ToWorld(100, 500, afterX, afterY);
    EXPECT_NEAR(afterX, beforeX, 1e-9);
    EXPECT_NEAR(afterY, beforeY, 1e-9);
    view.ZoomAt(1e12, 0, 0);
    EXPECT_DOUBLE_EQ(view.Scale(), MapView::kMaxScale);
    view.ZoomAt(1e-12, 0, 0);
    EXPECT_DOUBLE_EQ(view.Scale(), MapView::kMinScale);
    view.ZoomAt(std::nan(""), 0, 0);
    EXPECT_DOUBLE_EQ(view.Scale(), MapView::kMinScale);
}

TEST(AScaleBar, isTheLongestRoundLengthThatFits) {
    struct Case {
        double metresPerPixel, maxPixels, metres;
    };
    const Case kCases[] = {
        {1, 120, 100},     {10, 120, 1000}, {30, 120, 2000}, {45, 120, 5000},
        {0.004, 120, 0.2}, {0, 120, 0},     {-3, 120, 0},
    };
    for (const Case& c : kCases)
        EXPECT_DOUBLE_EQ(ScaleBarMetres(c.metresPerPixel, c.maxPixels), c.metres)
            << c.metresPerPixel;
}

}  // namespace
