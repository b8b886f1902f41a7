#pragma once
// State shared by the location workers (region lookup, track application)
// and the result dialogs that show their progress.
//
// Threads: atomics, written by a worker or the UI thread and read anywhere.

#include <atomic>
#include <functional>

// Set by a result dialog's 取消; cleared when a result dialog is created.
// The workers stop before their next photo.
inline std::atomic<bool> cancelLocationWork{false};

// The counters a result dialog shows.
struct LocationCounters {
    int done = 0;
    int total = 0;
    int failed = 0;
};

// Hands the counters to the result dialog and returns once it has taken them
// (a synchronous send, so the dialog redraws before the worker goes on).
using LocationReport = std::function<void(const LocationCounters&)>;
