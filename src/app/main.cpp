// darazoz: the photo-album manager's window program.

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "app/launch_options.h"
#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "app/startup_report.h"
#include "app/verero_app.h"
#include "browsing/browsing_windows.h"
#include "messaging/termination_signals.h"
#include "pane/class_view.h"
#include "pane/tree_ctrl_ex.h"
#include "platform/heap_growth.h"

namespace {

bool FirstGroupingShown() {
    const CClassView* pane = CClassView::Instance();
    return pane != nullptr && pane->CurrentTree() != nullptr && pane->CurrentTree()->HasItems();
}

// --grab-screen saves a picture of the screen after the delay and closes the
// program (README's screenshots).
void GrabScreenLater(const LaunchOptions& options, QApplication& application) {
    QTimer::singleShot(options.grabDelayMs, &application, [file = options.grabFile] {
        QGuiApplication::primaryScreen()->grabWindow(0).save(file);
        QApplication::closeAllWindows();
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    GrowHeapInLargeSteps();
    CVereroApp::SetApplicationIdentity();
    QApplication application(argc, argv);
    InstallQtChineseTranslations(application);
    const LaunchCommandLine command = ParseLaunchCommandLine(QCoreApplication::arguments());
    if (command.action != LaunchCommandLine::Action::Run) {
        const bool help = command.action == LaunchCommandLine::Action::ShowHelp;
        std::fputs(command.text.toLocal8Bit().constData(), help ? stdout : stderr);
        return help ? 0 : kBadUsageExitStatus;
    }
    const LaunchOptions& options = command.options;
    // --report-startup prints when the window and the first grouping are
    // drawn and closes the program (bench/startup_bench).
    if (options.reportStartup) new StartupReport(FirstGroupingShown, &application);

    CVereroApp verero;
    const CVereroApp::StartOutcome start =
        verero.InitInstance(options, MakeBrowsingParts(verero.PhotoLibrary()));
    if (start != CVereroApp::StartOutcome::Running) return CVereroApp::ExitStatus(start);
    ConnectBrowsingWindows(verero);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, verero.MainFrame(),
                     &CMainFrame::close);

    if (!options.grabFile.isEmpty()) GrabScreenLater(options, application);
    return application.exec();
}
