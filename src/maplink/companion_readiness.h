#pragma once
// The two checks that decide whether a command may use the companion map
// application: the interactive one (pick a position, positions from tracks,
// show on the map) and the region-lookup one. Both ask the user through a
// question callback (the UI shows a "提示" message box with 确定/取消) and
// may open the download page or start the companion.
//
// Threads: the caller's (the UI thread in the program).

#include <functional>
#include <string>

#include "maplink/companion_locator.h"

enum class ReadinessPurpose { Interactive, RegionLookup };

struct CompanionReadinessActions {
    std::function<bool()> windowExists;
    // Shows text; true for 确定, false for 取消.
    std::function<bool(const std::string& text)> ask;
    std::function<void()> openDownloadPage;
    std::function<void()> startCompanion;
};

// True when the command may go on. Ready does not promise a window: requests
// without one simply return 0.
bool CheckCompanionReady(ReadinessPurpose purpose, CompanionLocator& locator,
                         const CompanionReadinessActions& actions);
