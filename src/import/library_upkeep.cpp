#include "import/library_upkeep.h"

UpkeepProgress& CurrentUpkeepProgress() {
    static UpkeepProgress progress;
    return progress;
}

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
    }
    if (onChange) onChange(change, path);
}
