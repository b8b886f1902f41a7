#pragma once
// The "drives" of the folder tree: every mount point (platform/mount_table.h)
// is one, so that no catalogued folder loses its node.

#include <string>

#include "platform/mount_table.h"

// The text of a drive node: "<label>(<mount point>)", or
// "本地磁盘(<mount point>)" when the file system has no label.
std::string DriveLabel(const MountPoint& mount);
