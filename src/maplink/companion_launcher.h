#pragma once
// Starting the companion map application and opening its download page as
// detached processes (plain POSIX; the Qt user interface may use its own
// launcher instead).

#include <string>
#include <vector>

#include "maplink/companion_locator.h"

inline constexpr const char* kCompanionDownloadUrl = "https://www.darazoz.com/zidevu/download.html";

// Runs argv[0] with argv as a detached process (its own session, not a
// child to reap). False when it could not be started.
bool LaunchDetached(const std::vector<std::string>& argv);

// Runs LastRunPath, then waits one second for it to come up; its window is
// not awaited. False when there is no path or it could not be started.
bool StartCompanion(CompanionLocator& locator);

// Opens the download page in the desktop's browser (xdg-open).
bool OpenCompanionDownloadPage();
