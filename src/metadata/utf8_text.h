#pragma once
// Whether bytes have the form of UTF-8 (each lead byte followed by its
// continuation bytes): texts from other programs' tags are taken as UTF-8
// only when they have.

#include <string_view>

bool IsUtf8(std::string_view text);
