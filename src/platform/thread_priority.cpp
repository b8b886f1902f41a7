#include "platform/thread_priority.h"

#include <sys/resource.h>

#include <cerrno>

namespace {

constexpr int kBackgroundNiceSteps = 5;

}  // namespace

bool LowerThisThreadPriority() {
    // On Linux the nice value belongs to the thread: PRIO_PROCESS with 0 is
    // the calling thread only, and new threads start with their creator's.
    errno = 0;
    const int current = getpriority(PRIO_PROCESS, 0);
    if (current == -1 && errno != 0) return false;
    return setpriority(PRIO_PROCESS, 0, current + kBackgroundNiceSteps) == 0;
}
