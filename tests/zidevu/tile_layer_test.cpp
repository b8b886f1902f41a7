// The optional raster tiles against a local HTTP server that the test starts
// and fills with generated tiles.
#include "zidevu/tile_layer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkDiskCache>
#include <QPainter>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <functional>

namespace {

// Answers GET /{z}/{x}/{y}.png with a tile of one colour (or 404 when told
// to), and remembers what it was asked and by whom.
class TileServer : public QObject {
  public:
    explicit TileServer(bool missing = false) : missing_(missing) {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Serve(socket); });
            }
        });
    }

    QString Address() const {
        return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(server_.serverPort());
    }
    QStringList paths;
    QStringList userAgents;
    static constexpr QRgb kTileColour = 0xff2080c0;

  private:
    void Serve(QTcpSocket* socket) {
        buffers_[socket] += socket->readAll();
        const QByteArray request = buffers_[socket];
        if (!request.contains("\r\n\r\n")) return;
        buffers_.remove(socket);
        const QList<QByteArray> lines = request.split('\n');
        paths << QString::fromLatin1(lines[0].split(' ').value(1));
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("user-agent:"))
                userAgents << QString::fromLatin1(line.mid(11).trimmed());
        QByteArray body;
        if (!missing_) {
            QImage tile(256, 256, QImage::Format_RGB32);
            tile.fill(kTileColour);
            QBuffer out(&body);
            out.open(QIODevice::WriteOnly);
            tile.save(&out, "PNG");
        }
        QByteArray reply = missing_ ? "HTTP/1.1 404 Not Found\r\n" : "HTTP/1.1 200 OK\r\n";
        reply += "Content-Type: image/png\r\nCache-Control: max-age=86400\r\n";
        reply += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        reply += "Connection: close\r\n\r\n" + body;
        socket->write(reply);
        socket->disconnectFromHost();
    }

    bool missing_;
    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> buffers_;
};

// Paints the view until done() holds (or a generous bound passed), then once more.
QImage PaintUntil(TileLayer& layer, const MapView& view, const std::function<bool()>& done) {
    QImage image(view.Width(), view.Height(), QImage::Format_RGB32);
    QElapsedTimer waited;
    waited.start();
    do {
        image.fill(Qt::black);
        QPainter painter(&image);
        layer.Paint(painter, view);
        painter.end();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    } while (!done() && waited.elapsed() < 10000);
    image.fill(Qt::black);
    QPainter painter(&image);
    layer.Paint(painter, view);
    return image;
}

TEST(TileNumbers, areThoseOfTheWebMercatorTileScheme) {
    struct Case {
        double latitude, longitude;
        int zoom, x, y;
    };
    // By the slippy-map formula: x = (lon + 180) / 360 * 2^z,
    // y = (1 - asinh(tan(lat)) / pi) / 2 * 2^z.
    const Case kCases[] = {
        {39.9042, 116.4074, 10, 843, 388},     // Beijing
        {-33.8688, 151.2093, 12, 3768, 2457},  // Sydney
        {51.4779, -0.0015, 14, 8191, 5450},    // Greenwich
        {0, 0, 0, 0, 0},
    };
    for (const Case& c : kCases) {
        const double scale = std::exp2(c.zoom) * 256 / 360;
        EXPECT_EQ(TileZoomFor(scale), c.zoom);
        const WorldPoint at = ToWorld(c.latitude, c.longitude);
        const MapView tiny(at.x, at.y, scale, 2, 2);
        const std::vector<TileKey> tiles = TilesCovering(tiny, c.zoom);
        ASSERT_FALSE(tiles.empty());
        EXPECT_EQ(tiles[0].x, c.x) << c.latitude;
        EXPECT_EQ(tiles[0].y, c.y) << c.latitude;
    }
    EXPECT_EQ(TileZoomFor(1e9), 19);
    EXPECT_EQ(TileZoomFor(0.01), 0);
}

TEST(ATileLayer, fetchesWithItsUserAgentDrawsAndServesAgainFromTheDiskCache) {
    TileServer server;
    QTemporaryDir cache;
    const TileSettings settings{true, server.Address(), QStringLiteral("© Test tiles"),
                                5 * 1024 * 1024};
    // Beijing at tile zoom 10, a view of about 2 x 2 tiles.
    const WorldPoint at = ToWorld(39.9, 116.4);
    const MapView view(at.x, at.y, std::exp2(10) * 256 / 360, 400, 300);
    const int expected = static_cast<int>(TilesCovering(view, 10).size());
    {
        TileLayer layer(settings, cache.path());
        EXPECT_EQ(layer.DiskCache()->maximumCacheSize(), 5 * 1024 * 1024);
        int arrived = 0;
        QObject::connect(&layer, &TileLayer::tileArrived, [&] { ++arrived; });
        const QImage image = PaintUntil(layer, view, [&] { return arrived == expected; });
        EXPECT_EQ(arrived, expected);
        EXPECT_EQ(image.pixel(200, 150), TileServer::kTileColour);
        ASSERT_EQ(server.paths.size(), expected);
        EXPECT_TRUE(server.paths.contains(QStringLiteral("/10/843/388.png")))
            << server.paths.join(' ').toStdString();
        for (const QString& agent : server.userAgents) EXPECT_TRUE(agent.startsWith("zidevu/"));
    }
    // A new run: the tiles come from the disk cache, not from the server.
    TileLayer again(settings, cache.path());
    int arrived = 0;
    QObject::connect(&again, &TileLayer::tileArrived, [&] { ++arrived; });
    const QImage image = PaintUntil(again, view, [&] { return arrived == expected; });
    EXPECT_EQ(arrived, expected);
    EXPECT_EQ(image.pixel(200, 150), TileServer::kTileColour);
    EXPECT_EQ(server.paths.size(), expected);
}

TEST(ATileLayer, leavesTheMapAloneWhereTheServerHasNoTileAndDoesNotAskAgain) {
    TileServer server(true);
    QTemporaryDir cache;
    TileLayer layer({true, server.Address(), {}, 1024 * 1024}, cache.path());
    const MapView view(0, 0, 256.0 / 360, 256, 256);  // the one tile of zoom 0
    int arrived = 0;
    QObject::connect(&layer, &TileLayer::tileArrived, [&] { ++arrived; });
    const QImage first =
        PaintUntil(layer, view, [&] { return layer.Pending() == 0 && !server.paths.empty(); });
    EXPECT_EQ(arrived, 0);
    EXPECT_EQ(first.pixel(128, 128), QColor(Qt::black).rgb());
    EXPECT_EQ(server.paths.size(), 1);
    PaintUntil(layer, view, [] { return true; });
    EXPECT_EQ(server.paths.size(), 1);
}

}  // namespace
