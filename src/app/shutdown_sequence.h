#pragma once
// The catalogue side of closing the program, run on the UI thread after the
// main window was hidden: stop the workers, save a modified catalogue, wait
// for the workers to end.

#include <functional>

// Sets ExitRequested when a worker runs; saves the catalogue to its file when
// CatalogueModified is set (a failed save does not stop the shutdown); then,
// while a waited-for worker runs, calls pause (100 ms sleeps in the program)
// and tests again. Returns whether a save was attempted.
bool RunShutdownSequence(const std::function<void()>& pause);

// Sleeps 100 ms; the pause of the real shutdown.
void ShutdownPause();
