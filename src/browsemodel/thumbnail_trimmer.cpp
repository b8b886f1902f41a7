#include "browsemodel/thumbnail_trimmer.h"

#include "browsemodel/photo_list.h"

#include <algorithm>

void TrimThumbnails(PhotoList& list, int scrollY, int columns, int cellSize, int screenCount) {
    if (list.LoadedThumbnails() <= kTrimThreshold) return;
    const long long count = list.Count();
    // An estimate of the first visible index from the scroll position.
    const long long documentHeight = (count / columns + 1) * static_cast<long long>(cellSize);
    const long long anchor = count * scrollY / documentHeight;
    const long long keepBelow = std::max<long long>(kKeepBelow, screenCount + columns);
    const int current = list.currentIndex;
    auto release = [&](long long from, long long to) {
        for (long long i = from; i < to; ++i) {
            if (i > current - kKeepAroundCurrent && i < current + kKeepAroundCurrent) continue;
            list.ReleaseThumbnail(static_cast<int>(i));
        }
    };
    if (anchor > kKeepAbove) release(0, anchor - kKeepAbove);
    // Everything from anchor + keepBelow on is released whenever there is such an
    // entry. (Comparing the number loaded with the anchor instead would keep
    // thumbnails below a deep anchor forever, and a user jumping about a
    // very large list could pile them up without bound.)
    if (count - anchor > keepBelow) release(anchor + keepBelow, count);
}
