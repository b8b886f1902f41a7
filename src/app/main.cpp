// darazoz: the photo-album manager's window program.

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "app/browsing_windows.h"
#include "app/main_frame.h"
#include "app/startup_report.h"
#include "app/verero_app.h"
#include "messaging/termination_signals.h"
#include "pane/class_view.h"
#include "pane/tree_ctrl_ex.h"

namespace {

// Development aids: --grab-screen FILE saves a picture of the screen two
// seconds after start-up (or --grab-delay MS) and closes the program
// (README's screenshots); --report-startup prints when the window and the
// first grouping are drawn and closes the program (bench/startup_bench).
bool TakeFlag(std::vector<std::string>& args, const char* name) {
    const auto found = std::find(args.begin(), args.end(), name);
    if (found == args.end()) return false;
    args.erase(found);
    return true;
}

bool FirstGroupingShown() {
    const CClassView* pane = CClassView::Instance();
    return pane != nullptr && pane->CurrentTree() != nullptr && pane->CurrentTree()->HasItems();
}

QString TakeOption(std::vector<std::string>& args, const char* name) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == name && it + 1 != args.end()) {
            QString value = QString::fromStdString(*(it + 1));
            args.erase(it, it + 2);
            return value;
        }
    }
    return {};
}

}  // namespace

int main(int argc, char* argv[]) {
    CVereroApp::SetApplicationIdentity();
    QApplication application(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    const QString grabFile = TakeOption(args, "--grab-screen");
    const QString grabDelay = TakeOption(args, "--grab-delay");
    if (TakeFlag(args, "--report-startup")) new StartupReport(FirstGroupingShown, &application);

    CVereroApp verero;
    if (!verero.InitInstance(args, MakeBrowsingParts())) return 1;
    ConnectBrowsingWindows(verero);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, verero.MainFrame(),
                     &CMainFrame::close);

    if (!grabFile.isEmpty()) {
        QTimer::singleShot(grabDelay.isEmpty() ? 2000 : grabDelay.toInt(), &application,
                           [grabFile] {
                               QGuiApplication::primaryScreen()->grabWindow(0).save(grabFile);
                               QApplication::closeAllWindows();
                           });
    }
    return application.exec();
}
