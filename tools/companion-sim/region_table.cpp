#include "region_table.h"

#include <fstream>
#include <sstream>

namespace {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

constexpr std::size_t kMaxNames = 8;

}  // namespace

std::optional<RegionTable> RegionTable::Load(const std::string& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str());
}

std::optional<RegionTable> RegionTable::Parse(const std::string& text) {
    RegionTable table;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        RegionBox box;
        if (!(fields >> box.latitudeMin >> box.latitudeMax >> box.longitudeMin >>
              box.longitudeMax)) {
            return std::nullopt;
        }
        std::string name;
        std::getline(fields, name, '|');  // skip to the first separator
        if (!Trim(name).empty()) return std::nullopt;
        while (std::getline(fields, name, '|')) {
            if (box.names.size() < kMaxNames) box.names.push_back(Trim(name));
        }
        table.Add(std::move(box));
    }
    return table;
}

void RegionTable::Add(RegionBox box) {
    boxes_.push_back(std::move(box));
}

std::optional<std::vector<std::string>> RegionTable::Lookup(double latitude,
                                                            double longitude) const {
    for (const RegionBox& box : boxes_) {
        if (latitude >= box.latitudeMin && latitude <= box.latitudeMax &&
            longitude >= box.longitudeMin && longitude <= box.longitudeMax) {
            return box.names;
        }
    }
    return std::nullopt;
}
