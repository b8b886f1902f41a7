#pragma once
// The program's exit token, shared by the user-interface thread and the
// workers: the parent of every job's stop token.

#include "platform/stop_token.h"

// The program is closing: every worker stops at its next check, without
// committing or saving.
inline StopToken ExitToken;
