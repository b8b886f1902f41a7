#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <csignal>

#include "messaging/termination_signals.h"

namespace {

TEST(TerminationSignals, SigtermBecomesATerminationRequestOnTheUiThread) {
    TerminationSignals watcher;
    int requests = 0;
    QEventLoop loop;
    QObject::connect(&watcher, &TerminationSignals::terminationRequested, [&] {
        ++requests;
        loop.quit();
    });
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);  // never hang the suite
    loop.exec();
    EXPECT_EQ(requests, 1);
}

}  // namespace
