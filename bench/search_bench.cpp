// Search and detail-list benchmark over a generated catalogue of 100,000
// photos, with the category pane and the main view as the program has them:
//   - a search by one keyword, by a date range and by a position range: the
//     pane stores the filter, drops its trees, rebuilds the shot-time tree,
//     lists its first group in the view, and pane and view are painted;
//   - the detail list of a 10,000-photo group: opened and its first screen
//     painted, then one screen of scrolling at a time;
//   - the whole `darazoz-cli search` process for the same three searches,
//     next to the sqlite3 command-line shell running the same statement on
//     the same catalogue file (when it is installed).
//
// usage: search_bench [--photos N] [--dir DIR] [--rounds N]
// The generated catalogue stays in DIR and is reused by the next run.

#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/catalogue_save.h"
#include "catalogue/detail_rows.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/search_statement.h"
#include "generated_library.h"
#include "pane/class_view.h"
#include "platform/data_folder.h"
#include "platform/text_codec.h"
#include "tree/search_criteria.h"
#include "view/detail_list_model.h"
#include "view/report_details.h"
#include "view/verero_view.h"

namespace {

double Milliseconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}

// CPU time of this process: on a busy machine it shows the work apart from
// the waiting.
double CpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// Best and median of rounds runs of work, in milliseconds.
struct Timing {
    double best;
    double median;
};
Timing Measure(int rounds, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(Milliseconds(start));
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}

// Runs a shell command with its output thrown away; false when it fails.
bool RunQuietly(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

struct SearchCase {
    const char* name;
    SearchFilter filter;
    std::string cliOptions;
};

std::vector<SearchCase> SearchCases() {
    std::vector<SearchCase> cases(3);
    cases[0].name = "one keyword";
    CopyBounded(cases[0].filter.keywordA, sizeof cases[0].filter.keywordA, "关键词7");
    cases[0].cliOptions = "--keyword 关键词7";
    cases[1].name = "a date range";
    cases[1].filter.start = *LocalDayStart({2015, 1, 1});
    cases[1].filter.end = *LocalDayEnd({2015, 12, 31});
    cases[1].cliOptions = "--from 2015-01-01 --to 2015-12-31";
    cases[2].name = "a position range";
    cases[2].filter.longitude1 = 110;
    cases[2].filter.longitude2 = 115;
    cases[2].filter.latitude1 = 25;
    cases[2].filter.latitude2 = 30;
    cases[2].cliOptions = "--lon 110,115 --lat 25,30";
    return cases;
}

void PaintAll(CClassView& pane, CVereroView& view, QImage& paneImage, QImage& viewImage) {
    pane.render(&paneImage);
    view.render(&viewImage);
}

}  // namespace

int main(int argc, char** argv) {
    // The catalogue every step of this run works on.
    Library library;
    int photos = 100000;
    int rounds = 5;
    std::string dir = std::filesystem::temp_directory_path().string() + "/darazoz-search-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--photos")) photos = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--dir")) dir = argv[i + 1];
        if (!std::strcmp(argv[i], "--rounds")) rounds = std::max(1, std::atoi(argv[i + 1]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    EnsureGeneratedCatalogue(library, dir, photos);
    auto start = std::chrono::steady_clock::now();
    start = std::chrono::steady_clock::now();
    if (!OpenCatalogue(library)) {
        std::fprintf(stderr, "cannot open the catalogue in %s\n", dir.c_str());
        return 1;
    }
    std::printf("catalogue %s: %.1f MiB, loaded in %.0f ms\n", CatalogueFilePath().c_str(),
                std::filesystem::file_size(CatalogueFilePath()) / 1048576.0, Milliseconds(start));

    // The program's window: a 250-pixel pane beside an 800 x 600 view.
    CVereroView view(library);
    view.resize(800, 600);
    view.show();
    CClassView pane(view);
    pane.resize(250, 600);
    pane.show();
    QApplication::processEvents();
    QImage paneImage(pane.size(), QImage::Format_RGB32);
    QImage viewImage(view.size(), QImage::Format_RGB32);
    PaintAll(pane, view, paneImage, viewImage);  // fonts loaded, as in the running program
    pane.SetSearchActive(true);

    std::printf(
        "\nsearch, shot-time tree rebuilt, first group listed, pane and view painted"
        " (target < 300 ms), best / median of %d:\n",
        rounds);
    for (const SearchCase& c : SearchCases()) {
        const Timing t = Measure(rounds, [&] {
            pane.Search(c.filter);
            PaintAll(pane, view, paneImage, viewImage);
        });
        const auto found = pane.CurrentTree() != nullptr ? view.Photos().Count() : 0;
        std::printf("  %-17s %7.1f / %7.1f ms   (%d photos in the first group)\n", c.name, t.best,
                    t.median, found);
    }
    pane.SetSearchActive(false);

    // A group of 10,000 photos from the middle of the catalogue.
    const int group = std::min(10000, photos);
    const int firstId = photos / 2 - group / 2 + 1;
    auto fill = [&] {
        view.ResetPhotoList(group);
        for (int i = 0; i < group; ++i) view.Photos().Append({firstId + i, false});
        view.Photos().currentIndex = 0;
    };
    std::printf("\ndetail list of %d photos, 800 x 600:\n", group);
    fill();
    start = std::chrono::steady_clock::now();
    view.OnDetailList();
    view.render(&viewImage);
    std::printf("  first opened and painted      %7.1f ms (target < 100; creates the list)\n",
                Milliseconds(start));
    const Timing reopen = Measure(rounds, [&] {
        fill();
        view.ShowListFromTop();
        view.render(&viewImage);
    });
    std::printf("  group listed and painted      %7.1f / %7.1f ms (target < 100), %d rows read\n",
                reopen.best, reopen.median, view.Report()->Model()->LoadedRows());

    // How much of a screen is catalogue reading: the rows of one screen read
    // on their own, from photos the list has not shown.
    const int screenRows = view.Report()->Model()->LoadedRows();
    const Timing reading = Measure(rounds, [&] {
        for (int i = 0; i < screenRows; ++i)
            ReadDetailRow(library, PhotoRef{firstId + group / 2 + i, false});
    });
    std::printf("  %d rows read from the catalogue %6.2f / %6.2f ms\n", screenRows, reading.best,
                reading.median);

    QTableView* table = view.Report()->Table();
    QScrollBar* bar = table->verticalScrollBar();
    int screens = 0;
    double slowest = 0;
    const double cpuStart = CpuMilliseconds();
    start = std::chrono::steady_clock::now();
    for (int y = 0; y < bar->maximum() && screens < 200; y += bar->pageStep()) {
        const auto screenStart = std::chrono::steady_clock::now();
        // A vertical scroll repaints the table's rows, not its header.
        bar->setValue(y + bar->pageStep());
        table->viewport()->render(&viewImage);
        slowest = std::max(slowest, Milliseconds(screenStart));
        ++screens;
    }
    const double wall = Milliseconds(start);
    std::printf(
        "  one screen scrolled           %7.2f ms on average (%.2f ms of CPU), slowest %.2f ms"
        " over %d screens (target < 10)\n",
        wall / std::max(1, screens), (CpuMilliseconds() - cpuStart) / std::max(1, screens), slowest,
        screens);
    CloseCatalogue(library);

    // The command a user scripts with, as a fresh process each time.
    const std::string cli = DARAZOZ_CLI;
    const bool haveSqlite = RunQuietly("command -v sqlite3");
    std::printf(
        "\ndarazoz-cli search as a whole process (opens the catalogue file, searches, prints"
        " the paths)\nnext to the sqlite3 shell on the same file running the same statement,"
        " and that statement\nwith the photos' full paths joined in, best / median of %d:\n",
        rounds);
    for (const SearchCase& c : SearchCases()) {
        const std::string command =
            Quoted(cli) + " --data-dir " + Quoted(dir) + " search " + c.cliOptions;
        bool ok = true;
        const Timing whole = Measure(rounds, [&] { ok = RunQuietly(command) && ok; });
        std::printf("  %-17s darazoz-cli %7.1f / %7.1f ms%s", c.name, whole.best, whole.median,
                    ok ? "" : " (FAILED)");
        if (haveSqlite) {
            std::string statement = SearchStatement(c.filter);
            const std::string shell = "sqlite3 " + Quoted(CatalogueFilePath()) + " ";
            const Timing same = Measure(rounds, [&] { RunQuietly(shell + Quoted(statement)); });
            if (statement.back() == ';') statement.pop_back();
            const std::string withPaths =
                "select p.strFullPath from (" + statement +
                ") s join tJpgMsg p on p.idPic = s.idPic order by s.dwDateTime DESC";
            const Timing paths = Measure(rounds, [&] { RunQuietly(shell + Quoted(withPaths)); });
            std::printf("   sqlite3 %6.1f / %6.1f ms, with paths %6.1f / %6.1f ms", same.best,
                        same.median, paths.best, paths.median);
        }
        std::printf("\n");
    }
    if (!haveSqlite) std::printf("  (sqlite3 is not installed: no floor measured)\n");
    return 0;
}
