#pragma once
// Process-wide flags shared by the user-interface thread and the workers.

#include <atomic>

// The program is closing: every worker stops at its next check, without
// committing or saving.
inline std::atomic<bool> ExitRequested{false};
