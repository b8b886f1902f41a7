#pragma once
// Web Mercator for the map window. World coordinates are degrees of
// longitude across and "Mercator degrees" up (the Mercator y of a latitude
// scaled like a longitude), so one world unit is as wide as one degree of
// longitude on screen and a view is a centre and a scale in pixels per unit.

#include <cstdint>

// Beyond this latitude Web Mercator grows without bound; positions are clamped to it.
inline constexpr double kMercatorLatitudeLimit = 85.05112878;

struct WorldPoint {
    float x = 0;
    float y = 0;
};

struct WorldBox {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;

    bool Intersects(const WorldBox& other) const {
        return minX <= other.maxX && other.minX <= maxX && minY <= other.maxY && other.minY <= maxY;
    }
    void Include(double x, double y);
    bool Empty() const { return minX > maxX; }
    static WorldBox None() { return {1, 1, 0, 0}; }
};

double MercatorY(double latitude);
double LatitudeOfMercatorY(double y);
WorldPoint ToWorld(double latitude, double longitude);

struct ScreenPoint {
    double x = 0;
    double y = 0;
};

// What the window shows: a centre in world units, pixels per world unit and
// the size of the widget in pixels (y grows downwards on screen).
class MapView {
  public:
    static constexpr double kMinScale = 1.0;       // the whole world in 360 px
    static constexpr double kMaxScale = 400000.0;  // a street, about 0.3 m a pixel

    MapView() = default;
    MapView(double centerX, double centerY, double scale, int width, int height);

    double CenterX() const { return centerX_; }
    double CenterY() const { return centerY_; }
    double Scale() const { return scale_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    ScreenPoint ToScreen(double worldX, double worldY) const;
    ScreenPoint ToScreen(WorldPoint p) const { return ToScreen(p.x, p.y); }
    void ToWorld(double screenX, double screenY, double& worldX, double& worldY) const;
    // Latitude and longitude under a pixel.
    void ToPosition(double screenX, double screenY, double& latitude, double& longitude) const;
    WorldBox Visible() const;

    void Resize(int width, int height);
    // Moves the map by the given pixels (the content follows the pointer).
    void PanBy(double dx, double dy);
    // Zooms by factor keeping the world point under (screenX, screenY) in place.
    void ZoomAt(double factor, double screenX, double screenY);
    // Centres on the box and picks the largest scale that shows it whole
    // inside the margin (pixels on each side); a point or an empty box keeps
    // the given scale.
    void Fit(const WorldBox& box, int marginPixels, double scaleForAPoint);

    // Ground metres per pixel at the view's centre.
    double MetresPerPixel() const;

  private:
    void Clamp();

    double centerX_ = 105, centerY_ = 36;
    double scale_ = 2;
    int width_ = 800, height_ = 600;
};

// A scale bar's length: the longest of 1, 2 or 5 times a power of ten metres
// that fits in maxPixels at this many metres per pixel.
double ScaleBarMetres(double metresPerPixel, double maxPixels);
