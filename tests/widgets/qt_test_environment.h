#pragma once
// Shared by the user-interface suites: one QApplication for the whole test
// program, created before the first test, and QSettings pointed at a
// temporary folder (also the runtime folder of the map link endpoint), so
// no test touches the user's real settings.

#include <QString>

// The folder that holds the suite's settings files.
QString TestSettingsFolder();
