#pragma once
// Which volume each catalogued folder lives on, so that a folder on an
// unplugged USB disk, memory card or network share counts as offline rather
// than deleted. The mount points (other than the root) that held catalogued
// folders are kept in volumes.txt beside the catalogue file, one per line;
// the catalogue schema stays as it is.

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/photo_catalogue.h"
#include "platform/mount_table.h"

// A snapshot of the recorded volumes and of the mount table.
class VolumeCheck {
  public:
    // mounts is asked once, and only when volumes were recorded.
    explicit VolumeCheck(const MountTableSource& mounts);

    // True when folder lies on a recorded volume that is not mounted now (an
    // unmounted mount point is usually an empty folder, so the folder's own
    // presence says nothing). A folder on no recorded volume is never offline.
    bool IsOffline(std::string_view folder) const;

  private:
    std::vector<std::string> recorded_;
    MountTable mounts_;
};

// Records the mount points holding those of folders that exist now. The file
// is rewritten (through a temporary file) only when a volume is new.
void RememberFolderVolumes(const std::vector<std::string>& folders, const MountTableSource& mounts);

// A check on the mount points of the library.
VolumeCheck LibraryVolumeCheck(Library& library);

std::string VolumeFilePath();
