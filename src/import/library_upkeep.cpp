#include "import/library_upkeep.h"

void UpkeepProgress::Report(UpkeepChange change, const std::string& path) {
    switch (change) {
        case UpkeepChange::Refreshed:
            ++refreshed;
            break;
        case UpkeepChange::PhotoRemoved:
            ++photosRemoved;
            break;
        case UpkeepChange::FolderRemoved:
            ++foldersRemoved;
            break;
        case UpkeepChange::FolderOffline:
            ++foldersOffline;
            break;
        case UpkeepChange::NewFileSeen: {
            std::lock_guard lock(newFilesMutex_);
            newFilePaths_.push_back(path);
            ++newFiles;
            break;
        }
    }
    if (onChange) onChange(change, path);
}

std::vector<std::string> UpkeepProgress::NewFilePaths() const {
    std::lock_guard lock(newFilesMutex_);
    return newFilePaths_;
}
