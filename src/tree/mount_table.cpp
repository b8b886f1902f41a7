#include "tree/mount_table.h"

#include "tree/tree_labels.h"

std::string DriveLabel(const MountPoint& mount) {
    return (mount.label.empty() ? std::string(kLocalDiskLabel) : mount.label) + "(" + mount.path +
           ")";
}
