#include "platform/mount_table.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "platform/native_path.h"

namespace {

constexpr char kMountInfoFile[] = "/proc/self/mountinfo";
constexpr char kLabelFolder[] = "/dev/disk/by-label";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// mountinfo writes space, tab, newline and backslash as "\ooo" (octal).
std::string DecodeOctalEscapes(std::string_view text) {
    auto octal = [&](std::size_t k) { return text[k] >= '0' && text[k] <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && octal(i + 1) && octal(i + 2) &&
            octal(i + 3)) {
            out += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 +
                                     (text[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += text[i];
    }
    return out;
}

// udev names label links with "\xHH" for bytes outside a safe set.
std::string DecodeHexEscapes(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
            int high = HexDigit(text[i + 2]);
            int low = HexDigit(text[i + 3]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 3;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string ResolvedDevice(const std::string& path) {
    char resolved[PATH_MAX];
    if (path.empty() || path[0] != '/' || !realpath(path.c_str(), resolved)) return path;
    return resolved;
}

std::unordered_map<std::string, std::string> LabelsByDevice() {
    std::unordered_map<std::string, std::string> labels;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kLabelFolder, error))
        labels[ResolvedDevice(entry.path().string())] =
            DecodeHexEscapes(entry.path().filename().string());
    return labels;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        std::size_t end = line.find(' ', pos);
        if (end == std::string_view::npos) end = line.size();
        if (end > pos) fields.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    return fields;
}

}  // namespace

MountTable::MountTable(std::vector<MountPoint> mounts) : mounts_(std::move(mounts)) {}

MountTable MountTable::FromSystem() {
    std::ifstream file(kMountInfoFile);
    if (!file) return {};
    std::stringstream text;
    text << file.rdbuf();
    return FromMountInfo(text.str(), LabelsByDevice());
}

// Line: id parent major:minor root mount-point options [optional...] - type source super-options
MountTable MountTable::FromMountInfo(
    std::string_view mountInfo,
    const std::unordered_map<std::string, std::string>& labelsByDevice) {
    std::vector<MountPoint> mounts;
    std::size_t pos = 0;
    while (pos < mountInfo.size()) {
        std::size_t end = mountInfo.find('\n', pos);
        if (end == std::string_view::npos) end = mountInfo.size();
        std::vector<std::string_view> fields = Fields(mountInfo.substr(pos, end - pos));
        pos = end + 1;
        if (fields.size() < 5 || fields[4].empty() || fields[4][0] != '/') continue;
        MountPoint mount{DecodeOctalEscapes(fields[4]), {}};
        for (std::size_t i = 5; i + 2 < fields.size(); ++i) {
            if (fields[i] != "-") continue;
            auto label = labelsByDevice.find(ResolvedDevice(DecodeOctalEscapes(fields[i + 2])));
            if (label != labelsByDevice.end()) mount.label = label->second;
            break;
        }
        std::erase_if(mounts, [&](const MountPoint& m) { return m.path == mount.path; });
        mounts.push_back(std::move(mount));
    }
    return MountTable(std::move(mounts));
}

const MountPoint* MountTable::Holding(std::string_view folder) const& {
    const MountPoint* best = nullptr;
    for (const MountPoint& mount : mounts_) {
        bool holds =
            folder == mount.path || IsPathInside(folder, mount.path) ||
            (IsDriveRootPath(folder) && mount.path.size() == 1 && mount.path[0] == kPathSeparator);
        if (holds && (!best || mount.path.size() > best->path.size())) best = &mount;
    }
    return best;
}

bool MountTable::IsMountPoint(std::string_view path) const {
    return std::any_of(mounts_.begin(), mounts_.end(),
                       [&](const MountPoint& mount) { return mount.path == path; });
}
