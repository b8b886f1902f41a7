#include "import/position_range.h"

#include <cmath>

double PositionLimit(PositionPart part) {
    switch (part) {
        case PositionPart::Latitude:
            return kLatitudeLimit;
        case PositionPart::Longitude:
            return kLongitudeLimit;
        case PositionPart::Altitude:
            break;
    }
    return kAltitudeLimit;
}

bool InPositionRange(PositionPart part, double value) {
    return std::isfinite(value) && std::fabs(value) <= PositionLimit(part);
}

std::optional<PositionPart> PositionOutOfRange(double latitude, double longitude, double altitude) {
    if (!InPositionRange(PositionPart::Latitude, latitude)) return PositionPart::Latitude;
    if (!InPositionRange(PositionPart::Longitude, longitude)) return PositionPart::Longitude;
    if (!InPositionRange(PositionPart::Altitude, altitude)) return PositionPart::Altitude;
    return std::nullopt;
}
