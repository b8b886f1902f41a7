#include "metadata/orientation.h"

#include <array>

namespace {

struct Orientation {
    const char* name;
    OrientationTransform upright;
};

// Indexed by EXIF value - 1.
constexpr std::array<Orientation, 8> kOrientations{{
    {"Top-left", {false, 0}},
    {"Top-right", {true, 0}},
    {"Bottom-right", {false, 2}},
    {"Bottom-left", {true, 2}},
    {"Left-top", {true, 3}},
    {"Right-top", {false, 1}},
    {"Right-bottom", {true, 1}},
    {"Left-bottom", {false, 3}},
}};

int Normal(int quarterTurns) {
    return ((quarterTurns % 4) + 4) % 4;
}

}  // namespace

std::string OrientationText(unsigned value) {
    if (value == 0) return "Unknown value 0";
    if (value <= kOrientations.size()) return kOrientations[value - 1].name;
    return std::to_string(value);
}

OrientationTransform OrientationFromText(std::string_view text) {
    for (const Orientation& o : kOrientations)
        if (text == o.name) return o.upright;
    return {};
}

// A flip reverses the sense of the turns made before it.
OrientationTransform Then(OrientationTransform first, OrientationTransform second) {
    const int turns = second.mirrored ? second.quarterTurns - first.quarterTurns
                                      : second.quarterTurns + first.quarterTurns;
    return {first.mirrored != second.mirrored, Normal(turns)};
}
