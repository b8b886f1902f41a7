#include "import/folder_walk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <functional>

#include "import/import_state.h"
#include "import/jpeg_name.h"
#include "platform/native_path.h"

namespace {

enum class EntryKind { File, Folder, Other };

EntryKind KindOf(const std::string& path, unsigned char type) {
    if (type == DT_REG) return EntryKind::File;
    if (type == DT_DIR) return EntryKind::Folder;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return EntryKind::Other;
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    if (S_ISREG(st.st_mode)) return EntryKind::File;
    // A link to a file is imported like the file; a link to a folder is not walked.
    if (S_ISLNK(st.st_mode) && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return EntryKind::File;
    return EntryKind::Other;
}

// Calls onFile for each file under folder, depth first. Returns false when
// stopped.
bool Walk(const std::string& folder, const std::function<bool()>& stop,
          const std::function<void(const std::string&)>& onFile) {
    if (stop()) return false;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return true;
    bool completed = true;
    while (dirent* entry = readdir(dir)) {
        if (stop()) {
            completed = false;
            break;
        }
        std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        std::string path = JoinPath(folder, name);
        EntryKind kind = KindOf(path, entry->d_type);
        if (kind == EntryKind::Folder) {
            if (!Walk(path, stop, onFile)) {
                completed = false;
                break;
            }
        } else if (kind == EntryKind::File) {
            onFile(path);
        }
    }
    closedir(dir);
    return completed;
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
