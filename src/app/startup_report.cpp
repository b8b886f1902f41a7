#include "app/startup_report.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "platform/c_locale_numbers.h"

namespace {

void PrintNow(const char* what) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("%s %s\n", what, FixedText(std::chrono::duration<double>(now).count(), 6).c_str());
    std::fflush(stdout);
}

}  // namespace

StartupReport::StartupReport(std::function<bool()> groupingShown, QObject* parent)
    : QObject(parent), groupingShown_(std::move(groupingShown)) {
    QApplication::instance()->installEventFilter(this);
}

bool StartupReport::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint || done_) return QObject::eventFilter(watched, event);
    if (!windowDrawn_) {
        windowDrawn_ = true;
        PrintNow("window");
    }
    if (groupingShown_()) {
        done_ = true;
        PrintNow("grouping");
        QTimer::singleShot(0, QApplication::instance(), &QApplication::closeAllWindows);
    }
    return QObject::eventFilter(watched, event);
}
