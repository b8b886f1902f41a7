#pragma once
// Black bars in a thumbnail (a 4:3 thumbnail of a 16:9 photo, a portrait
// photo padded to landscape). The grid paints over them and frames the
// picture inside. Pure functions over the image; any thread.

class RasterImage;

// True when the thumbnail starts with a dark corner: scanning columns
// x = 1..9, each from y = 1 upward until its first pixel that is not dark
// (R+G+B > 19), more than 10 dark pixels are found. Coordinates are the
// image's own (y = 0 is the bottom row).
bool IsLetterboxed(const RasterImage& thumbnail);

struct LetterboxBars {
    bool vertical = false;  // bars at the left and right, else at the top and bottom
    int thickness = 0;      // screen pixels of each bar, 1..20
};

// The bars to cover: the dark run (R+G+B <= 29) from x = 0 along the middle
// row against the one from y = 0 along the middle column; the shorter run
// names the bars, one pixel wider than the run and at most 20 pixels.
LetterboxBars MeasureLetterboxBars(const RasterImage& thumbnail);
