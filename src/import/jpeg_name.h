#pragma once

#include <string_view>

// True when the name ends in "jpg" or "jpeg", ignoring ASCII case. No dot is
// needed: "notajpg" passes, "photo.jpe" does not.
bool IsJpegName(std::string_view path);
