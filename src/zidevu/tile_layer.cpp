#include "zidevu/tile_layer.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>
#include <QSettings>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "zidevu/install_settings.h"

namespace {

constexpr int kTilePixels = 256;
constexpr int kMaxTileZoom = 19;
constexpr int kTilesKept = 512;  // decoded tiles in memory
constexpr qint64 kDefaultCacheMegabytes = 200;
constexpr int kMaxPending = 64;       // requests in flight at once
constexpr double kWorldSpan = 360.0;  // world units across (and up) at zoom 0

QString TileId(const TileKey& key) {
    return QStringLiteral("%1/%2/%3").arg(key.z).arg(key.x).arg(key.y);
}

}  // namespace

TileSettings LoadTileSettings() {
    QSettings settings = ZidevuSettings();
    settings.beginGroup(QStringLiteral("Tiles"));
    TileSettings tiles;
    tiles.enabled = settings.value(QStringLiteral("Enabled"), false).toBool();
    tiles.address = settings
                        .value(QStringLiteral("Address"),
                               QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png"))
                        .toString();
    tiles.attribution =
        settings
            .value(QStringLiteral("Attribution"), QStringLiteral("© OpenStreetMap contributors"))
            .toString();
    tiles.cacheBytes =
        settings.value(QStringLiteral("CacheMegabytes"), kDefaultCacheMegabytes).toLongLong() *
        1024 * 1024;
    return tiles;
}

void SaveTileEnabled(bool enabled) {
    QSettings settings = ZidevuSettings();
    settings.setValue(QStringLiteral("Tiles/Enabled"), enabled);
}

int TileZoomFor(double scale) {
    const double zoom = std::log2(scale * kWorldSpan / kTilePixels);
    return std::clamp(static_cast<int>(std::lround(zoom)), 0, kMaxTileZoom);
}

std::vector<TileKey> TilesCovering(const MapView& view, int zoom) {
    const int count = 1 << zoom;
    const double span = kWorldSpan / count;  // world units per tile
    const WorldBox box = view.Visible();
    const int x0 = std::max(0, static_cast<int>(std::floor((box.minX + 180) / span)));
    const int x1 = std::min(count - 1, static_cast<int>(std::floor((box.maxX + 180) / span)));
    const int y0 = std::max(0, static_cast<int>(std::floor((180 - box.maxY) / span)));
    const int y1 = std::min(count - 1, static_cast<int>(std::floor((180 - box.minY) / span)));
    std::vector<TileKey> tiles;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) tiles.push_back({zoom, x, y});
    return tiles;
}

TileLayer::TileLayer(TileSettings settings, const QString& cacheFolder, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), tiles_(kTilesKept) {
    network_ = new QNetworkAccessManager(this);
    diskCache_ = new QNetworkDiskCache(this);
    diskCache_->setCacheDirectory(cacheFolder);
    diskCache_->setMaximumCacheSize(settings_.cacheBytes);
    network_->setCache(diskCache_);
}

TileLayer::~TileLayer() = default;

QByteArray TileLayer::UserAgent() {
    // Tile servers ask every client to say who it is.
    return QByteArrayLiteral("zidevu/") + QCoreApplication::applicationVersion().toUtf8() +
           QByteArrayLiteral(" (Darazoz photo album companion map)");
}

void TileLayer::Paint(QPainter& painter, const MapView& view) {
    const int zoom = TileZoomFor(view.Scale());
    const double span = kWorldSpan / (1 << zoom);
    const double pixels = span * view.Scale();
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const TileKey& key : TilesCovering(view, zoom)) {
        const QString id = TileId(key);
        if (const QImage* tile = tiles_.object(id)) {
            const ScreenPoint corner = view.ToScreen(key.x * span - 180, 180 - key.y * span);
            painter.drawImage(QRectF(corner.x, corner.y, pixels, pixels), *tile);
        } else {
            Request(key);
        }
    }
    painter.restore();
}

void TileLayer::Request(const TileKey& key) {
    const QString id = TileId(key);
    if (pending_.contains(id) || failed_.contains(id) || pending_.size() >= kMaxPending) return;
    QString address = settings_.address;
    address.replace(QStringLiteral("{z}"), QString::number(key.z))
        .replace(QStringLiteral("{x}"), QString::number(key.x))
        .replace(QStringLiteral("{y}"), QString::number(key.y));
    QNetworkRequest request{QUrl(address)};
    request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    pending_.insert(id);
    QNetworkReply* reply = network_->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply, id] { Received(reply, id); });
}

void TileLayer::Received(QNetworkReply* reply, const QString& id) {
    reply->deleteLater();
    pending_.remove(id);
    QImage tile;
    // A tile that failed is not asked for again in this run: the vector map stays.
    if (reply->error() != QNetworkReply::NoError || !tile.loadFromData(reply->readAll()) ||
        tile.isNull()) {
        failed_.insert(id);
        return;
    }
    tiles_.insert(id, new QImage(std::move(tile)));
    emit tileArrived();
}
