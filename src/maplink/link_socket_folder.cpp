#include "maplink/link_socket_folder.h"

#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

bool IsDirectory(const char* path) {
    struct stat st {};
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

}  // namespace

std::optional<std::string> LinkSocketFolder() {
    std::string folder;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && IsDirectory(runtime)) {
        folder = std::string(runtime) + "/darazoz-link";
    } else {
        folder = "/tmp/darazoz-link-" + std::to_string(geteuid());
    }
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
    if (!IsPrivateFolder(folder)) return std::nullopt;
    return folder;
}

std::optional<std::string> LinkSocketPath(const std::string& className) {
    if (className.empty() || className.find('/') != std::string::npos || className == "." ||
        className == "..") {
        return std::nullopt;
    }
    std::optional<std::string> folder = LinkSocketFolder();
    if (!folder) return std::nullopt;
    std::string path = *folder + "/" + className;
    if (path.size() >= sizeof(sockaddr_un{}.sun_path)) return std::nullopt;
    return path;
}
