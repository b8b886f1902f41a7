#pragma once
// Keeps the decoded thumbnails of a large list bounded while the user
// scrolls. UI thread (it releases thumbnails of the list).

class PhotoList;

inline constexpr int kTrimThreshold = 1000;  // trimming starts above this many loaded
inline constexpr int kKeepAbove = 300;       // entries kept before the first visible one
inline constexpr int kKeepBelow = 400;       // entries kept from the first visible one on
inline constexpr int kKeepAroundCurrent = 40;

// Once more than 1000 thumbnails are loaded, releases those of the entries
// more than 300 before or 400 after the estimated first visible entry,
// except the entries within 39 of the current photo, which the viewer and
// the next click are likely to need. scrollY is the vertical scroll offset;
// screenCount is how many entries one screen shows: on a screen holding
// more than 400 (small icons on a very large display) a screen and a row are
// kept after the first visible entry, so that painting never releases what
// it is about to draw.
void TrimThumbnails(PhotoList& list, int scrollY, int columns, int cellSize, int screenCount);
