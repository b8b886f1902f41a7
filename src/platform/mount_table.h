#pragma once
// The mount points of this machine: on POSIX every mount point, removable
// and network ones included. The folder tree shows them as its "drives"; the
// library upkeep tells an unplugged volume from a deleted folder with them.
// A folder belongs to the mount point that is its longest path prefix.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct MountPoint {
    std::string
        path;  // as the folder paths spell it, without trailing separator ("/" itself excepted)
    std::string label;  // file-system label; empty when it has none
};

class MountTable {
  public:
    MountTable() = default;
    explicit MountTable(std::vector<MountPoint> mounts);

    // The mounts of this process (/proc/self/mountinfo) with the labels of
    // /dev/disk/by-label. Empty when the mount table cannot be read.
    static MountTable FromSystem();

    // Parses mountinfo text; labelsByDevice maps a device path (as the
    // mount source names it after resolving links) to its label. A mount
    // point listed twice keeps its last (topmost) entry.
    static MountTable FromMountInfo(
        std::string_view mountInfo,
        const std::unordered_map<std::string, std::string>& labelsByDevice);

    // The mount point holding a folder, or null. A folder stored for photos
    // directly in the root ("" on POSIX) belongs to the root mount.
    const MountPoint* Holding(std::string_view folder) const&;
    const MountPoint* Holding(std::string_view folder) const&& = delete;  // would dangle

    // True when path is itself a mount point of the table.
    bool IsMountPoint(std::string_view path) const;

    const std::vector<MountPoint>& Mounts() const { return mounts_; }

  private:
    std::vector<MountPoint> mounts_;
};
