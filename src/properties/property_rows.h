#pragma once
// The 25 rows of the properties grid: their fixed order, labels, icons,
// which rows are grey (read-only information), and the value texts shown
// for a photo record.

#include <QString>
#include <array>
#include <cstdint>

#include "record/photo_record.h"

// Row indices; the editing code addresses rows by these numbers.
namespace PropertyRow {
enum : int {
    Name = 0,
    Subject,
    Keywords,
    Author,
    Comment,
    Folder,
    Size,
    Created,
    Modified,
    Width,
    Height,
    XResolution,
    YResolution,
    GpsGroup,
    Longitude,
    Latitude,
    Altitude,
    CameraGroup,
    ShotTime,
    Make,
    Model,
    Exposure,
    Aperture,
    Iso,
    FocalLength,
    Count
};
}  // namespace PropertyRow

using PropertyValues = std::array<QString, PropertyRow::Count>;

enum class PropertyIcon { ImageGroup, GpsGroup, CameraGroup, Item };

QString PropertyRowLabel(int row);
PropertyIcon PropertyRowIcon(int row);
// Rows 5 to 13, 17 and 21 to 24.
bool IsGreyPropertyRow(int row);

// Every row's value text for record (text fields are UTF-8).
PropertyValues FormatPropertyValues(const PhotoRecord& record);

// A stored time (unsigned seconds since 1970 UTC) as local time, padded:
// "2014-03-03 09:05:07" for the shot time (which the editor parses back) and
// for the file's creation and change times alike.
QString FormatPropertyTime(std::int32_t stored);

// "1/250 s" below about 2/3 s; longer exposures in seconds ("0.8 s", "2 s",
// "1.3 s"); empty for 0 and for values that are no exposure.
QString FormatExposure(float seconds);
