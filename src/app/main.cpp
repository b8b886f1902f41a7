// darazoz: the photo-album manager's window program.

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <string>
#include <vector>

#include "app/browsing_windows.h"
#include "app/main_frame.h"
#include "app/termination_signals.h"
#include "app/verero_app.h"

namespace {

// Development aid: --grab-screen FILE saves a picture of the screen two
// seconds after start-up (or --grab-delay MS) and closes the program
// (README's screenshots).
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
