#pragma once
// Finding a catalogued photo by the path of its file.

#include <cstdint>
#include <optional>
#include <string>

struct PhotoAtPath {
    std::int64_t id = 0;
    bool duplicate = false;  // the row is in tReJpgMsg
};

// The photo whose strFullPath is fullPath (UTF-8): the row of tJpgMsg, else
// the one of tReJpgMsg; nullopt when neither has it.
std::optional<PhotoAtPath> FindPhotoByPath(const std::string& fullPath);
