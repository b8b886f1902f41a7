#pragma once

#include <string>
#include <string_view>

// True when the name ends in "jpg" or "jpeg", ignoring ASCII case. No dot is
// needed: "notajpg" passes, "photo.jpe" does not.
bool IsJpegName(std::string_view path);

// The file name a photo gets when the user renames it (the properties
// dialog, darazoz-cli edit --title): the typed text up to its first "."
// (all of it when there is none) followed by ".JPG".
std::string RenamedPhotoFileName(std::string_view typed);
