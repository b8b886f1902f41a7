#pragma once
// Parsers for the value texts that libexif's formatter produces. They take
// whatever text is there (a cut-off text still yields its leading numbers).

#include <cstdint>
#include <string>

// DateTimeOriginal "YYYY:MM:DD hh:mm:ss" (or with dashes in the date) read
// as local wall-clock time -> seconds since 1970-01-01 00:00 UTC, low 32
// bits. 0 for an invalid date or one the local-time conversion cannot
// represent (before 1970, after the year 3000).
std::int32_t ShotTimeFromText(const std::string& text);

// "d, m, s" -> (m / 60 + d + s / 3600) * sign in single precision.
float CoordinateFromText(const std::string& text, int sign);

// "a/b sec." -> a / b; a plain "a sec." gives a.
float ExposureFromText(const std::string& text);

// The leading integer of text, 0 when there is none.
std::int32_t IntegerFromText(const std::string& text);
