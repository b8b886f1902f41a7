#include "catalogue/folder_volumes.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "catalogue/library_internals.h"
#include "platform/data_folder.h"
#include "platform/file_status.h"
#include "platform/native_path.h"

namespace {

constexpr char kVolumeFile[] = "volumes.txt";

std::vector<std::string> ReadRecordedVolumes() {
    std::vector<std::string> volumes;
    std::ifstream file(VolumeFilePath());
    std::string line;
    while (std::getline(file, line))
        if (!line.empty()) volumes.push_back(line);
    return volumes;
}

bool WriteRecordedVolumes(const std::vector<std::string>& volumes) {
    const std::string target = VolumeFilePath();
    const std::string temporary = target + ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        for (const std::string& volume : volumes) file << volume << '\n';
        file.flush();
        if (!file) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    return std::rename(temporary.c_str(), target.c_str()) == 0;
}

bool IsRootMount(const MountPoint& mount) {
    return mount.path.size() == 1 && mount.path[0] == kPathSeparator;
}

}  // namespace

std::string VolumeFilePath() {
    return JoinPath(DataFolder(), kVolumeFile);
}

VolumeCheck::VolumeCheck(const MountTableSource& mounts) : recorded_(ReadRecordedVolumes()) {
    if (!recorded_.empty()) mounts_ = mounts();
}

bool VolumeCheck::IsOffline(std::string_view folder) const {
    const std::string* volume = nullptr;
    for (const std::string& candidate : recorded_) {
        bool holds = folder == candidate || IsPathInside(folder, candidate);
        if (holds && (!volume || candidate.size() > volume->size())) volume = &candidate;
    }
    // A mount table that cannot be read shows no mount point at all: the
    // folder then counts as offline, which keeps its rows.
    return volume && !mounts_.IsMountPoint(*volume);
}

void RememberFolderVolumes(const std::vector<std::string>& folders,
                           const MountTableSource& mountTables) {
    std::vector<std::string> recorded = ReadRecordedVolumes();
    const std::size_t known = recorded.size();
    const MountTable mounts = mountTables();
    for (const std::string& folder : folders) {
        const MountPoint* mount = mounts.Holding(folder);
        if (!mount || IsRootMount(*mount)) continue;
        if (std::find(recorded.begin(), recorded.end(), mount->path) != recorded.end()) continue;
        if (IsDirectory(folder)) recorded.push_back(mount->path);
    }
    if (recorded.size() != known) WriteRecordedVolumes(recorded);
}

VolumeCheck LibraryVolumeCheck(Library& library) {
    CatalogueSession session(library);
    return VolumeCheck(LibraryInternals::MountTables(session));
}
