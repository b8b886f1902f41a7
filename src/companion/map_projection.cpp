#include "companion/map_projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
constexpr double kEarthRadiusMetres = 6378137.0;  // WGS-84, as Web Mercator uses
constexpr double kWorldLimitY = 180.0;            // MercatorY of the latitude limit

}  // namespace

void WorldBox::Include(double x, double y) {
    if (Empty()) {
        *this = {x, y, x, y};
        return;
    }
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
}

double MercatorY(double latitude) {
    const double clamped = std::clamp(latitude, -kMercatorLatitudeLimit, kMercatorLatitudeLimit);
    const double phi = clamped / kDegreesPerRadian;
    return std::log(std::tan(std::numbers::pi / 4 + phi / 2)) * kDegreesPerRadian;
}

double LatitudeOfMercatorY(double y) {
    return (2 * std::atan(std::exp(y / kDegreesPerRadian)) - std::numbers::pi / 2) *
           kDegreesPerRadian;
}

WorldPoint ToWorld(double latitude, double longitude) {
    return {static_cast<float>(longitude), static_cast<float>(MercatorY(latitude))};
}

MapView::MapView(double centerX, double centerY, double scale, int width, int height)
    : centerX_(centerX), centerY_(centerY), scale_(scale), width_(width), height_(height) {
    Clamp();
}

ScreenPoint MapView::ToScreen(double worldX, double worldY) const {
    return {(worldX - centerX_) * scale_ + width_ / 2.0,
            (centerY_ - worldY) * scale_ + height_ / 2.0};
}

void MapView::ToWorld(double screenX, double screenY, double& worldX, double& worldY) const {
    worldX = centerX_ + (screenX - width_ / 2.0) / scale_;
    worldY = centerY_ - (screenY - height_ / 2.0) / scale_;
}

void MapView::ToPosition(double screenX, double screenY, double& latitude,
                         double& longitude) const {
    double x = 0, y = 0;
    ToWorld(screenX, screenY, x, y);
    latitude = LatitudeOfMercatorY(std::clamp(y, -kWorldLimitY, kWorldLimitY));
    // Longitudes wrap only for the text; the map itself does not repeat.
    longitude = std::remainder(x, 360.0);
}

WorldBox MapView::Visible() const {
    WorldBox box;
    ToWorld(0, height_, box.minX, box.minY);
    ToWorld(width_, 0, box.maxX, box.maxY);
    return box;
}

void MapView::Resize(int width, int height) {
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    Clamp();
}

void MapView::PanBy(double dx, double dy) {
    centerX_ -= dx / scale_;
    centerY_ += dy / scale_;
    Clamp();
}

void MapView::ZoomAt(double factor, double screenX, double screenY) {
    if (!(factor > 0) || !std::isfinite(factor)) return;
    double x = 0, y = 0;
    ToWorld(screenX, screenY, x, y);
    scale_ = std::clamp(scale_ * factor, kMinScale, kMaxScale);
    // Put (x, y) back under the pointer.
    centerX_ = x - (screenX - width_ / 2.0) / scale_;
    centerY_ = y + (screenY - height_ / 2.0) / scale_;
    Clamp();
}

void MapView::Fit(const WorldBox& box, int marginPixels, double scaleForAPoint) {
    if (box.Empty()) return;
    centerX_ = (box.minX + box.maxX) / 2;
    centerY_ = (box.minY + box.maxY) / 2;
    const double usableWidth = std::max(width_ - 2.0 * marginPixels, 1.0);
    const double usableHeight = std::max(height_ - 2.0 * marginPixels, 1.0);
    const double spanX = box.maxX - box.minX;
    const double spanY = box.maxY - box.minY;
    double scale = scaleForAPoint;
    if (spanX > 0 || spanY > 0) {
        scale = std::min(spanX > 0 ? usableWidth / spanX : kMaxScale,
                         spanY > 0 ? usableHeight / spanY : kMaxScale);
    }
    scale_ = std::clamp(scale, kMinScale, kMaxScale);
    Clamp();
}

double MapView::MetresPerPixel() const {
    const double latitude = LatitudeOfMercatorY(centerY_);
    const double metresPerDegree = kEarthRadiusMetres / kDegreesPerRadian;
    return metresPerDegree * std::cos(latitude / kDegreesPerRadian) / scale_;
}

void MapView::Clamp() {
    if (!std::isfinite(scale_)) scale_ = kMinScale;
    scale_ = std::clamp(scale_, kMinScale, kMaxScale);
    if (!std::isfinite(centerX_)) centerX_ = 0;
    if (!std::isfinite(centerY_)) centerY_ = 0;
    centerX_ = std::clamp(centerX_, -180.0, 180.0);
    centerY_ = std::clamp(centerY_, -kWorldLimitY, kWorldLimitY);
}

double ScaleBarMetres(double metresPerPixel, double maxPixels) {
    if (!(metresPerPixel > 0) || !(maxPixels > 0)) return 0;
    const double most = metresPerPixel * maxPixels;
    const double power = std::pow(10.0, std::floor(std::log10(most)));
    for (double step : {5.0, 2.0, 1.0}) {
        if (step * power <= most) return step * power;
    }
    return power;
}
