// zidevu: the companion map program. Listens on the map link as "zazadoRud"
// and answers the album's requests until SIGTERM / SIGINT or, with a window,
// until the window is closed.
#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "companion/companion_service.h"
#include "messaging/termination_signals.h"
#include "zidevu/install_settings.h"
#include "zidevu/map_request_relay.h"
#include "zidevu/map_widget.h"
#include "zidevu/region_data.h"
#include "zidevu/track_dock.h"
#include "zidevu/track_import_command.h"
#include "zidevu/track_request_handler.h"
#include "zidevu/track_settings.h"
#include "zidevu/track_ui.h"
#include "zidevu/zidevu_options.h"
#include "zidevu/zidevu_window.h"

namespace {

bool DisplayAvailable() {
#ifdef Q_OS_UNIX
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

bool Install(const QString& self) {
    if (WriteInstallSettings(self)) return true;
    std::fprintf(stderr, "zidevu: cannot write %s\n", qUtf8Printable(InstallSettingsLocation()));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    ZidevuOptions options;
    if (!ParseZidevuOptions(std::vector<std::string>(argv + 1, argv + argc), options)) {
        std::fputs(kZidevuUsage, stderr);
        return 2;
    }
    if (options.help) {
        std::fputs(kZidevuUsage, stdout);
        return 0;
    }
    const bool oneShot = options.install || !options.importTracks.empty();
    if (!options.headless && !oneShot && !DisplayAvailable()) {
        std::fprintf(stderr, "zidevu: no display; running without a window\n");
        options.headless = true;
    }
    std::unique_ptr<QCoreApplication> app;
    if (options.headless || oneShot) {
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("zazadoRud"));
    // Before anything can find it listening: a signal from then on ends the
    // event loop, and the socket file goes with the service.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, app.get(),
                     &QCoreApplication::quit);
    const QString self = QCoreApplication::applicationFilePath();
    if (options.install) {
        if (!Install(self)) return 1;
        std::printf("zidevu: installed in %s\n", qUtf8Printable(InstallSettingsLocation()));
        return 0;
    }

    const std::string trackStore = options.trackStoreFile.empty()
                                       ? DefaultTrackStorePath().toStdString()
                                       : options.trackStoreFile;
    if (!options.importTracks.empty()) return RunTrackImport(options.importTracks, trackStore);

    // The first start records the program (before it can be found listening),
    // and a moved program records its new place.
    if (!InstallSettingsCurrent(self)) Install(self);

    RegionAtlas atlas;
    const RegionDataState regionData = OpenRegionData(
        atlas, options.regionDataFile, QCoreApplication::applicationDirPath().toStdString());
    TrackRequestHandler tracks(trackStore);
    // The map requests need the window (headless they are answered 0); the
    // track requests are answered headless too.
    MapRequestRelay relay;
    std::unique_ptr<ZidevuWindow> window;
    if (!options.headless) {
        relay.onShowPhotos = [&window](std::vector<MapPhotoRecord> photos, std::uint32_t flags) {
            if (window) window->ShowPhotos(std::move(photos), flags);
        };
        relay.onPickPosition = [&window](std::uint32_t flags) {
            if (window) window->StartPicking(flags);
        };
    }
    MapRequestHandlers map = relay.Handlers();
    map.findPositions = [&tracks](std::vector<MapPhotoRecord> records, std::uint32_t) {
        tracks.Receive(std::move(records));
    };
    CompanionService service(
        [&atlas](double latitude, double longitude) { return atlas.Lookup(latitude, longitude); },
        map);
    tracks.SetAnswer([&service](std::vector<MapPhotoRecord> reply) {
        service.AnswerProgram(kCodeTrackPositions, PackMapPhotoRecords(reply));
    });
    if (!service.IsListening()) {
        if (service.AnotherCompanionListens()) {
            std::printf("zidevu: another zidevu is already running; this one exits\n");
            return 0;
        }
        std::fprintf(stderr,
                     "zidevu: cannot listen on the map link (its folder is not private to "
                     "this user)\n");
        return 1;
    }
    if (!regionData.Ready()) {
        std::fprintf(stderr, "zidevu: %s; every region lookup answers that no names will come\n",
                     regionData.problem.c_str());
    }

    if (!options.headless) {
        window = std::make_unique<ZidevuWindow>(
            service, regionData, [&service](std::uint16_t code, std::vector<std::uint8_t> data) {
                service.AnswerProgram(code, std::move(data));
            });
        // The stored tracks are drawn on the map, again whenever they change.
        TrackDock* dock = AttachTrackUi(*window, tracks);
        MapWidget* mapWidget = window->Map();
        auto drawTracks = [mapWidget, dock] {
            std::vector<std::vector<GeoPosition>> lines;
            for (const TrackPolyline& polyline : dock->Polylines()) {
                std::vector<GeoPosition>& line = lines.emplace_back();
                for (const auto& [latitude, longitude] : polyline.points)
                    line.push_back({latitude, longitude});
            }
            mapWidget->SetTracks(std::move(lines));
        };
        QObject::connect(dock, &TrackDock::tracksChanged, mapWidget, drawTracks);
        drawTracks();
        window->show();
    }
    const int status = app->exec();
    window.reset();  // before the service it reads
    return status;
}
