#include "companion/map_geometry.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>

#include "companion/polygon_blob.h"

namespace {

constexpr const char* kRegionsQuery = "SELECT id, rank, name0, name1, name2 FROM region";
constexpr const char* kPartsQuery = "SELECT region, rings FROM part ORDER BY id";
constexpr int kChineseRank = 0;
// Side of a cell of the near grid, stored units (about 500 m).
constexpr std::int32_t kNearCell = 500;
// Untouched edges in a row up to this length (stored units, about 2 km)
// still count as a gap in a shared border.
constexpr double kBorderGapUnits = 2000;

// Simplification tolerance of each step, in world units (about degrees).
constexpr std::array<double, kMapDetailSteps> kTolerance{0, 0.008, 0.02, 0.06, 0.15, 0.4};
// A step is used while its tolerance stays below this many pixels.
constexpr double kTolerablePixels = 1.2;

struct RegionNames {
    std::int64_t id = 0;
    int rank = 0;
    std::array<std::string, 3> names;
};

struct DecodedPart {
    std::size_t region = 0;  // index into the regions
    std::vector<std::vector<PolygonVertex>> rings;
};

std::uint64_t VertexKey(PolygonVertex v) {
    return std::uint64_t{static_cast<std::uint32_t>(v.x)} << 32 | static_cast<std::uint32_t>(v.y);
}

WorldPoint WorldOf(PolygonVertex v) {
    const double longitude = v.x / kPolygonUnitsPerDegree;
    const double latitude = v.y / kPolygonUnitsPerDegree;
    return {static_cast<float>(longitude), static_cast<float>(MercatorY(latitude))};
}

// Signed area (stored units squared, halved) and centroid of one ring.
struct RingMoments {
    double area = 0;
    double cx = 0, cy = 0;
};

RingMoments MomentsOf(const std::vector<PolygonVertex>& ring) {
    double twiceArea = 0, sx = 0, sy = 0;
    const double ox = ring[0].x, oy = ring[0].y;  // relative, to keep the products small
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const PolygonVertex a = ring[i];
        const PolygonVertex b = ring[(i + 1) % ring.size()];
        const double ax = a.x - ox, ay = a.y - oy, bx = b.x - ox, by = b.y - oy;
        const double cross = ax * by - bx * ay;
        twiceArea += cross;
        sx += (ax + bx) * cross;
        sy += (ay + by) * cross;
    }
    RingMoments m;
    m.area = std::fabs(twiceArea) / 2;
    if (twiceArea != 0) {
        m.cx = ox + sx / (3 * twiceArea);
        m.cy = oy + sy / (3 * twiceArea);
    } else {
        m.cx = ox;
        m.cy = oy;
    }
    return m;
}

// Sums of areas and area-weighted centres of the regions sharing one name.
struct LabelSum {
    double area = 0, sx = 0, sy = 0;
    BorderLevel level = BorderLevel::Country;

    void Add(const RingMoments& m) {
        area += m.area;
        sx += m.cx * m.area;
        sy += m.cy * m.area;
    }
};

}  // namespace

class MapGeometryBuilder {
  public:
    MapGeometryBuilder(MapGeometry& g, const std::atomic<bool>* stop) : g_(g), stop_(stop) {}
    bool Stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }

    bool Read(sqlite3* db, std::string& error) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, kRegionsQuery, -1, &statement, nullptr) != SQLITE_OK) {
            error = "no region table";
            return false;
        }
        std::map<std::int64_t, std::size_t> indexOf;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            RegionNames region;
            region.id = sqlite3_column_int64(statement, 0);
            region.rank = sqlite3_column_int(statement, 1);
            for (int i = 0; i < 3; ++i) {
                const auto* text = sqlite3_column_text(statement, 2 + i);
                if (text) region.names[i] = reinterpret_cast<const char*>(text);
            }
            indexOf[region.id] = regions_.size();
            regions_.push_back(std::move(region));
        }
        sqlite3_finalize(statement);
        if (sqlite3_prepare_v2(db, kPartsQuery, -1, &statement, nullptr) != SQLITE_OK) {
            error = "no part table";
            return false;
        }
        int step = SQLITE_ROW;
        while (!Stopped() && (step = sqlite3_step(statement)) == SQLITE_ROW) {
            const auto found = indexOf.find(sqlite3_column_int64(statement, 0));
            if (found == indexOf.end()) continue;
            DecodedPart part;
            part.region = found->second;
            const auto* blob = static_cast<const unsigned char*>(sqlite3_column_blob(statement, 1));
            const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, 1));
            if (!DecodePolygonRings(blob, size, part.rings)) continue;  // damaged: left out
            parts_.push_back(std::move(part));
        }
        sqlite3_finalize(statement);
        if (Stopped()) {
            error = "stopped";
            return false;
        }
        if (step != SQLITE_DONE) {
            error = sqlite3_errmsg(db);
            return false;
        }
        return true;
    }

    void Build() {
        IndexChineseVertices();
        std::map<std::string, LabelSum> labelSums;
        std::vector<std::pair<double, std::size_t>> largestCountryPart(regions_.size(), {-1, 0});
        for (std::size_t p = 0; p < parts_.size() && !Stopped(); ++p) {
            const DecodedPart& part = parts_[p];
            const RegionNames& region = regions_[part.region];
            const RingMoments outline = MomentsOf(part.rings[0]);
            for (std::size_t r = 0; r < part.rings.size(); ++r) {
                const auto& ring = part.rings[r];
                world_.clear();
                for (PolygonVertex v : ring) world_.push_back(WorldOf(v));
                if (r == 0) g_.lands_.push_back(Simplified(world_, 3));
                if (region.rank == kChineseRank)
                    AddChineseBorders(part.region, ring, world_);
                else
                    AddRun(world_, 0, ring.size(), BorderLevel::Country);
            }
            if (region.rank == kChineseRank) {
                AddChineseLabels(region, outline, labelSums);
            } else {
                auto& largest = largestCountryPart[part.region];
                if (outline.area > largest.first) largest = {outline.area, p};
            }
        }
        for (std::size_t r = 0; r < regions_.size(); ++r) {
            if (largestCountryPart[r].first < 0) continue;
            const RingMoments m = MomentsOf(parts_[largestCountryPart[r].second].rings[0]);
            AddLabel(m.cx, m.cy, m.area, BorderLevel::Country, regions_[r].names[0]);
        }
        for (const auto& [name, sum] : labelSums) {
            if (sum.area <= 0) continue;
            // The key is the level's digit, then the full names; the label is the last name.
            const std::string shown = name.substr(name.rfind('\x1f') + 1);
            AddLabel(sum.sx / sum.area, sum.sy / sum.area, sum.area, sum.level, shown);
        }
    }

  private:
    void IndexChineseVertices() {
        for (const DecodedPart& part : parts_) {
            if (regions_[part.region].rank != kChineseRank) continue;
            for (const auto& ring : part.rings)
                for (PolygonVertex v : ring)
                    owners_.emplace_back(VertexKey(v), static_cast<std::uint32_t>(part.region));
        }
        std::sort(owners_.begin(), owners_.end());
        owners_.erase(std::unique(owners_.begin(), owners_.end()), owners_.end());
        for (const Owner& owner : owners_)
            cellOwners_.emplace_back(CellKey(owner.first), owner.second);
        std::sort(cellOwners_.begin(), cellOwners_.end());
        cellOwners_.erase(std::unique(cellOwners_.begin(), cellOwners_.end()), cellOwners_.end());
    }

    // The cell of the near grid that holds a vertex (given by its key).
    static std::uint64_t CellKey(std::uint64_t vertexKey) {
        const auto x = static_cast<std::int32_t>(vertexKey >> 32);
        const auto y = static_cast<std::int32_t>(vertexKey & 0xFFFFFFFFu);
        const auto cx =
            static_cast<std::uint32_t>(x >= 0 ? x / kNearCell : (x + 1) / kNearCell - 1);
        const auto cy =
            static_cast<std::uint32_t>(y >= 0 ? y / kNearCell : (y + 1) / kNearCell - 1);
        return std::uint64_t{cx} << 32 | cy;
    }

    // Districts of other city files do not share vertices with this one:
    // an edge that no district touches is still a border between districts
    // when another district has vertices in the cells of both its ends.
    bool NearBorderLevel(std::size_t self, PolygonVertex a, PolygonVertex b,
                         BorderLevel& level) const {
        auto range = [&](PolygonVertex v) {
            return std::equal_range(
                cellOwners_.begin(), cellOwners_.end(), Owner{CellKey(VertexKey(v)), 0},
                [](const Owner& l, const Owner& r) { return l.first < r.first; });
        };
        const auto [a0, a1] = range(a);
        const auto [b0, b1] = range(b);
        bool found = false;
        BorderLevel nearest = BorderLevel::District;
        for (auto i = a0, j = b0; i != a1 && j != b1;) {
            if (i->second < j->second) {
                ++i;
            } else if (j->second < i->second) {
                ++j;
            } else {
                if (i->second != self) {
                    nearest = std::min(nearest, LevelBetween(self, i->second));
                    found = true;
                }
                ++i;
                ++j;
            }
        }
        if (found) level = nearest;
        return found;
    }

    using Owner = std::pair<std::uint64_t, std::uint32_t>;  // vertex key, region

    // The regions that have v as a vertex, in ascending order.
    std::pair<std::vector<Owner>::const_iterator, std::vector<Owner>::const_iterator> OwnersOf(
        PolygonVertex v) const {
        return std::equal_range(owners_.begin(), owners_.end(), Owner{VertexKey(v), 0},
                                [](const Owner& a, const Owner& b) { return a.first < b.first; });
    }

    BorderLevel LevelBetween(std::size_t a, std::size_t b) const {
        const auto& na = regions_[a].names;
        const auto& nb = regions_[b].names;
        if (na[0] != nb[0]) return BorderLevel::Province;
        if (na[1] != nb[1]) return BorderLevel::City;
        return BorderLevel::District;
    }

    // What the other districts make of one edge of a district.
    struct EdgeClass {
        enum Kind : std::uint8_t { Lonely, Partial, Shared } kind = Lonely;
        BorderLevel level = BorderLevel::Country;
        // Of two districts sharing an edge, the one with the smaller index draws it.
        bool drawn = true;

        bool operator==(const EdgeClass& o) const { return level == o.level && drawn == o.drawn; }
    };

    using OwnerRange =
        std::pair<std::vector<Owner>::const_iterator, std::vector<Owner>::const_iterator>;

    EdgeClass ClassifyEdge(std::size_t self, const OwnerRange& a, const OwnerRange& b) const {
        const auto [a0, a1] = a;
        const auto [b0, b1] = b;
        EdgeClass edge;
        BorderLevel partialLevel = BorderLevel::District;
        BorderLevel sharedLevel = BorderLevel::District;
        auto consider = [&](std::size_t other, bool whole) {
            if (other == self) return;
            const BorderLevel between = LevelBetween(self, other);
            if (whole) {
                edge.kind = EdgeClass::Shared;
                sharedLevel = std::min(sharedLevel, between);
                if (other < self) edge.drawn = false;
            } else {
                if (edge.kind == EdgeClass::Lonely) edge.kind = EdgeClass::Partial;
                partialLevel = std::min(partialLevel, between);
            }
        };
        // Both lists are sorted by region: walk them together.
        for (auto i = a0, j = b0; i != a1 || j != b1;) {
            if (j == b1 || (i != a1 && i->second < j->second)) {
                consider(i++->second, false);
            } else if (i == a1 || j->second < i->second) {
                consider(j++->second, false);
            } else {
                consider(i->second, true);
                ++i;
                ++j;
            }
        }
        if (edge.kind == EdgeClass::Shared) edge.level = sharedLevel;
        if (edge.kind == EdgeClass::Partial) edge.level = partialLevel;
        return edge;
    }

    // A short stretch between shared edges that touches other districts at
    // one end only, or not at all, lies beside a junction or where two
    // outlines were simplified differently: it continues the border before
    // it. A longer one is coast or a land border, its ends included.
    void FillBorderGaps(const std::vector<PolygonVertex>& ring, std::size_t anyShared) {
        const std::size_t n = edges_.size();
        if (anyShared >= n) return;
        for (std::size_t k = 1; k <= n;) {
            if (edges_[(anyShared + k) % n].kind == EdgeClass::Shared) {
                ++k;
                continue;
            }
            std::size_t length = 0;
            double untouched = 0;  // its length, stored units
            for (; k + length <= n; ++length) {
                const std::size_t i = (anyShared + k + length) % n;
                if (edges_[i].kind == EdgeClass::Shared) break;
                const PolygonVertex a = ring[i], b = ring[(i + 1) % n];
                untouched +=
                    std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
            }
            const bool gap = untouched <= kBorderGapUnits;
            const EdgeClass before = edges_[(anyShared + k - 1) % n];
            for (std::size_t g = 0; g < length; ++g) {
                EdgeClass& edge = edges_[(anyShared + k + g) % n];
                if (gap) {
                    edge = before;
                } else if (edge.kind == EdgeClass::Partial) {
                    edge.kind = EdgeClass::Lonely;
                    edge.level = BorderLevel::Country;
                    edge.drawn = true;
                }
            }
            k += length;
        }
    }

    void AddChineseBorders(std::size_t self, const std::vector<PolygonVertex>& ring,
                           const std::vector<WorldPoint>& world) {
        const std::size_t n = ring.size();
        edges_.assign(n, EdgeClass{});
        std::size_t anyShared = n;
        // Each vertex is looked up once for the two edges it ends.
        ranges_.resize(n);
        for (std::size_t i = 0; i < n; ++i) ranges_[i] = OwnersOf(ring[i]);
        for (std::size_t i = 0; i < n; ++i) {
            edges_[i] = ClassifyEdge(self, ranges_[i], ranges_[(i + 1) % n]);
            if (edges_[i].kind == EdgeClass::Shared) anyShared = i;
        }
        FillBorderGaps(ring, anyShared);
        // What is left untouched may still face a district of another city
        // file; both sides draw such a border, as they need not see each other alike.
        for (std::size_t i = 0; i < n; ++i) {
            EdgeClass& edge = edges_[i];
            if (edge.kind != EdgeClass::Lonely || edge.level != BorderLevel::Country) continue;
            if (NearBorderLevel(self, ring[i], ring[(i + 1) % n], edge.level)) {
                edge.kind = EdgeClass::Shared;
                anyShared = i;
            }
        }
        FillBorderGaps(ring, anyShared);
        // Start where a run begins, so that no run is cut at the ring's first vertex.
        std::size_t start = 0;
        while (start < n && edges_[start] == edges_[(start + n - 1) % n]) ++start;
        if (start == n) {
            if (edges_[0].drawn) AddRun(world, 0, n, edges_[0].level);
            return;
        }
        for (std::size_t k = 0; k < n;) {
            const std::size_t first = (start + k) % n;
            std::size_t length = 1;
            while (k + length < n && edges_[(start + k + length) % n] == edges_[first]) ++length;
            if (edges_[first].drawn) AddRun(world, first, length, edges_[first].level);
            k += length;
        }
    }

    // A polyline of `edges` edges of the ring from vertex first (the whole
    // ring, closed, when edges is its size).
    void AddRun(const std::vector<WorldPoint>& ring, std::size_t first, std::size_t edges,
                BorderLevel level) {
        scratch_.clear();
        for (std::size_t k = 0; k <= edges; ++k)
            scratch_.push_back(ring[(first + k) % ring.size()]);
        MapShape shape = Simplified(scratch_, 2);
        shape.level = level;
        g_.borders_.push_back(shape);
    }

    // Stores the points at every step; a step that keeps fewer than minimum
    // points stores none (too small to draw there).
    MapShape Simplified(const std::vector<WorldPoint>& points, std::size_t minimum) {
        MapShape shape;
        shape.minX = shape.minY = std::numeric_limits<float>::max();
        shape.maxX = shape.maxY = std::numeric_limits<float>::lowest();
        for (WorldPoint p : points) {
            shape.minX = std::min(shape.minX, p.x);
            shape.minY = std::min(shape.minY, p.y);
            shape.maxX = std::max(shape.maxX, p.x);
            shape.maxY = std::max(shape.maxY, p.y);
        }
        g_.bounds_.Include(shape.minX, shape.minY);
        g_.bounds_.Include(shape.maxX, shape.maxY);
        auto& out = g_.points_;
        // Each step simplifies the one before it; a step that drops nothing shares its span.
        const std::vector<WorldPoint>* source = &points;
        for (int step = 0; step < kMapDetailSteps; ++step) {
            kept_.clear();
            const double tolerance2 = kTolerance[step] * kTolerance[step];
            kept_.push_back(source->front());
            for (std::size_t i = 1; i + 1 < source->size(); ++i) {
                const double dx = (*source)[i].x - kept_.back().x;
                const double dy = (*source)[i].y - kept_.back().y;
                if (dx * dx + dy * dy > tolerance2) kept_.push_back((*source)[i]);
            }
            if (source->size() > 1) kept_.push_back(source->back());
            if (kept_.size() < minimum) break;  // this step and the coarser ones draw nothing
            if (step > 0 && kept_.size() == shape.spans[step - 1].count) {
                shape.spans[step] = shape.spans[step - 1];
            } else {
                shape.spans[step] = {static_cast<std::uint32_t>(out.size()),
                                     static_cast<std::uint32_t>(kept_.size())};
                out.insert(out.end(), kept_.begin(), kept_.end());
            }
            previous_.swap(kept_);
            source = &previous_;
        }
        return shape;
    }

    void AddChineseLabels(const RegionNames& region, const RingMoments& outline,
                          std::map<std::string, LabelSum>& sums) {
        const auto& n = region.names;
        auto add = [&](BorderLevel level, const std::string& key) {
            LabelSum& sum = sums[std::to_string(static_cast<int>(level)) + '\x1f' + key];
            sum.level = level;
            sum.Add(outline);
        };
        add(BorderLevel::Province, n[0]);
        // A municipality repeats its name at the city level, a city without
        // districts at the district level: one label is enough.
        if (n[1] != n[0]) add(BorderLevel::City, n[0] + '\x1f' + n[1]);
        if (n[2] != n[1]) add(BorderLevel::District, n[0] + '\x1f' + n[1] + '\x1f' + n[2]);
    }

    void AddLabel(double cx, double cy, double area, BorderLevel level, const std::string& name) {
        if (name.empty()) return;
        const PolygonVertex centre{static_cast<std::int32_t>(std::lround(cx)),
                                   static_cast<std::int32_t>(std::lround(cy))};
        const float extent = static_cast<float>(std::sqrt(area) / kPolygonUnitsPerDegree);
        g_.labels_.push_back({WorldOf(centre), extent, level, name});
    }

    MapGeometry& g_;
    const std::atomic<bool>* stop_;
    std::vector<RegionNames> regions_;
    std::vector<DecodedPart> parts_;
    std::vector<Owner> owners_;
    std::vector<Owner> cellOwners_;  // cell key, region
    std::vector<WorldPoint> world_, scratch_, kept_, previous_;
    std::vector<EdgeClass> edges_;
    std::vector<OwnerRange> ranges_;
};

bool MapGeometry::Open(const std::string& path, const std::atomic<bool>* stop) {
    *this = MapGeometry();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        error_ = "cannot open " + path;
        return false;
    }
    MapGeometryBuilder builder(*this, stop);
    std::string why;
    const bool read = builder.Read(db, why);
    sqlite3_close(db);
    if (!read) {
        *this = MapGeometry();
        error_ = path + " is not a region data file (" + why + ")";
        return false;
    }
    builder.Build();
    if (builder.Stopped()) {
        *this = MapGeometry();
        error_ = "stopped";
        return false;
    }
    // By level, and within a level (and among the lands) the widest first,
    // so that a frame stops at the first shape too small for its scale.
    auto extent = [](const MapShape& shape) {
        return std::max(shape.maxX - shape.minX, shape.maxY - shape.minY);
    };
    std::stable_sort(borders_.begin(), borders_.end(), [&](const MapShape& a, const MapShape& b) {
        return a.level != b.level ? a.level < b.level : extent(a) > extent(b);
    });
    std::stable_sort(lands_.begin(), lands_.end(),
                     [&](const MapShape& a, const MapShape& b) { return extent(a) > extent(b); });
    for (int level = 0; level <= 4; ++level) {
        levelStarts_[level] = static_cast<std::size_t>(
            std::partition_point(
                borders_.begin(), borders_.end(),
                [&](const MapShape& s) { return static_cast<int>(s.level) < level; }) -
            borders_.begin());
    }
    if (lands_.empty()) {
        *this = MapGeometry();
        error_ = path + " holds no outlines";
        return false;
    }
    open_ = true;
    return true;
}

std::span<const MapShape> MapGeometry::Borders(BorderLevel level) const {
    const auto l = static_cast<std::size_t>(level);
    return {borders_.data() + levelStarts_[l], levelStarts_[l + 1] - levelStarts_[l]};
}

int MapGeometry::DetailStepFor(double scale) {
    int step = 0;
    while (step + 1 < kMapDetailSteps && kTolerance[step + 1] * scale <= kTolerablePixels) ++step;
    return step;
}
