#include "qt_test_environment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

namespace {

int argc = 1;
char programName[] = "darazoz-ui-tests";
char* argv[] = {programName, nullptr};

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        settingsFolder = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", settingsFolder->path().toLocal8Bit());
        // The map link endpoint listens under the runtime folder (mode 0700).
        qputenv("XDG_RUNTIME_DIR", settingsFolder->path().toLocal8Bit());
        // Files deleted "from disk" go to a trash of the test's own.
        qputenv("XDG_DATA_HOME", settingsFolder->path().toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder->path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder->path());
        // The suites run without a display, also when started by hand.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override {
        application.reset();
        settingsFolder.reset();
    }

    std::unique_ptr<QTemporaryDir> settingsFolder;
    std::unique_ptr<QApplication> application;
};

QtEnvironment* const environment =
    static_cast<QtEnvironment*>(::testing::AddGlobalTestEnvironment(new QtEnvironment));

}  // namespace

QString TestSettingsFolder() {
    return environment->settingsFolder->path();
}
