// Photo viewer benchmark on generated 24-megapixel camera JPEGs (6000 x 4000):
//   - opening the viewer on a photo right after its list was filled (the
//     prefetch starts at the same moment): time to the first paint and to
//     the first paint of the full image;
//   - stepping to a prefetched neighbour: time until the step is painted;
//   - stepping to a photo that is not prefetched (three ahead, as a strip
//     click does): time to the thumbnail's paint and to the full image's;
//   - the most decoded photos held at once and the peak memory;
// next to djpeg of the same file in the same run, full size and at the
// DCT scale that covers the screen. The catalogue is made by the product's
// own command (darazoz-cli import) in a fresh data folder.
//
// usage: viewer_bench [--photos N] [--screen WxH] [--dir DIR]
// Runs on the offscreen platform with a screen of the given size
// (default 1920x1080).

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "catalogue/photo_catalogue.h"
#include "platform/data_folder.h"
#include "tree/category_tree_builder.h"
#include "view/verero_view.h"
#include "viewer/dialog_picview.h"
#include "viewer/photo_viewer_host.h"
#include "viewer/viewer_geometry.h"

namespace {

constexpr int kPhotoWidth = 6000;
constexpr int kPhotoHeight = 4000;

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

double CurrentMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

// Seconds for one run of a command, the best and the median of `runs`.
std::pair<double, double> TimeCommand(const std::string& command, int runs = 1) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double t = Now();
        if (std::system(command.c_str()) != 0) return {0, 0};
        times.push_back(Now() - t);
    }
    return {Median(times), *std::min_element(times.begin(), times.end())};
}

// Tells when the watched widget has finished a paint.
class BenchApplication : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        const bool result = QApplication::notify(receiver, event);
        if (event->type() == QEvent::Paint && receiver == watched && onPainted) onPainted();
        return result;
    }
    QObject* watched = nullptr;
    std::function<void()> onPainted;
};

bool WaitUntil(const std::function<bool()>& done, double seconds) {
    const double end = Now() + seconds;
    while (!done()) {
        if (Now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(200);
    }
    return true;
}

// The DCT scale n/8 the viewer decodes at for the screen (8 when whole).
int CoveringScale(QSize screen) {
    const int fit = FitZoom(kPhotoWidth, kPhotoHeight, screen.width(), screen.height(), 1000);
    if (fit > 500) return 8;
    const double need = std::max(std::ceil(kPhotoWidth * fit / 1000.0) / kPhotoWidth,
                                 std::ceil(kPhotoHeight * fit / 1000.0) / kPhotoHeight);
    return std::clamp(static_cast<int>(std::ceil(need * 8 - 1e-9)), 1, 8);
}

struct Figures {
    double openFirstPaint = 0, openFullPaint = 0;
    std::vector<double> prefetchedSteps, thumbnailSteps, fullAfterStep, djpegNextToStep;
    int mostHeld = 0;
    double rssBeforeOpen = 0;
};

void RunScenario(CDialogPICVIEW& viewer, PhotoViewerHost& host, const PhotoList& photos,
                 BenchApplication& app, double openedAt, const std::string& matchingDjpeg,
                 Figures& figures) {
    double lastFullPaint = 0;
    app.watched = &viewer;
    app.onPainted = [&] {
        const double now = Now();
        if (viewer.ShowsFullImage()) lastFullPaint = now;
        figures.mostHeld = std::max(figures.mostHeld, host.Cache().Held());
        if (figures.openFirstPaint == 0) figures.openFirstPaint = now - openedAt;
    };
    WaitUntil([&] { return lastFullPaint > 0; }, 30);
    figures.openFullPaint = lastFullPaint - openedAt;

    // Steps to prefetched neighbours, each after the worker has settled.
    for (int i = 0; i < 3; ++i) {
        WaitUntil([&] { return host.Worker().Idle(); }, 30);
        const double t = Now();
        viewer.OnNext();
        viewer.repaint();
        figures.prefetchedSteps.push_back(Now() - t);
    }
    // Jumps of three photos (a strip click): the target is never cached.
    while (photos.currentIndex + 3 < photos.Count()) {
        WaitUntil([&] { return host.Worker().Idle(); }, 30);
        const double t = Now();
        viewer.ShowPhotoAt(photos.currentIndex + 3);
        viewer.repaint();
        figures.thumbnailSteps.push_back(Now() - t);
        if (viewer.ShowsFullImage()) std::printf("    (a jump target was cached)\n");
        WaitUntil([&] { return lastFullPaint > t; }, 30);
        figures.fullAfterStep.push_back(lastFullPaint - t);
        // The floor under the same load, right after each step.
        figures.djpegNextToStep.push_back(TimeCommand(matchingDjpeg).first);
    }
    app.onPainted = nullptr;
    app.watched = nullptr;
    viewer.close();
}

std::vector<PhotoRef> CataloguedPhotos() {
    std::vector<PhotoRef> refs;
    if (const auto tree = BuildCategoryTree(SortMode::ShotTime, nullptr))
        tree->AppendPhotosBeneath(kRootNode, refs);
    return refs;
}

}  // namespace

int main(int argc, char** argv) {
    // The catalogue every step of this run works on.
    Library library;
    int photos = 25;
    std::string screenText = "1920x1080";
    std::string dir = (std::filesystem::temp_directory_path() / "dz-viewer-bench").string();
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--photos")) photos = std::max(8, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--screen")) screenText = argv[i + 1];
        if (!std::strcmp(argv[i], "--dir")) dir = argv[i + 1];
    }
    int sw = 1920, sh = 1080;
    std::sscanf(screenText.c_str(), "%dx%d", &sw, &sh);
    std::filesystem::create_directories(dir);
    const std::string screens = dir + "/screen.json";
    std::ofstream(screens) << "{\"screens\":[{\"name\":\"bench\",\"x\":0,\"y\":0,\"width\":" << sw
                           << ",\"height\":" << sh
                           << ",\"logicalDpi\":96,\"logicalBaseDpi\":96,\"dpr\":1}]}\n";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        qgetenv("QT_QPA_PLATFORM") == QByteArray("offscreen"))
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens).c_str());

    double t = Now();
    const std::string photoFolder = dir + "/photos24";
    const std::vector<std::string> files =
        MakeCameraCorpus(photoFolder, photos, kPhotoWidth, kPhotoHeight);
    WarmFileCache(files);
    std::printf("%d photos of %dx%d (%.1f MB each) ready in %.1f s\n", photos, kPhotoWidth,
                kPhotoHeight, std::filesystem::file_size(files[0]) / 1e6, Now() - t);

    const std::string data = dir + "/data-" + std::to_string(::getpid());
    std::filesystem::remove_all(data);
    const std::string import = std::string(DARAZOZ_CLI) + " --data-dir " + data + " import " +
                               photoFolder + " > /dev/null 2>&1";
    if (std::system(import.c_str()) != 0) {
        std::fprintf(stderr, "import failed: %s\n", import.c_str());
        return 1;
    }

    BenchApplication application(argc, argv);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    SetDataFolder(data);
    if (!OpenCatalogue()) return 1;
    const std::vector<PhotoRef> refs = CataloguedPhotos();
    std::printf("screen %dx%d, %zu photos catalogued\n", screen.width(), screen.height(),
                refs.size());
    if (refs.size() < 8) return 1;

    CVereroView view;
    view.resize(800, 600);
    auto* host = new PhotoViewerHost(view);
    view.ResetPhotoList(static_cast<int>(refs.size()));
    for (const PhotoRef& ref : refs) view.Photos().Append(ref);
    view.Photos().currentIndex = 0;
    view.ShowListFromTop();

    const int scale = CoveringScale(screen);
    const std::string file = files[0];
    const std::string scaleArg = "-scale " + std::to_string(scale) + "/8 ";
    const std::string djpegFullCommand = "djpeg -outfile /dev/null '" + file + "'";
    const std::string djpegScaledCommand =
        "djpeg " + scaleArg + "-outfile /dev/null '" + file + "'";
    const std::string& matchingCommand = scale == 8 ? djpegFullCommand : djpegScaledCommand;

    Figures figures;
    figures.rssBeforeOpen = CurrentMiB();
    // The pane starts the prefetch when it fills the list; the user opens
    // the first photo at once.
    const double openedAt = Now();
    emit view.prefetchRequested();
    host->onViewerCreated = [&](CDialogPICVIEW& viewer) {
        QTimer::singleShot(0, &viewer, [&] {
            RunScenario(viewer, *host, view.Photos(), application, openedAt, matchingCommand,
                        figures);
        });
    };
    host->Open(ViewerOrigin::DoubleClick);

    const auto [djpegFullMedian, djpegFull] = TimeCommand(djpegFullCommand, 5);
    const auto [djpegScaledMedian, djpegScaled] = TimeCommand(djpegScaledCommand, 5);
    std::vector<double> ratios;
    for (std::size_t i = 0; i < figures.fullAfterStep.size(); ++i)
        ratios.push_back(figures.fullAfterStep[i] / figures.djpegNextToStep[i]);

    const auto ms = [](double seconds) { return seconds * 1000; };
    std::printf("floor: djpeg full %.1f ms (best %.1f), djpeg %s%.1f ms (best %.1f)\n",
                ms(djpegFullMedian), ms(djpegFull), scaleArg.c_str(), ms(djpegScaledMedian),
                ms(djpegScaled));
    std::printf("open, prefetch starting with it: first paint %.1f ms, full image %.1f ms\n",
                ms(figures.openFirstPaint), ms(figures.openFullPaint));
    std::printf(
        "step to a prefetched neighbour, painted: median %.2f ms, worst %.2f ms "
        "(target < 16 ms)\n",
        ms(Median(figures.prefetchedSteps)),
        ms(*std::max_element(figures.prefetchedSteps.begin(), figures.prefetchedSteps.end())));
    std::printf(
        "step to a photo not prefetched (%zu jumps): thumbnail painted median %.2f ms, "
        "worst %.2f ms (target < 16 ms)\n",
        figures.thumbnailSteps.size(), ms(Median(figures.thumbnailSteps)),
        ms(*std::max_element(figures.thumbnailSteps.begin(), figures.thumbnailSteps.end())));
    std::printf(
        "    full image painted median %.1f ms; djpeg %sright after each: median "
        "%.1f ms;\n    ratio per step median %.2f, worst %.2f (target <= 1.2)\n",
        ms(Median(figures.fullAfterStep)), scaleArg.c_str(), ms(Median(figures.djpegNextToStep)),
        Median(ratios), *std::max_element(ratios.begin(), ratios.end()));
    std::printf("decoded photos held at once: at most %d in the cache (limit 3 + 1 decoding)\n",
                figures.mostHeld);
    std::printf("memory: %.0f MiB before opening, peak %.0f MiB\n", figures.rssBeforeOpen,
                PeakMiB());
    CloseCatalogue();
    std::filesystem::remove_all(data);
    return 0;
}
