#pragma once
// The scheduling priority of the calling thread.

// Lowers the calling thread's priority below that of the process's other
// threads (a nice value 5 higher), so that background work on every core
// leaves the UI thread a core whenever it has something to paint. Threads
// it starts afterwards inherit the lower priority. False when the system
// refuses; the thread then runs on as it was.
bool LowerThisThreadPriority();
