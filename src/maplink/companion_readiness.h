#pragma once
// The two checks that decide whether a command may use the companion map
// application: the interactive one (pick a position, positions from tracks,
// show on the map) and the region-lookup one. Both ask the user through a
// question callback (the window words the question and answers 确定 or 取消)
// and may open the download page or start the companion.
//
// Threads: the caller's (the UI thread in the program).

#include <functional>

#include "maplink/companion_locator.h"

enum class ReadinessPurpose { Interactive, RegionLookup };

// What the user is asked; the window words it for the purpose.
enum class ReadinessQuestion {
    OpenFailed,    // the companion's version cannot be read: start it by hand
    TooOld,        // the installed companion is too old: open the download page?
    NotInstalled,  // no companion: open the download page?
    NotOpened,     // the companion is not running: it will be started
};

struct CompanionReadinessActions {
    std::function<bool()> windowExists;
    // Asks the user; true for 确定, false for 取消.
    std::function<bool(ReadinessQuestion question)> ask;
    std::function<void()> openDownloadPage;
    std::function<void()> startCompanion;
};

// True when the command may go on. Ready does not promise a window: requests
// without one simply return 0.
bool CheckCompanionReady(ReadinessPurpose purpose, CompanionLocator& locator,
                         const CompanionReadinessActions& actions);
