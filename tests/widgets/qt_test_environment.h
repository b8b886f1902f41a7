#pragma once
// Shared by the user-interface suites: one QApplication for the whole test
// program, created before the first test, and QSettings pointed at a
// temporary folder so no test reads or writes the user's real settings.

#include <QString>

// The folder that holds the suite's settings files.
QString TestSettingsFolder();
