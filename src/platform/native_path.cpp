#include "platform/native_path.h"

std::size_t NameStart(std::string_view path) {
    std::size_t pos = path.rfind(kPathSeparator);
    return pos == std::string_view::npos ? 0 : pos + 1;
}

std::string_view FolderOfPath(std::string_view path) {
    std::size_t k = NameStart(path);
    return k == 0 ? std::string_view{} : path.substr(0, k - 1);
}

std::string_view NameOfPath(std::string_view path) {
    return path.substr(NameStart(path));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (joined.empty() || joined.back() != kPathSeparator) joined += kPathSeparator;
    joined += name;
    return joined;
}

bool IsPathInside(std::string_view path, std::string_view folder) {
    if (folder.empty() || path.size() <= folder.size() || path.substr(0, folder.size()) != folder)
        return false;
    return folder.back() == kPathSeparator || path[folder.size()] == kPathSeparator;
}

bool IsDriveRootPath(std::string_view path) {
#ifdef _WIN32
    return path.size() == 2 && path[1] == ':';
#else
    return path.empty();
#endif
}
