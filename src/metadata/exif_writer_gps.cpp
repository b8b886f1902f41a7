// The position setter of the EXIF writer: standard GPS types (RATIONAL
// degrees, minutes and hundredths of seconds with N/S and E/W references,
// RATIONAL metres with the altitude reference).

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "metadata/exif_document.h"
#include "metadata/exif_entry_edit.h"
#include "metadata/exif_gps_tags.h"
#include "metadata/exif_writer.h"
#include "metadata/metadata_reader.h"

namespace {

constexpr unsigned char kGpsVersion[4] = {2, 2, 0, 0};

struct Rational {
    std::uint32_t numerator;
    std::uint32_t denominator;
};

void PutLittleEndian32(unsigned char* p, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

// The GPS IFD's entry for tag with the given format and count, created or
// grown as needed; its bytes are zero afterwards. Null when memory runs out.
ExifEntry* GpsEntry(MetadataReader& reader, ExifTag tag, ExifFormat format,
                    unsigned long components) {
    ExifData* data = reader.Exif()->Data();
    const auto size = static_cast<unsigned int>(exif_format_get_size(format) * components);
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_GPS], tag);
    if (!entry) {
        entry = CreateEntry(data, EXIF_IFD_GPS, tag, format, size, components);
    } else if (entry->size != size) {
        if (!ResizeEntry(entry, size)) return nullptr;
    }
    if (!entry) return nullptr;
    entry->format = format;
    entry->components = components;
    std::memset(entry->data, 0, size);
    MarkEdited(reader, entry);
    return entry;
}

bool SetRationals(MetadataReader& reader, ExifTag tag, const Rational* values, int count) {
    ExifEntry* entry = GpsEntry(reader, tag, EXIF_FORMAT_RATIONAL, count);
    if (!entry) return false;
    for (int i = 0; i < count; ++i) {
        PutLittleEndian32(entry->data + 8 * i, values[i].numerator);
        PutLittleEndian32(entry->data + 8 * i + 4, values[i].denominator);
    }
    return true;
}

// Whole degrees, whole minutes and hundredths of seconds, computed in
// single precision with truncation.
bool SetCoordinate(MetadataReader& reader, ExifTag refTag, ExifTag valueTag, float degrees,
                   char positive, char negative) {
    ExifEntry* ref = GpsEntry(reader, refTag, EXIF_FORMAT_ASCII, 2);
    if (!ref) return false;
    ref->data[0] = static_cast<unsigned char>(degrees >= 0 ? positive : negative);
    const float magnitude = std::fabs(degrees);
    const auto whole = static_cast<std::uint32_t>(magnitude);
    const float minutesExact = (magnitude - static_cast<float>(whole)) * 60;
    const auto minutes = static_cast<std::uint32_t>(minutesExact);
    const auto hundredths =
        static_cast<std::uint32_t>((minutesExact - static_cast<float>(minutes)) * 6000);
    const Rational dms[3] = {{whole, 1}, {minutes, 1}, {hundredths, 100}};
    return SetRationals(reader, valueTag, dms, 3);
}

}  // namespace

bool SetExifPosition(MetadataReader& reader, float latitude, float longitude,
                     std::int32_t altitude) {
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::fabs(latitude) > 90 ||
        std::fabs(longitude) > 180)
        return false;
    if (!PrepareExifForEdit(reader)) return false;
    if (reader.Exif()->Data()->ifd[EXIF_IFD_GPS]->count == 0) {
        ExifEntry* version = GpsEntry(reader, kTagGpsVersionId, EXIF_FORMAT_BYTE, 4);
        if (!version) return false;
        std::memcpy(version->data, kGpsVersion, sizeof kGpsVersion);
    }
    if (!SetCoordinate(reader, kTagGpsLatitudeRef, kTagGpsLatitude, latitude, 'N', 'S') ||
        !SetCoordinate(reader, kTagGpsLongitudeRef, kTagGpsLongitude, longitude, 'E', 'W'))
        return false;
    ExifEntry* altitudeRef = GpsEntry(reader, kTagGpsAltitudeRef, EXIF_FORMAT_BYTE, 1);
    if (!altitudeRef) return false;
    altitudeRef->data[0] = altitude < 0 ? 1 : 0;
    const Rational metres[1] = {
        {static_cast<std::uint32_t>(std::llabs(static_cast<long long>(altitude))), 1}};
    if (!SetRationals(reader, kTagGpsAltitude, metres, 1)) return false;
    PhotoRecord& record = reader.Record();
    record.fGPSLatitude = latitude;
    record.fGPSLongitude = longitude;
    record.nGPSAlititude = altitude;
    reader.CaptionChanges().position = CaptionEdit::Position{latitude, longitude};
    return true;
}
