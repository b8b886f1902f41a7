#pragma once
// Finding a catalogued photo by the path of its file.

#include <cstdint>
#include <optional>
#include <string>

#include "record/photo_ref.h"

class Library;

// The photo whose strFullPath is fullPath (UTF-8): the catalogued photo,
// else the duplicate; nullopt when neither has it.
std::optional<PhotoRef> FindPhotoByPath(Library& library, const std::string& fullPath);
