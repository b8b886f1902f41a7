#include "platform/data_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/data_folder.h"
#include "platform/native_path.h"

DataFolderLock::DataFolderLock(const std::string& folder) {
    if (!EnsureFolder(folder)) return;
    std::string path = JoinPath(folder, ".lock");
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        busy_ = errno == EWOULDBLOCK;
        ::close(fd_);
        fd_ = -1;
    }
}

DataFolderLock::~DataFolderLock() {
    if (fd_ >= 0) ::close(fd_);
}
