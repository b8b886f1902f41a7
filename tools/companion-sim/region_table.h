#pragma once
// The simulator's region table: latitude/longitude boxes, each naming up to
// eight administrative regions (largest first). Text file, one box a line:
//
//   # comment
//   30.7 31.9 120.8 122.2 | 上海市 | 上海市 | 浦东新区
//
// latitude min/max, longitude min/max (inclusive), then the names after '|'.

#include <optional>
#include <string>
#include <vector>

struct RegionBox {
    double latitudeMin = 0, latitudeMax = 0;
    double longitudeMin = 0, longitudeMax = 0;
    std::vector<std::string> names;  // at most 8
};

class RegionTable {
  public:
    // Nothing when the file cannot be read or a line is malformed.
    static std::optional<RegionTable> Load(const std::string& path);
    static std::optional<RegionTable> Parse(const std::string& text);

    void Add(RegionBox box);
    // The names of the first box holding the position; nothing outside every box.
    std::optional<std::vector<std::string>> Lookup(double latitude, double longitude) const;

  private:
    std::vector<RegionBox> boxes_;
};
