// The folder grouping: one node per drive (mount point), the catalogued
// folders below it as a hierarchy, the photos inside their folder's node.

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalogue/folder_stamps.h"
#include "catalogue/photo_catalogue.h"
#include "platform/native_path.h"
#include "tree/keyed_rows.h"
#include "tree/tree_builders.h"

namespace {

// The folder list ordered by increasing length; among equal lengths the
// folder added later comes first.
std::vector<std::string> FoldersShortestFirst(Library& library) {
    std::vector<std::string> folders = ListedFolders(library);
    std::reverse(folders.begin(), folders.end());
    std::stable_sort(
        folders.begin(), folders.end(),
        [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
    return folders;
}

class FolderNodes {
  public:
    FolderNodes(CategoryTree& tree, const MountTable& mounts) : tree_(tree), mounts_(mounts) {}

    // One top-level node per mount point holding a listed folder, in path order.
    void AddDrives(const std::vector<std::string>& folders) {
        std::vector<const MountPoint*> drives;
        for (const std::string& folder : folders)
            if (const MountPoint* mount = mounts_.Holding(folder)) drives.push_back(mount);
        std::sort(drives.begin(), drives.end(),
                  [](const MountPoint* a, const MountPoint* b) { return a->path < b->path; });
        drives.erase(std::unique(drives.begin(), drives.end()), drives.end());
        for (const MountPoint* drive : drives) {
            NodeIndex node = tree_.AddGroup(kRootNode, DriveLabel(*drive));
            tree_.Node(node).folderPath = drive->path;
            byPath_.emplace(drive->path, node);
        }
    }

    // A folder goes under the node of its longest listed ancestor on the same
    // drive (an ancestor being a prefix that ends at a separator), else under
    // its drive. Photos directly in a mount point go into the drive's node.
    void AddFolder(const std::string& folder) {
        const MountPoint* drive = mounts_.Holding(folder);
        if (!drive) return;
        NodeIndex driveNode = byPath_.at(drive->path);
        if (folder == drive->path || IsDriveRootPath(folder)) {
            byPath_.emplace(folder, driveNode);
            return;
        }
        if (folder.back() == kPathSeparator) return;
        NodeIndex parent = driveNode;
        for (std::string_view ancestor = FolderOfPath(folder); IsPathInside(ancestor, drive->path);
             ancestor = FolderOfPath(ancestor)) {
            auto found = byPath_.find(std::string(ancestor));
            if (found != byPath_.end()) {
                parent = found->second;
                break;
            }
        }
        NodeIndex node = tree_.AddGroup(parent, std::string(NameOfPath(folder)));
        tree_.Node(node).folderPath = folder;
        byPath_.emplace(folder, node);
    }

    std::optional<NodeIndex> NodeOf(const std::string& folder) const {
        auto found = byPath_.find(folder);
        if (found == byPath_.end()) return std::nullopt;
        return found->second;
    }

  private:
    CategoryTree& tree_;
    const MountTable& mounts_;
    std::unordered_map<std::string, NodeIndex> byPath_;
};

}  // namespace

std::unique_ptr<CategoryTree> BuildFolderTree(Library& library, const MountTable& mounts) {
    CatalogueSession session(library);
    if (!session.ok()) return nullptr;
    auto tree = std::make_unique<CategoryTree>();
    FolderNodes nodes(*tree, mounts);
    std::vector<std::string> folders = FoldersShortestFirst(library);
    nodes.AddDrives(folders);
    for (const std::string& folder : folders) nodes.AddFolder(folder);

    // Rows come grouped by folder, so the folder's node is looked up once per
    // folder. A photo whose folder has no node (not in the folder list, or on
    // no known drive) is left out; the other folders still get their photos.
    std::size_t placed = 0;
    std::int64_t previousId = 0;
    std::string currentPath;
    std::optional<NodeIndex> current;
    // Sorted by folder (descending) and shot time (newest first).
    KeyedRows rows;
    if (!rows.Read(session, GroupingRows::Folders)) return nullptr;
    rows.ForEachSorted([&](const DatedRow& row) {
        if (placed != 0 && row.id == previousId) return;
        if (placed == 0 || row.key != currentPath) {
            currentPath.assign(row.key);
            current = nodes.NodeOf(currentPath);
        }
        ++placed;
        previousId = row.id;
        if (current) tree->AddPhoto(*current, PhotoRef{row.id, false}, row.name);
    });
    if (placed == 0) return NoPhotosTree();
    return tree;
}
