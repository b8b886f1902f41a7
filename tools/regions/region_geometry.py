"""Polygon work for the region data: decoding, simplification, datum, packing."""

import math

# The district package stores positions on a grid of 1/1024 degree, partly in
# the echarts string encoding (zigzag deltas offset by 64, one character per
# value).
GRID = 1024
# Stored rings use 1e-5 degree units (about 1 m).
STORE_SCALE = 100000


def decode_echarts_ring(text, offset):
    x, y = offset
    ring = []
    for i in range(0, len(text) - 1, 2):
        dx = ord(text[i]) - 64
        dy = ord(text[i + 1]) - 64
        x += (dx >> 1) ^ -(dx & 1)
        y += (dy >> 1) ^ -(dy & 1)
        ring.append((x, y))
    return ring


def grid_ring(coordinates):
    """A GeoJSON ring of degrees as grid points, dropping malformed vertices."""
    return [(round(v[0] * GRID), round(v[1] * GRID)) for v in coordinates
            if len(v) >= 2 and isinstance(v[0], (int, float)) and isinstance(v[1], (int, float))]


def feature_polygons(geometry):
    """The polygons (lists of grid rings, outer first) of one feature."""
    kind = geometry.get("type")
    coords = geometry.get("coordinates") or []
    offsets = geometry.get("encodeOffsets")
    polygons = coords if kind == "MultiPolygon" else [coords] if kind == "Polygon" else []
    poly_offsets = offsets if kind == "MultiPolygon" else [offsets] if offsets else None
    result = []
    for p, polygon in enumerate(polygons):
        rings = []
        for r, ring in enumerate(polygon):
            if isinstance(ring, str):
                rings.append(decode_echarts_ring(ring, poly_offsets[p][r]))
            else:
                rings.append(grid_ring(ring))
        rings = [dedupe(ring) for ring in rings]
        rings = [ring for ring in rings if len(ring) >= 3]
        if rings:
            result.append(rings)
    return result


def dedupe(ring):
    out = [v for i, v in enumerate(ring) if i == 0 or v != ring[i - 1]]
    while len(out) > 1 and out[0] == out[-1]:
        out.pop()
    return out


def simplify(ring, tolerance):
    """Douglas-Peucker on a closed ring (grid units); keeps at least a triangle."""
    n = len(ring)
    if n <= 4:
        return ring
    pts = ring + [ring[0]]
    keep = bytearray(n + 1)
    keep[0] = keep[n] = 1
    # Split the closed ring at its farthest point from the start so that
    # Douglas-Peucker has two distinct end points.
    ax, ay = pts[0]
    far = max(range(1, n), key=lambda i: (pts[i][0] - ax) ** 2 + (pts[i][1] - ay) ** 2)
    keep[far] = 1
    tol2 = tolerance * tolerance
    stack = [(0, far), (far, n)]
    while stack:
        a, b = stack.pop()
        if b - a < 2:
            continue
        ax, ay = pts[a]
        bx, by = pts[b]
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy
        best, best_i = -1.0, -1
        for i in range(a + 1, b):
            x, y = pts[i]
            if length2 == 0:
                d = (x - ax) ** 2 + (y - ay) ** 2
            else:
                c = (x - ax) * dy - (y - ay) * dx
                d = c * c / length2
            if d > best:
                best, best_i = d, i
        if best > tol2:
            keep[best_i] = 1
            stack.append((a, best_i))
            stack.append((best_i, b))
    out = [pts[i] for i in range(n) if keep[i]]
    return out if len(out) >= 3 else ring


# GCJ-02: the published forward transform and its iterative inverse.
_A = 6378245.0
_EE = 0.00669342162296594323


def _inside_gcj_area(lon, lat):
    return 72.004 <= lon <= 137.8347 and 0.8293 <= lat <= 55.8271


def _offset(lon, lat):
    x, y = lon - 105.0, lat - 35.0
    dlat = (-100.0 + 2.0 * x + 3.0 * y + 0.2 * y * y + 0.1 * x * y + 0.2 * math.sqrt(abs(x))
            + (20.0 * math.sin(6.0 * x * math.pi) + 20.0 * math.sin(2.0 * x * math.pi)) * 2.0 / 3.0
            + (20.0 * math.sin(y * math.pi) + 40.0 * math.sin(y / 3.0 * math.pi)) * 2.0 / 3.0
            + (160.0 * math.sin(y / 12.0 * math.pi) + 320 * math.sin(y * math.pi / 30.0)) * 2.0 / 3.0)
    dlon = (300.0 + x + 2.0 * y + 0.1 * x * x + 0.1 * x * y + 0.1 * math.sqrt(abs(x))
            + (20.0 * math.sin(6.0 * x * math.pi) + 20.0 * math.sin(2.0 * x * math.pi)) * 2.0 / 3.0
            + (20.0 * math.sin(x * math.pi) + 40.0 * math.sin(x / 3.0 * math.pi)) * 2.0 / 3.0
            + (150.0 * math.sin(x / 12.0 * math.pi) + 300.0 * math.sin(x / 30.0 * math.pi)) * 2.0 / 3.0)
    rad = lat / 180.0 * math.pi
    magic = 1 - _EE * math.sin(rad) ** 2
    sqrt_magic = math.sqrt(magic)
    dlat = (dlat * 180.0) / ((_A * (1 - _EE)) / (magic * sqrt_magic) * math.pi)
    dlon = (dlon * 180.0) / (_A / sqrt_magic * math.cos(rad) * math.pi)
    return dlon, dlat


def wgs_to_gcj(lon, lat):
    if not _inside_gcj_area(lon, lat):
        return lon, lat
    dlon, dlat = _offset(lon, lat)
    return lon + dlon, lat + dlat


def gcj_to_wgs(lon, lat):
    """Fixed-point iteration: the offset changes by well under 1 % of itself
    across its own size, so two steps leave an error of a few centimetres."""
    if not _inside_gcj_area(lon, lat):
        return lon, lat
    dlon, dlat = _offset(lon, lat)
    wlon, wlat = lon - dlon, lat - dlat
    dlon, dlat = _offset(wlon, wlat)
    return lon - dlon, lat - dlat


def _varint(value, out):
    while value >= 0x80:
        out.append((value & 0x7F) | 0x80)
        value >>= 7
    out.append(value)


def _zigzag_varint(value, out):
    _varint(value * 2 if value >= 0 else -value * 2 - 1, out)


def pack_rings(rings):
    """varint ring count; per ring varint vertex count, then zigzag deltas of
    (lon, lat) in 1e-5 degree units."""
    out = bytearray()
    _varint(len(rings), out)
    for ring in rings:
        _varint(len(ring), out)
        px = py = 0
        for x, y in ring:
            _zigzag_varint(x - px, out)
            _zigzag_varint(y - py, out)
            px, py = x, y
    return bytes(out)


def ring_area(ring):
    s = 0.0
    n = len(ring)
    for i in range(n):
        x1, y1 = ring[i]
        x2, y2 = ring[(i + 1) % n]
        s += x1 * y2 - x2 * y1
    return abs(s) / 2.0


def ring_centroid(ring):
    """Area centroid of a ring (its vertex mean when it has no area)."""
    a = cx = cy = 0.0
    n = len(ring)
    for i in range(n):
        x1, y1 = ring[i]
        x2, y2 = ring[(i + 1) % n]
        c = x1 * y2 - x2 * y1
        a += c
        cx += (x1 + x2) * c
        cy += (y1 + y2) * c
    if a == 0:
        return sum(x for x, _ in ring) / n, sum(y for _, y in ring) / n
    return cx / (3 * a), cy / (3 * a)


def contains(rings, x, y):
    """Even-odd test over all rings of one polygon (holes included)."""
    inside = False
    for ring in rings:
        n = len(ring)
        j = n - 1
        for i in range(n):
            xi, yi = ring[i]
            xj, yj = ring[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
    return inside
