#pragma once
// EXIF orientation: the text the catalogue keeps for each value, and how a
// picture stored in that orientation is shown upright. The thumbnails and
// the viewer both turn pictures by this one mapping.

#include <string>
#include <string_view>

// Flip left to right first (when mirrored), then turn clockwise.
struct OrientationTransform {
    bool mirrored = false;
    int quarterTurns = 0;  // 0..3

    bool operator==(const OrientationTransform&) const = default;
};

// strOrientation for an EXIF Orientation value: libexif's English names
// "Top-left" (1) ... "Left-bottom" (8), which catalogues have always held,
// "Unknown value 0" for 0 and the number itself above 8.
std::string OrientationText(unsigned value);

// The transform that shows a picture of this strOrientation upright:
// 1 "Top-left" as it is, 2 "Top-right" mirrored, 3 "Bottom-right" half a
// turn, 4 "Bottom-left" mirrored and half a turn, 5 "Left-top" mirrored and
// three quarters, 6 "Right-top" a quarter, 7 "Right-bottom" mirrored and a
// quarter, 8 "Left-bottom" three quarters. Anything else: as it is.
OrientationTransform OrientationFromText(std::string_view text);

// first, then second, as one transform.
OrientationTransform Then(OrientationTransform first, OrientationTransform second);
