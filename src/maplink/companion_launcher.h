#pragma once
// Starting the companion map application and opening its download page as
// detached processes (plain POSIX; the Qt user interface may use its own
// launcher instead).

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "maplink/companion_locator.h"

inline constexpr const char* kCompanionDownloadUrl = "https://www.darazoz.com/zidevu/download.html";

// How long a started companion has to begin listening.
inline constexpr std::chrono::seconds kCompanionStartWait{5};

// Runs argv[0] with argv as a detached process (its own session, not a
// child to reap, standard input from /dev/null). False when it could not be
// started.
bool LaunchDetached(const std::vector<std::string>& argv);

// Runs LastRunPath, then waits until listening() holds (asked every 20 ms),
// at most kCompanionStartWait, so that the request that follows finds it.
// True when it listens; false when there is no path, it could not be
// started or did not come up in time.
bool StartCompanion(CompanionLocator& locator, const std::function<bool()>& listening);

// Opens the download page in the desktop's browser (xdg-open).
bool OpenCompanionDownloadPage();
