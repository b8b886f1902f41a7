#pragma once
// The catalogue side of closing the program, run on the UI thread after the
// main window was hidden: stop the workers, save a modified catalogue, wait
// for the workers to end.

#include <functional>

class Library;

// Sets the exit token when a worker runs; saves the catalogue to its file when
// library is modified (a failed save does not stop the shutdown); then,
// while a waited-for worker runs, calls pause (100 ms sleeps in the program)
// and tests again. Returns whether a save was attempted. Without a library
// there is nothing to save.
bool RunShutdownSequence(Library* library, const std::function<void()>& pause);

// Sleeps 100 ms; the pause of the real shutdown.
void ShutdownPause();
