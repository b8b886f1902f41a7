#include "platform/heap_growth.h"

#include <cstdlib>  // defines __GLIBC__ with the C library's other names

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void GrowHeapInLargeSteps() {
#if defined(__GLIBC__)
    // A thread's arena then maps its whole 64 MiB heap at once, and the main
    // heap extends by this much beyond each request.
    mallopt(M_TOP_PAD, 64 << 20);
#endif
}
