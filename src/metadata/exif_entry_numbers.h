#pragma once
// The numbers of EXIF entries, read from the entries themselves rather than
// from libexif's display texts: those follow the process locale ("f/2,8"
// under a German one) and translate their words. Each value keeps the
// precision its display text shows, so that what the catalogue stores is the
// same under every locale as it always was under the C locale. This folder
// only (includes libexif).

#include <libexif/exif-data.h>

#include <cstdint>
#include <optional>
#include <vector>

// The entry's values in order: integers as they are, rationals rounded to
// the decimals libexif shows for their denominator (none for 1, one for 2
// to 12, two for 13 to 120, ...). A rational with denominator 0 ends the
// list with its numerator, as its text "n/0" cannot be read past the slash.
// Empty for an entry without numbers (text, undefined bytes, a size that
// does not match its count).
std::vector<double> ShownNumbers(const ExifEntry* entry, ExifByteOrder order);

// The entry's one unsigned rational (FNumber, ExposureTime, FocalLength);
// none when the entry holds anything else.
std::optional<ExifRational> SingleRational(const ExifEntry* entry, ExifByteOrder order);

// The entry's one SHORT (Orientation); none when it holds anything else.
std::optional<std::uint16_t> SingleShort(const ExifEntry* entry, ExifByteOrder order);

// An ASCII entry's first byte (a GPS reference such as 'N'); 0 when the
// entry is no ASCII text or is empty.
char FirstAsciiByte(const ExifEntry* entry);

// Readings of one rational as the display shows it: "f/2.8", "1/125 sec.",
// "50.0 mm". A zero denominator gives 0 for the f-number and the numerator
// for the others.
float FNumberOf(ExifRational value);
float ExposureSecondsOf(ExifRational value);
std::int32_t FocalMillimetresOf(ExifRational value);

// Whole units of a shown number, toward zero, within the 32-bit range.
std::int32_t WholeOf(double value);

// (minutes / 60 + degrees + seconds / 3600) * sign in single precision.
float CoordinateOf(const std::vector<double>& degreesMinutesSeconds, int sign);
