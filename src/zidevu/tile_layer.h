#pragma once
// Optional raster tiles under the vector borders, so that a user with a
// network sees streets: fetched with Qt Network from a configurable address
// (QSettings group Tiles: Enabled, off by default; Address with {z}, {x}
// and {y}; Attribution; CacheMegabytes), sent with an identifying
// User-Agent, and kept in a size-limited disk cache beside the program's
// settings. A tile not yet here is simply not drawn: the vector map beneath
// is always there.
//
// UI thread only.

#include <QCache>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>

#include "companion/map_projection.h"

class QNetworkAccessManager;
class QNetworkDiskCache;
class QNetworkReply;
class QPainter;

struct TileSettings {
    bool enabled = false;
    QString address;  // e.g. https://tile.openstreetmap.org/{z}/{x}/{y}.png
    QString attribution;
    qint64 cacheBytes = 0;
};

// The settings as remembered; defaults where none are.
TileSettings LoadTileSettings();
void SaveTileEnabled(bool enabled);

struct TileKey {
    int z = 0, x = 0, y = 0;
};

// The tile zoom whose pixels come closest to the view's scale, and the
// tiles that cover the view at it.
int TileZoomFor(double scale);
std::vector<TileKey> TilesCovering(const MapView& view, int zoom);

class TileLayer : public QObject {
    Q_OBJECT

  public:
    TileLayer(TileSettings settings, const QString& cacheFolder, QObject* parent = nullptr);
    ~TileLayer() override;

    // Draws the tiles at hand for the view and asks for the missing ones.
    void Paint(QPainter& painter, const MapView& view);
    const QString& Attribution() const { return settings_.attribution; }
    QNetworkDiskCache* DiskCache() const { return diskCache_; }
    // Requests not answered yet.
    int Pending() const { return static_cast<int>(pending_.size()); }
    static QByteArray UserAgent();

  signals:
    // A tile came in: the map should be drawn again.
    void tileArrived();

  private:
    void Request(const TileKey& key);
    void Received(QNetworkReply* reply, const QString& id);

    TileSettings settings_;
    QNetworkAccessManager* network_ = nullptr;
    QNetworkDiskCache* diskCache_ = nullptr;
    QCache<QString, QImage> tiles_;  // decoded, by "z/x/y"
    QSet<QString> pending_;
    QSet<QString> failed_;
};
