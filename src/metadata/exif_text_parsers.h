#pragma once
// The parser of the shot time's text (an ASCII entry, taken as it is). It
// takes whatever text is there (a cut-off text still yields its leading
// numbers).

#include <cstdint>
#include <string>

// DateTimeOriginal "YYYY:MM:DD hh:mm:ss" (or with dashes in the date) read
// as local wall-clock time -> seconds since 1970-01-01 00:00 UTC, low 32
// bits. 0 for an invalid date or one the local-time conversion cannot
// represent (before 1970, after the year 3000).
std::int32_t ShotTimeFromText(const std::string& text);
