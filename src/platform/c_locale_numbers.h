#pragma once
// Numbers as text in the C locale's form ('.' as decimal point, no digit
// grouping), whatever locale the process runs under. The window adopts the
// user's locale (a German one prints 2.5 as "2,5"), yet SQL statements, the
// catalogue's columns, command-line arguments and the texts the dialogs show
// and read back must not change with it.

#include <cstddef>
#include <string>
#include <string_view>

// printf "%.*f" in the C locale: FixedText(2.5, 6) is "2.500000".
std::string FixedText(double value, int decimals);

// Reads a number at the start of text the way strtod and strtof read it in
// the C locale: leading blanks, an optional sign, decimal digits with an
// optional fraction and exponent, or "inf" / "nan". Returns how many
// characters it used, 0 (value untouched) when text does not start with a
// number. Hexadecimal forms are not numbers here.
std::size_t ReadDouble(std::string_view text, double& value);
std::size_t ReadFloat(std::string_view text, float& value);

// The number at the start of text, 0 when there is none (strtod's and
// strtof's results).
double LeadingDouble(std::string_view text);
float LeadingFloat(std::string_view text);
