// Photo viewer benchmark on generated camera JPEGs (default 24 megapixels,
// 6000 x 4000), at 1080p and 4K, without restart markers and with one per
// row of MCUs. Each round is a fresh process that opens
// the viewer as the user does, right after the list was filled (the
// prefetch starts at the same moment), and measures:
//   - the first paint and the first paint of the full image;
//   - stepping to a prefetched neighbour: until the step is painted, in
//     wall time and in the UI thread's own CPU time (the machine is shared,
//     so wall time includes waiting for a core);
//   - jumping three photos to one not prefetched (a strip click): until its
//     thumbnail is painted and until its full image is painted;
//   - the most decoded photos held at once and the peak memory;
// next to floors measured in the same process: a bare widget painting a
// ready picture of the same size on the same screen, and djpeg (libjpeg's
// own tool, a fresh process) decoding the same file at the DCT scale the
// viewer decodes at, run right after each jump. The catalogue is made once
// by the product's own command (darazoz-cli import) in a fresh data folder.
//
// usage: viewer_bench [--photos N] [--rounds R] [--screens WxH,WxH] [--photo WxH] [--dir DIR]
// Prints each figure as min-median-max over the rounds (each round's value
// is the median of its samples).

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "catalogue/photo_catalogue.h"
#include "platform/data_folder.h"
#include "tree/category_tree_builder.h"
#include "view/photo_file_commands.h"
#include "view/verero_view.h"
#include "viewer/dialog_picview.h"
#include "viewer/display_image.h"
#include "viewer/photo_viewer_host.h"

namespace {

struct Options {
    int photos = 25;
    int rounds = 5;
    std::vector<QSize> screens{{1920, 1080}, {3840, 2160}};
    QSize photo{6000, 4000};
    std::string dir = (std::filesystem::temp_directory_path() / "dz-viewer-bench").string();
    // One round (internal): the screen, the catalogue and the corpus's first file.
    bool round = false;
    std::string data, firstFile;
};

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double ThreadCpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Processor seconds of the whole process (every thread), user and system.
double ProcessCpu() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double PeakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

QSize ParseSize(const std::string& text) {
    int w = 0, h = 0;
    return std::sscanf(text.c_str(), "%dx%d", &w, &h) == 2 ? QSize(w, h) : QSize();
}

std::string SizeText(QSize size) {
    return std::to_string(size.width()) + "x" + std::to_string(size.height());
}

// Seconds for one run of a command; 0 when it fails.
double TimeCommand(const std::string& command) {
    const double t = Now();
    return std::system(command.c_str()) == 0 ? Now() - t : 0;
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

// The floor of a step's paint: a fullscreen widget that fills the screen
// and copies a ready picture of the fitted size, as a viewer at best does.
class BarePicture : public QWidget {
  public:
    explicit BarePicture(QSize picture) : picture_(picture, QImage::Format_RGB32) {
        picture_.fill(QColor(90, 120, 150));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(24, 24, 24));
        painter.drawImage(
            QPoint((width() - picture_.width()) / 2, (height() - picture_.height()) / 2), picture_);
    }

  private:
    QImage picture_;
};

// Each figure of one round, printed as "name value" lines for the parent.
using Figures = std::map<std::string, double>;

void RunScenario(CDialogPICVIEW& viewer, PhotoViewerHost& host, const PhotoList& photos,
                 BenchApplication& app, double openedAt, const std::string& djpeg,
                 Figures& figures) {
    double lastFullPaint = 0;
    double firstPaint = 0;
    int mostHeld = 0;
    app.watched = &viewer;
    app.onPainted = [&] {
        const double now = Now();
        if (viewer.ShowsFullImage()) lastFullPaint = now;
        mostHeld = std::max(mostHeld, host.Cache().Held());
        if (firstPaint == 0) firstPaint = now - openedAt;
    };
    WaitUntil([&] { return lastFullPaint > 0; }, 30);
    figures["open.first_paint"] = firstPaint;
    figures["open.full_paint"] = lastFullPaint - openedAt;

    // Steps to prefetched neighbours, each after the worker has settled.
    std::vector<double> stepWall, stepCpu;
    for (int i = 0; i < 3; ++i) {
        WaitUntil([&] { return host.Worker().Idle(); }, 30);
        const double cpu = ThreadCpu();
        const double t = Now();
        viewer.OnNext();
        viewer.repaint();
        stepWall.push_back(Now() - t);
        stepCpu.push_back(ThreadCpu() - cpu);
    }
    // Jumps of three photos (a strip click): the target is never cached.
    std::vector<double> thumbnail, thumbnailCpu, full, floor;
    int cachedTargets = 0;
    while (photos.currentIndex + 3 < photos.Count()) {
        WaitUntil([&] { return host.Worker().Idle(); }, 30);
        const double cpu = ThreadCpu();
        const double t = Now();
        viewer.ShowPhotoAt(photos.currentIndex + 3);
        viewer.repaint();
        thumbnail.push_back(Now() - t);
        thumbnailCpu.push_back(ThreadCpu() - cpu);
        if (viewer.ShowsFullImage()) ++cachedTargets;
        WaitUntil([&] { return lastFullPaint > t; }, 30);
        full.push_back(lastFullPaint - t);
        // The floor under the same load, right after each jump.
        floor.push_back(TimeCommand(djpeg));
    }
    app.onPainted = nullptr;
    app.watched = nullptr;
    figures["step.paint_wall"] = Median(stepWall);
    figures["step.paint_cpu"] = Median(stepCpu);
    figures["jump.thumbnail_paint"] = Median(thumbnail);
    figures["jump.thumbnail_cpu"] = Median(thumbnailCpu);
    figures["jump.full_paint"] = Median(full);
    figures["floor.djpeg"] = Median(floor);
    figures["jump.cached_targets"] = cachedTargets;
    figures["cache.most_held"] = mostHeld;
    viewer.close();
}

std::vector<PhotoRef> CataloguedPhotos(Library& library) {
    std::vector<PhotoRef> refs;
    if (const auto tree = BuildCategoryTree(library, SortMode::ShotTime, nullptr))
        tree->AppendPhotosBeneath(kRootNode, refs);
    return refs;
}

// The worker's decode of one photo for this screen on its own, with nothing
// else running: wall time and the processor time of all its threads (the
// steadier figure on a shared machine).
void MeasureDecode(const std::string& file, QSize screen, qreal ratio, Figures& figures) {
    DecodeRequest request;
    request.path = file;
    request.screen = screen;
    request.devicePixelRatio = ratio;
    std::vector<double> wall, cpu;
    for (int i = 0; i < 5; ++i) {
        const double c = ProcessCpu();
        const double t = Now();
        const DisplayImage image = DecodeDisplayImage(request);
        wall.push_back(Now() - t);
        cpu.push_back(ProcessCpu() - c);
        if (image.placeholder) return;
    }
    figures["decode.wall"] = Median(wall);
    figures["decode.cpu"] = Median(cpu);
}

void MeasureBarePaint(QSize picture, Figures& figures) {
    BarePicture bare(picture);
    bare.setGeometry(QGuiApplication::primaryScreen()->geometry());
    bare.show();
    QCoreApplication::processEvents();
    std::vector<double> wall, cpu;
    for (int i = 0; i < 5; ++i) {
        const double c = ThreadCpu();
        const double t = Now();
        bare.repaint();
        wall.push_back(Now() - t);
        cpu.push_back(ThreadCpu() - c);
    }
    figures["floor.paint_wall"] = Median(wall);
    figures["floor.paint_cpu"] = Median(cpu);
}

// One round in this process: the offscreen platform gets a screen of the
// given size, the viewer opens over the catalogue in options.data.
int RunRound(Library& library, int argc, char** argv, const Options& options, QSize screenSize) {
    const std::string screens = options.dir + "/screen-" + SizeText(screenSize) + ".json";
    std::ofstream(screens) << "{\"screens\":[{\"name\":\"bench\",\"x\":0,\"y\":0,\"width\":"
                           << screenSize.width() << ",\"height\":" << screenSize.height()
                           << ",\"logicalDpi\":96,\"logicalBaseDpi\":96,\"dpr\":1}]}\n";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        qgetenv("QT_QPA_PLATFORM") == QByteArray("offscreen"))
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens).c_str());

    BenchApplication application(argc, argv);
    const QScreen* screen = QGuiApplication::primaryScreen();
    SetDataFolder(options.data);
    if (!OpenCatalogue(library)) return 1;
    const std::vector<PhotoRef> refs = CataloguedPhotos(library);
    if (refs.size() < 8) return 1;

    CVereroView view(library);
    view.resize(800, 600);
    PhotoFileCommands removal(view);
    auto* host = new PhotoViewerHost(
        view,
        {[&removal](int index, bool deleteFile) { return removal.RemoveAt(index, deleteFile); },
         [&library](const std::vector<PhotoRef>& photos) {
             return PhotosWithoutTrash(library, photos);
         }},
        &view);
    QObject::connect(&view, &CVereroView::prefetchRequested, host,
                     &PhotoViewerHost::OnPrefetchRequested);
    view.ResetPhotoList(static_cast<int>(refs.size()));
    for (const PhotoRef& ref : refs) view.Photos().Append(ref);
    view.Photos().currentIndex = 0;
    view.ShowListFromTop();

    const qreal ratio = screen->devicePixelRatio();
    const int scale = DisplayDecodeScale(options.photo, 0, screen->size(), ratio);
    const std::string djpeg = "djpeg -scale " + std::to_string(scale) + "/8 -outfile /dev/null '" +
                              options.firstFile + "'";
    Figures figures;
    figures["decode.scale_eighths"] = scale;
    // The pane starts the prefetch when it fills the list; the user opens
    // the first photo at once.
    const double openedAt = Now();
    emit view.prefetchRequested();
    host->onViewerCreated = [&](CDialogPICVIEW& viewer) {
        QTimer::singleShot(0, &viewer, [&] {
            RunScenario(viewer, *host, view.Photos(), application, openedAt, djpeg, figures);
        });
    };
    host->Open(ViewerOrigin::DoubleClick);
    MeasureBarePaint(FittedDeviceSize(options.photo, screen->size(), ratio), figures);
    MeasureDecode(options.firstFile, screen->size(), ratio, figures);
    figures["memory.peak_mib"] = PeakMiB();
    CloseCatalogue(library);
    for (const auto& [name, value] : figures) std::printf("%s %.6f\n", name.c_str(), value);
    return 0;
}

// Runs one round in a fresh process and reads its figures.
bool RunChildRound(const char* self, const Options& options, QSize screen, Figures& figures) {
    const std::string command = std::string(self) + " --round --screens " + SizeText(screen) +
                                " --photo " + SizeText(options.photo) + " --dir '" + options.dir +
                                "' --data '" + options.data + "' --first '" + options.firstFile +
                                "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return false;
    char line[256];
    while (std::fgets(line, sizeof line, pipe)) {
        char name[128];
        double value = 0;
        if (std::sscanf(line, "%127s %lf", name, &value) == 2) figures[name] = value;
    }
    return pclose(pipe) == 0 && !figures.empty();
}

struct Spread {
    double min = 0, median = 0, max = 0;
};

Spread SpreadOf(const std::vector<Figures>& rounds, const std::string& name, double factor) {
    std::vector<double> values;
    for (const Figures& figures : rounds) {
        const auto found = figures.find(name);
        if (found != figures.end()) values.push_back(found->second * factor);
    }
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

void PrintScreen(QSize screen, const std::vector<Figures>& rounds) {
    const auto ms = [&](const std::string& name) {
        const Spread s = SpreadOf(rounds, name, 1000);
        char text[64];
        std::snprintf(text, sizeof text, "%6.1f-%6.1f-%6.1f ms", s.min, s.median, s.max);
        return std::string(text);
    };
    const auto plain = [&](const std::string& name) { return SpreadOf(rounds, name, 1); };
    std::printf("\nscreen %s, %zu rounds (min-median-max), decoded at %.0f/8:\n",
                SizeText(screen).c_str(), rounds.size(), plain("decode.scale_eighths").median);
    std::printf("  open, prefetch starting with it:  first paint    %s\n",
                ms("open.first_paint").c_str());
    std::printf("                                    full image     %s\n",
                ms("open.full_paint").c_str());
    std::printf("  step to a prefetched neighbour:   painted (wall) %s (target < 16 ms)\n",
                ms("step.paint_wall").c_str());
    std::printf("                                    UI thread CPU  %s\n",
                ms("step.paint_cpu").c_str());
    std::printf("    floor: bare widget copying a ready picture     %s wall, %s CPU\n",
                ms("floor.paint_wall").c_str(), ms("floor.paint_cpu").c_str());
    std::printf("  jump to a photo not prefetched:   thumbnail      %s\n",
                ms("jump.thumbnail_paint").c_str());
    std::printf("                                    UI thread CPU  %s\n",
                ms("jump.thumbnail_cpu").c_str());
    std::printf("                                    full image     %s (target < 100 ms)\n",
                ms("jump.full_paint").c_str());
    std::printf("    floor: djpeg -scale %.0f/8 right after each jump %s\n",
                plain("decode.scale_eighths").median, ms("floor.djpeg").c_str());
    std::printf("  decode alone for this screen:     wall           %s\n",
                ms("decode.wall").c_str());
    std::printf("                                    CPU, all threads %s\n",
                ms("decode.cpu").c_str());
    std::printf("  jump targets found cached: %.0f at most\n", plain("jump.cached_targets").max);
    std::printf("  decoded photos held at once: at most %.0f in the cache (limit 3 + 1 decoding)\n",
                plain("cache.most_held").max);
    const Spread memory = plain("memory.peak_mib");
    std::printf("  peak memory: %.0f-%.0f-%.0f MiB\n", memory.min, memory.median, memory.max);
}

}  // namespace

int main(int argc, char** argv) {
    // The catalogue every step of this run works on.
    Library library;
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : "";
        if (arg == "--round") {
            options.round = true;
            continue;
        }
        ++i;
        if (arg == "--photos") options.photos = std::max(8, std::atoi(value));
        if (arg == "--rounds") options.rounds = std::max(1, std::atoi(value));
        if (arg == "--photo") options.photo = ParseSize(value);
        if (arg == "--dir") options.dir = value;
        if (arg == "--data") options.data = value;
        if (arg == "--first") options.firstFile = value;
        if (arg == "--screens") {
            options.screens.clear();
            std::stringstream list(value);
            for (std::string item; std::getline(list, item, ',');)
                if (const QSize size = ParseSize(item); !size.isEmpty())
                    options.screens.push_back(size);
        }
    }
    if (options.photo.isEmpty() || options.screens.empty()) {
        std::fprintf(stderr, "bad --photo or --screens\n");
        return 2;
    }
    if (options.round) return RunRound(library, argc, argv, options, options.screens.front());

    std::filesystem::create_directories(options.dir);
    int failed = 0;
    // The same pictures without restart markers, where the lower band's
    // thread reads through the upper band's data, and with one marker per
    // row of 16 x 16 MCUs, where it starts at the marker nearest the middle.
    for (const int restartMcus : {0, (options.photo.width() + 15) / 16}) {
        const double t = Now();
        const std::string photoFolder = options.dir + "/photos-" + SizeText(options.photo) +
                                        (restartMcus > 0 ? "-restarts" : "");
        const std::vector<std::string> files =
            MakeCameraCorpus(photoFolder, options.photos, options.photo.width(),
                             options.photo.height(), restartMcus);
        WarmFileCache(files);
        options.firstFile = files[0];
        const std::string markers =
            restartMcus > 0 ? "a restart marker every row of MCUs" : "no restart markers";
        std::printf("\n%d photos of %s, %s (%.1f MB each), ready in %.1f s\n", options.photos,
                    SizeText(options.photo).c_str(), markers.c_str(),
                    std::filesystem::file_size(files[0]) / 1e6, Now() - t);

        options.data = options.dir + "/data-" + std::to_string(::getpid());
        std::filesystem::remove_all(options.data);
        const std::string import = std::string(DARAZOZ_CLI) + " --data-dir " + options.data +
                                   " import " + photoFolder + " > /dev/null 2>&1";
        if (std::system(import.c_str()) != 0) {
            std::fprintf(stderr, "import failed: %s\n", import.c_str());
            return 1;
        }
        for (const QSize screen : options.screens) {
            std::vector<Figures> rounds;
            for (int r = 0; r < options.rounds; ++r) {
                Figures figures;
                if (RunChildRound(argv[0], options, screen, figures))
                    rounds.push_back(std::move(figures));
                else
                    ++failed;
            }
            PrintScreen(screen, rounds);
        }
        std::filesystem::remove_all(options.data);
    }
    if (failed) std::printf("\n%d rounds failed\n", failed);
    return failed ? 1 : 0;
}
