// The companion's map window, offscreen, on the shipped region data:
//   - opening the data (decoding every polygon into the drawing arrays);
//   - the paint of one frame while panning, at world, province and district
//     zoom, with and without 100,000 photo markers, next to the floor of the
//     same run: copying a finished frame of the same size onto the widget's
//     image, the least any frame costs;
//   - opening the window with 100,000 markers until its first frame is drawn,
//     and until its first frame with the outlines (read on a thread meanwhile).
//
// usage: map_bench [--markers N] [--frames N] [--data FILE]

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "companion/companion_service.h"
#include "companion/map_geometry.h"
#include "zidevu/map_widget.h"
#include "zidevu/zidevu_window.h"

namespace {

constexpr int kWidth = 1000, kHeight = 700;

double Now() {
    return std::chrono::duration<double, std::milli>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Photos over China's cities (most) and the world (some), as an album would hold them.
std::vector<MapPhotoRecord> Photos(int count) {
    std::mt19937 random(7);
    const std::pair<double, double> centres[] = {{39.9, 116.4}, {31.2, 121.5}, {22.5, 114.1},
                                                 {30.6, 104.1}, {34.3, 108.9}, {30.3, 120.2}};
    std::normal_distribution<double> spread(0, 0.4);
    std::uniform_real_distribution<double> latitude(-60, 70), longitude(-180, 180);
    std::vector<MapPhotoRecord> photos;
    for (int i = 0; i < count; ++i) {
        MapPhotoRecord photo;
        photo.idPic = i + 1;
        if (i % 10 == 0) {
            photo.latitude = latitude(random);
            photo.longitude = longitude(random);
        } else {
            const auto& c = centres[i % 6];
            photo.latitude = c.first + spread(random);
            photo.longitude = c.second + spread(random);
        }
        photos.push_back(photo);
    }
    return photos;
}

struct Frames {
    double median = 0, worst = 0;
};

Frames Summary(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

// Paints frames while panning a few pixels each, as a drag does.
Frames PanFrames(MapWidget& map, int frames) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    std::vector<double> times;
    map.render(&image);  // the first frame builds the clusters of this scale
    for (int i = 0; i < frames; ++i) {
        MapView view = map.View();
        view.PanBy(i % 2 ? 9 : -7, 4);
        map.SetView(view);
        const double start = Now();
        map.render(&image);
        times.push_back(Now() - start);
    }
    return Summary(times);
}

// Frames after a small zoom step each: the whole base map is drawn anew.
Frames ZoomFrames(MapWidget& map, int frames) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        MapView view = map.View();
        view.ZoomAt(i % 2 ? 1.02 : 1 / 1.02, kWidth / 2.0, kHeight / 2.0);
        map.SetView(view);
        const double start = Now();
        map.render(&image);
        times.push_back(Now() - start);
    }
    return Summary(times);
}

Frames FloorFrames(int frames) {
    QImage finished(kWidth, kHeight, QImage::Format_RGB32);
    finished.fill(Qt::darkCyan);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    std::vector<double> times;
    for (int i = 0; i < frames; ++i) {
        const double start = Now();
        QPainter painter(&image);
        painter.drawImage(i % 2, 0, finished);
        painter.end();
        times.push_back(Now() - start);
    }
    return Summary(times);
}

}  // namespace

int main(int argc, char** argv) {
    int markers = 100000;
    int frames = 40;
    std::string data = DARAZOZ_REGION_DATA;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--markers")) markers = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--frames")) frames = std::max(1, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--data")) data = argv[i + 1];
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    auto geometry = std::make_shared<MapGeometry>();
    double start = Now();
    if (!geometry->Open(data)) {
        std::fprintf(stderr, "map_bench: %s\n", geometry->ErrorText().c_str());
        return 1;
    }
    std::printf(
        "open the region data: %.0f ms (%zu points at every step, %zu borders, %zu lands)\n",
        Now() - start, geometry->Points().size(), geometry->Borders().size(),
        geometry->Lands().size());

    const std::vector<MapPhotoRecord> photos = Photos(markers);
    struct Zoom {
        const char* name;
        double latitude, longitude, scale;
    };
    const Zoom kZooms[] = {
        {"world", 30, 60, 2.8},
        {"province (Guangdong)", 23.3, 113.5, 150},
        {"district (Shenzhen)", 22.55, 114.05, 4000},
    };
    const Frames floor = FloorFrames(frames);
    std::printf("frame %dx%d, median / worst of %d, ms: while panning | after a zoom step\n",
                kWidth, kHeight, frames);
    std::printf("  floor (copy a finished frame)          %6.2f / %6.2f\n", floor.median,
                floor.worst);
    for (const Zoom& zoom : kZooms) {
        for (const bool withMarkers : {false, true}) {
            MapWidget map{QString()};
            map.SetGeometry(geometry, QString());
            map.resize(kWidth, kHeight);
            if (withMarkers) map.SetPhotos(photos);
            const WorldPoint centre = ToWorld(zoom.latitude, zoom.longitude);
            map.SetView(MapView(centre.x, centre.y, zoom.scale, kWidth, kHeight));
            const Frames pan = PanFrames(map, frames);
            const Frames zoomed = ZoomFrames(map, frames);
            std::printf("  %-22s %-15s %6.2f / %6.2f | %6.2f / %6.2f\n", zoom.name,
                        withMarkers ? "100,000 markers" : "no markers", pan.median, pan.worst,
                        zoomed.median, zoomed.worst);
        }
    }

    // The window as the program opens it, then the album's 20004 with every marker.
    CompanionService service([](double, double) { return std::vector<std::string>{}; });
    start = Now();
    ZidevuWindow window(service, RegionDataState{data, ""});
    window.resize(kWidth, kHeight + 90);
    window.show();
    window.ShowPhotos(photos, 0);
    window.grab();
    const double up = Now() - start;
    window.FinishLoadingMap();
    window.grab();
    std::printf(
        "open the window with %d markers: first frame %.0f ms (the outlines still being "
        "read), first frame with the map %.0f ms\n",
        markers, up, Now() - start);
    return 0;
}
