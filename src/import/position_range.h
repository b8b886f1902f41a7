#pragma once
// The ranges a position typed for a photo must lie in: one rule for the
// properties dialog, the command-line edit and the track workflow.
//
// Threads: any (pure functions).

#include <optional>

enum class PositionPart { Latitude, Longitude, Altitude };

// Degrees either side of 0.
inline constexpr double kLatitudeLimit = 90;
inline constexpr double kLongitudeLimit = 180;
// Whole metres above or below sea level.
inline constexpr double kAltitudeLimit = 10000;

// The limit of a part: values from -limit to +limit are accepted.
double PositionLimit(PositionPart part);

// Whether value (degrees, or metres for the altitude) lies within its
// part's range, ends included; a value that is not a finite number never does.
bool InPositionRange(PositionPart part, double value);

// The first of latitude, longitude and altitude that is out of its range;
// nullopt when all three are in range.
std::optional<PositionPart> PositionOutOfRange(double latitude, double longitude, double altitude);
