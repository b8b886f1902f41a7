// The window's import against the command line's: camera-like 12-megapixel
// photos with a position each (so that the import ends with the region
// question), imported in every round by
//   (a) `darazoz-cli --data-dir D import FOLDER`, a whole process;
//   (b) the program's window on the offscreen platform, 添加文件夹 with the
//       folder typed into the chooser, timed from the command to the
//       progress dialog's last count (its 确定 enabled) and to the closing
//       question;
//   (c) the same for 黏贴 of every file of the folder from the clipboard.
// Each window run is a fresh process of this program (the program's shell,
// its windows and its import controller, as darazoz's main() builds them)
// with a fresh data and settings folder; the command comes one second after
// the start. Prints min–median–max over the
// rounds of every time, the processor seconds of each process, and the
// ratio window / command line taken within each round.
//
// usage: window_import_bench [--files N] [--rounds R] [--dir DIR]

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "app/verero_app.h"
#include "bench_corpus.h"
#include "bench_process.h"
#include "browsing/browsing_windows.h"
#include "dialogs/dlg_msg.h"
#include "importui/dlg_new_pic.h"
#include "importui/import_controller.h"
#include "messaging/command_ids.h"
#include "pane/class_view.h"
#include "widgets/path_dialog.h"

namespace {

// The process's processor seconds (all its threads) so far.
double ProcessorSeconds() {
    return double(std::clock()) / CLOCKS_PER_SEC;
}

// "label <monotonic seconds> <processor seconds>" for the parent.
void Mark(const char* what) {
    std::printf("%s %.6f %.6f\n", what, SteadySeconds(), ProcessorSeconds());
    std::fflush(stdout);
}

// Child side: answers the dialogs as a user would and marks the moments the
// parent times. The chooser gets the folder typed in and 确定; the progress
// dialog's 确定 turning enabled is its last count; the region question is
// answered 否, after which the import ends and the program closes.
class WindowDriver : public QObject {
  public:
    WindowDriver(QString folder, CMainFrame& frame) : folder_(std::move(folder)), frame_(frame) {
        QApplication::instance()->installEventFilter(this);
        auto* imports = frame.findChild<ImportController*>();
        connect(imports, &ImportController::importEnded, this, [] {
            Mark("ended");
            QTimer::singleShot(0, QApplication::instance(), &QApplication::closeAllWindows);
        });
    }

    void AddFolder() {
        Mark("command");
        frame_.Command(CommandId::kAddFolder)->trigger();
    }

    void Paste() {
        QList<QUrl> urls;
        const QDir dir(folder_);
        for (const QString& name : dir.entryList({QStringLiteral("*.jpg")}, QDir::Files))
            urls.push_back(QUrl::fromLocalFile(dir.filePath(name)));
        auto* data = new QMimeData;
        data->setUrls(urls);
        QGuiApplication::clipboard()->setMimeData(data);
        Mark("command");
        frame_.findChild<CClassView*>()->Paste();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* chooser = qobject_cast<CPathDialog*>(watched)) {
                QTimer::singleShot(0, chooser, [this, chooser] {
                    chooser->PathEdit()->setText(folder_);
                    chooser->OkButton()->click();
                });
            } else if (auto* question = qobject_cast<CDlgMsg*>(watched)) {
                Mark("question");
                QTimer::singleShot(0, question, [question] { question->CancelButton()->click(); });
            }
        } else if (event->type() == QEvent::EnabledChange) {
            auto* button = qobject_cast<QPushButton*>(watched);
            auto* dialog = button ? qobject_cast<CDlg_NewPic*>(button->parent()) : nullptr;
            if (dialog && button == dialog->OkButton() && button->isEnabled()) Mark("counted");
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QString folder_;
    CMainFrame& frame_;
};

constexpr int kSettleMs = 1000;

int RunWindow(int argc, char** argv) {
    const std::string mode = argv[2];
    CVereroApp::SetApplicationIdentity();
    QApplication application(argc, argv);
    InstallQtChineseTranslations(application);
    CVereroApp verero;
    if (verero.InitInstance({.dataFolder = argv[3]}, MakeBrowsingParts(verero.PhotoLibrary())) !=
        CVereroApp::StartOutcome::Running)
        return 1;
    ConnectBrowsingWindows(verero);
    WindowDriver driver(QString::fromLocal8Bit(argv[4]), *verero.MainFrame());
    // The command comes once the window has drawn and its start-up work
    // (the first grouping, the view and its prefetch) has settled, as a
    // user's would; an import started at once would overlap it.
    QTimer::singleShot(kSettleMs, &driver, [&driver, mode] {
        if (mode == "paste") {
            driver.Paste();
        } else {
            driver.AddFolder();
        }
    });
    return application.exec();
}

struct Run {
    double seconds = 0;     // the whole process
    double cpuSeconds = 0;  // user + system
    int status = -1;
    std::map<std::string, double> marks;     // monotonic seconds
    std::map<std::string, double> cpuMarks;  // the process's processor seconds
};

// Runs command in a fresh process with extra environment, reading the
// marks it prints.
Run Measure(const std::vector<std::string>& command,
            const std::vector<std::pair<std::string, std::string>>& environment) {
    const ProcessRun process = RunProcess(command, environment);
    Run run;
    run.seconds = process.seconds;
    run.cpuSeconds = process.cpuSeconds;
    run.status = process.status;
    std::istringstream lines(process.output);
    std::string label;
    double when = 0, cpu = 0;
    while (lines >> label >> when >> cpu) {
        run.marks[label] = when;
        run.cpuMarks[label] = cpu;
    }
    return run;
}

// Seconds from one mark to another, or -1 when either is missing.
double Between(const std::map<std::string, double>& marks, const char* from, const char* to) {
    const auto a = marks.find(from);
    const auto b = marks.find(to);
    return a == marks.end() || b == marks.end() ? -1 : b->second - a->second;
}

void PrintSpread(const char* what, const std::vector<double>& values, const char* unit) {
    const Spread s = SpreadOf(values);
    std::printf("  %-50s %8.3f %8.3f %8.3f %s\n", what, s.min, s.median, s.max, unit);
}

struct WindowFigures {
    std::vector<double> counted, question, whole, cpu, questionCpu;
    std::vector<double> countedRatio, questionRatio, questionCpuRatio;
    int failures = 0;
};

void AddWindowRun(WindowFigures& figures, const Run& run, const Run& cli) {
    const double counted = Between(run.marks, "command", "counted");
    const double question = Between(run.marks, "command", "question");
    const double questionCpu = Between(run.cpuMarks, "command", "question");
    if (run.status != 0 || counted < 0 || question < 0 || !run.marks.count("ended")) {
        ++figures.failures;
        return;
    }
    figures.counted.push_back(counted);
    figures.question.push_back(question);
    figures.whole.push_back(run.seconds);
    figures.cpu.push_back(run.cpuSeconds);
    figures.questionCpu.push_back(questionCpu);
    figures.countedRatio.push_back(counted / cli.seconds);
    figures.questionRatio.push_back(question / cli.seconds);
    figures.questionCpuRatio.push_back(questionCpu / cli.cpuSeconds);
}

void PrintWindow(const char* name, const WindowFigures& figures) {
    std::printf("%s\n", name);
    if (figures.counted.empty()) {
        std::printf("  no round finished\n");
        return;
    }
    PrintSpread("command -> last count", figures.counted, "s");
    PrintSpread("command -> closing question", figures.question, "s");
    PrintSpread("whole process (start-up, import, exit)", figures.whole, "s");
    PrintSpread("processor time of the process", figures.cpu, "s");
    PrintSpread("processor time command -> closing question", figures.questionCpu, "s");
    PrintSpread("ratio last count / command line", figures.countedRatio, "x");
    PrintSpread("ratio closing question / command line (<= 1.3)", figures.questionRatio, "x");
    PrintSpread("ratio of processor times, the same", figures.questionCpuRatio, "x");
    if (figures.failures > 0) std::printf("  %d rounds FAILED\n", figures.failures);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--window") return RunWindow(argc, argv);

    int files = 1000, rounds = 5;
    std::string dir = std::filesystem::temp_directory_path().string() + "/darazoz-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--files")
            files = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--dir")
            dir = argv[i + 1];
    }
    const std::string folder = dir + "/positioned-" + std::to_string(files);
    std::printf("window import benchmark: %d camera-like photos with positions in %s, %d rounds\n",
                files, folder.c_str(), rounds);
    std::fflush(stdout);
    const std::vector<std::string> corpus = MakePositionedCameraCorpus(folder, files);
    WarmFileCache(corpus);

    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    const std::string work = dir + "/window-import-runs";
    std::vector<double> cli, cliCpu;
    WindowFigures added, pasted;
    for (int round = 0; round < rounds; ++round) {
        std::filesystem::remove_all(work);
        std::filesystem::create_directories(work);
        const std::vector<std::pair<std::string, std::string>> environment{
            {"QT_QPA_PLATFORM", "offscreen"},
            {"XDG_CONFIG_HOME", work + "/config"},
            {"XDG_CACHE_HOME", work + "/cache"},
            {"XDG_DATA_HOME", work + "/share"}};
        const Run line =
            Measure({DARAZOZ_CLI, "--data-dir", work + "/cli", "import", folder}, environment);
        if (line.status != 0) {
            std::printf("darazoz-cli import FAILED (status %d)\n", line.status);
            return 1;
        }
        cli.push_back(line.seconds);
        cliCpu.push_back(line.cpuSeconds);
        AddWindowRun(added,
                     Measure({self, "--window", "folder", work + "/folder", folder}, environment),
                     line);
        AddWindowRun(pasted,
                     Measure({self, "--window", "paste", work + "/paste", folder}, environment),
                     line);
    }
    std::filesystem::remove_all(work);

    std::printf("min / median / max over %d rounds\n", rounds);
    std::printf("darazoz-cli import (whole process)\n");
    PrintSpread("time", cli, "s");
    PrintSpread("processor time", cliCpu, "s");
    PrintWindow("window, 添加文件夹", added);
    PrintWindow("window, 黏贴 of the files", pasted);
    return 0;
}
