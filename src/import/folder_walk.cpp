#include "import/folder_walk.h"

#include <filesystem>
#include <functional>

#include "import/import_state.h"
#include "import/jpeg_name.h"
#include "platform/native_path.h"

namespace {

enum class EntryKind { File, Folder, Other };

namespace fs = std::filesystem;

// The entry's own type comes with the folder listing where the file system
// gives it; only a link is followed, with one more look-up.
EntryKind KindOf(const fs::directory_entry& entry) {
    std::error_code error;
    const fs::file_status own = entry.symlink_status(error);
    if (fs::is_directory(own)) return EntryKind::Folder;
    if (fs::is_regular_file(own)) return EntryKind::File;
    // A link to a file is imported like the file; a link to a folder is not walked.
    if (fs::is_symlink(own) && fs::is_regular_file(fs::status(entry.path(), error)))
        return EntryKind::File;
    return EntryKind::Other;
}

// Calls onFile for each file under folder, depth first. Returns false when
// stopped.
bool Walk(const std::string& folder, const std::function<bool()>& stop,
          const std::function<void(const std::string&)>& onFile) {
    if (stop()) return false;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    // An unreadable folder, or one that fails part way, ends its listing quietly.
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        if (stop()) return false;
        const fs::directory_entry& entry = *entries;
        const std::string path = JoinPath(folder, entry.path().filename().native());
        const EntryKind kind = KindOf(entry);
        if (kind == EntryKind::Folder) {
            if (!Walk(path, stop, onFile)) return false;
        } else if (kind == EntryKind::File) {
            onFile(path);
        }
    }
    return true;
}

}  // namespace

int CountJpegFiles(const std::string& folder, const ImportProgress& progress,
                   std::atomic<int>* runningTotal) {
    int count = 0;
    Walk(
        folder, [&progress] { return progress.countStop.StopRequested(); },
        [&](const std::string& path) {
            if (!IsJpegName(path)) return;
            ++count;
            if (runningTotal) ++*runningTotal;
        });
    return count;
}

void ImportFolderTree(const std::string& folder, OrderedImport& import) {
    Walk(
        folder, [&import] { return import.Stopped(); },
        [&import](const std::string& path) { import.Add(path); });
}
