// Main view benchmark over a generated catalogue of 100,000 photos:
//   - filling the view from a group of 10,000 photos and painting its first
//     screen (ids only at fill time, then the first screen's thumbnails);
//   - painting one screen whose thumbnails are already loaded;
//   - painting while scrolling through the group (each screen loads new
//     thumbnails), and the decoded thumbnails' memory on the way, also
//     through a group of all 100,000 photos.
//
// usage: view_bench [--photos N] [--group N] [--width W] [--height H]

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "image/raster_image.h"
#include "platform/data_folder.h"
#include "view/verero_view.h"

namespace {

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A 160 x 120 thumbnail with a pattern that depends on seed; every fourth
// one has black bars at its sides, as 16:9 camera thumbnails do.
std::vector<std::uint8_t> Thumbnail(int seed) {
    const int w = 160, h = 120;
    std::vector<std::uint8_t> rgb(w * h * 3);
    const int bar = seed % 4 == 0 ? 16 : 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &rgb[(y * w + x) * 3];
            const bool dark = x < bar || x >= w - bar;
            p[0] = dark ? 0 : static_cast<std::uint8_t>(x + seed * 31);
            p[1] = dark ? 0 : static_cast<std::uint8_t>(y * 2 + seed * 17);
            p[2] = dark ? 0 : static_cast<std::uint8_t>((x ^ y) + seed * 7);
        }
    }
    std::vector<std::uint8_t> jpeg;
    RasterImage::FromRgbTopDown(w, h, rgb.data()).EncodeJpeg(jpeg);
    return jpeg;
}

void Generate(Library& library, int photos) {
    std::vector<std::vector<std::uint8_t>> blobs;
    for (int i = 0; i < 8; ++i) blobs.push_back(Thumbnail(i));
    BeginTransaction(library);
    for (int id = 1; id <= photos; ++id) {
        PhotoRecord r;
        const std::string name = "IMG_" + std::to_string(id) + ".jpg";
        SetField(r.strName, name);
        SetField(r.strPath, "/photos/2024");
        SetField(r.strFullPath, "/photos/2024/" + name);
        SetField(r.strXpKeyword, "旅行;海边");
        SetField(r.strOrientation, id % 10 == 0 ? "Right-top" : "Top-left");
        r.nWidth = 4000;
        r.nHeight = 3000;
        r.fSize = 4.2f;
        r.dwDateTime = 1700000000 + id;
        InsertPhotoRow(library, PhotoRef{id, false}, r, blobs[id % blobs.size()], {});
    }
    CommitTransaction(library);
}

std::size_t ThumbnailBytes(const PhotoList& list) {
    std::size_t bytes = 0;
    for (int i = 0; i < list.Count(); ++i) {
        bytes += static_cast<std::size_t>(list.Entry(i).thumbnail.sizeInBytes());
    }
    return bytes;
}

void Fill(CVereroView& view, int firstId, int count) {
    view.ResetPhotoList(count);
    for (int i = 0; i < count; ++i) view.Photos().Append({firstId + i, false});
    view.Photos().currentIndex = 0;
}

void Paint(CVereroView& view, QImage& screen) {
    view.viewport()->render(&screen);
}

// Scrolls through the whole list one screen at a time, painting each.
void ScrollThrough(CVereroView& view, QImage& screen, const char* label) {
    QScrollBar* bar = view.verticalScrollBar();
    const int step = view.viewport()->height();
    int screens = 0, mostLoaded = 0;
    std::size_t mostBytes = 0;
    double slowest = 0;
    const double start = Now();
    for (int y = 0; y <= bar->maximum(); y += step) {
        bar->setValue(y);
        const double t = Now();
        Paint(view, screen);
        slowest = std::max(slowest, Now() - t);
        ++screens;
        mostLoaded = std::max(mostLoaded, view.Photos().LoadedThumbnails());
        mostBytes = std::max(mostBytes, ThumbnailBytes(view.Photos()));
    }
    const double seconds = Now() - start;
    std::printf(
        "%s: %d screens, %.2f ms per screen (slowest %.2f ms) with new thumbnails;\n"
        "    at most %d thumbnails decoded, %.1f MiB\n",
        label, screens, seconds * 1000 / screens, slowest * 1000, mostLoaded,
        mostBytes / 1048576.0);
}

}  // namespace

int main(int argc, char** argv) {
    // The catalogue every step of this run works on.
    Library library;
    int photos = 100000, group = 10000, width = 1280, height = 800;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--photos")) photos = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--group")) group = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--width")) width = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--height")) height = std::atoi(argv[i + 1]);
    }
    if (group > photos) group = photos;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("dz-view-bench-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    SetDataFolder(folder.string());
    if (!OpenCatalogue(library)) {
        std::fprintf(stderr, "cannot open a catalogue in %s\n", folder.c_str());
        return 1;
    }
    double t = Now();
    Generate(library, photos);
    std::printf("catalogue of %d photos generated in %.2f s\n", photos, Now() - t);

    CVereroView view(library);
    view.resize(width, height);
    view.show();
    QApplication::processEvents();
    QImage screen(view.viewport()->size(), QImage::Format_RGB32);

    // The first paint of the process loads the fonts; the running program has
    // done that long before it lists a group.
    Fill(view, 1, 50);
    view.ShowListFromTop();
    Paint(view, screen);

    // A group from the middle of the catalogue, so that the rows are not the
    // first ones SQLite meets.
    const int firstId = photos / 2 - group / 2 + 1;
    t = Now();
    Fill(view, firstId, group);
    const double filled = Now() - t;
    view.ShowListFromTop();
    const double shown = Now() - t;
    Paint(view, screen);
    const double painted = Now() - t;
    std::printf(
        "group of %d photos, client %dx%d, %d columns of %d px:\n"
        "    list filled %.2f ms, first screen loaded %.2f ms, painted: %.2f ms in all\n",
        group, view.viewport()->width(), view.viewport()->height(), view.Layout().columns,
        view.CellSize(), filled * 1000, (shown - filled) * 1000, painted * 1000);

    const int rounds = 50;
    t = Now();
    for (int i = 0; i < rounds; ++i) Paint(view, screen);
    std::printf("one screen of loaded thumbnails painted in %.2f ms\n",
                (Now() - t) * 1000 / rounds);

    view.OnSmallIcons();
    t = Now();
    for (int i = 0; i < rounds; ++i) Paint(view, screen);
    std::printf("small icons: one screen of loaded thumbnails painted in %.2f ms\n",
                (Now() - t) * 1000 / rounds);
    view.OnLargeIcons();

    ScrollThrough(view, screen, "scrolling the group");
    Fill(view, 1, photos);
    view.ShowListFromTop();
    ScrollThrough(view, screen, "scrolling all photos");

    CloseCatalogue(library);
    std::filesystem::remove_all(folder);
    return 0;
}
