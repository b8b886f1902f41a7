#pragma once
// Finding a catalogued photo by the path of its file.

#include <cstdint>
#include <optional>
#include <string>

#include "record/photo_ref.h"

// The photo whose strFullPath is fullPath (UTF-8): the catalogued photo,
// else the duplicate; nullopt when neither has it.
std::optional<PhotoRef> FindPhotoByPath(const std::string& fullPath);
