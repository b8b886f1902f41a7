#pragma once
// The GPS IFD's tags as ExifTag values: libexif names them only as plain
// numbers, since they share their values with the interoperability tags.

#include <libexif/exif-tag.h>

constexpr ExifTag kTagGpsVersionId = static_cast<ExifTag>(EXIF_TAG_GPS_VERSION_ID);
constexpr ExifTag kTagGpsLatitudeRef = static_cast<ExifTag>(EXIF_TAG_GPS_LATITUDE_REF);
constexpr ExifTag kTagGpsLatitude = static_cast<ExifTag>(EXIF_TAG_GPS_LATITUDE);
constexpr ExifTag kTagGpsLongitudeRef = static_cast<ExifTag>(EXIF_TAG_GPS_LONGITUDE_REF);
constexpr ExifTag kTagGpsLongitude = static_cast<ExifTag>(EXIF_TAG_GPS_LONGITUDE);
constexpr ExifTag kTagGpsAltitudeRef = static_cast<ExifTag>(EXIF_TAG_GPS_ALTITUDE_REF);
constexpr ExifTag kTagGpsAltitude = static_cast<ExifTag>(EXIF_TAG_GPS_ALTITUDE);
