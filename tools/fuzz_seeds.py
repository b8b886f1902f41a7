#!/usr/bin/env python3
"""Writes the hand-made seeds of the fuzz targets: link frames, companion
records, small catalogue files, a tiny photo with EXIF data and positions.
  fuzz_seeds.py CORPUS_ROOT SCHEMA_FILE [THUMBNAIL_JPEG]   every seed
  fuzz_seeds.py --replay FOLDER   one small seed per target, the ones kept in
                                  tests/fixtures/fuzz for the replay suite"""
import os
import sqlite3
import struct
import sys
import tempfile
import zlib


def region_block(kind, count, names):
    places = b"".join(n.encode().ljust(128, b"\0")[:128] for n in names + [""] * (8 - len(names)))
    return struct.pack("<ddi4xi", 39.9, 116.4, kind, count) + places + bytes(4)


def photo_records(n, kind):
    return b"".join(struct.pack("<qi4xddi4x", 7 + i, 1700000000 + i, 31.2, 121.5, kind)
                    for i in range(n))


def link_seeds(seeds):
    """Request frames and their records under link id 5."""
    records = {
        "picked": (20001, struct.pack("<dd", 30.5, 114.3)),
        "region": (20003, region_block(1, 3, ["中国", "湖北省", "武汉市"])),
        "no_names": (20003, region_block(-2, 0, [])),
        "selection": (20004, photo_records(3, 2)),
        "track": (20005, photo_records(2, 0)),
        "handshake": (20000, b""),
    }
    for name, (code, data) in records.items():
        header = b"DZLK" + struct.pack("<IQQII", 0x4A, 1001, (5 << 16) | code, 3, len(data))
        seeds.append(("link_frame", name, header + data))
        if data:
            seeds.append(("map_records", name, data))


def companion_seeds(seeds):
    """The companion's requests: the album's handshake and region requests under
    link id 5, a position on land, at sea and impossible ones."""
    handshake = "RezidaDoz\0".encode("utf-16-le")
    positions = {"shenzhen": (22.54, 114.06), "sea": (10.0, 150.0), "nan": (float("nan"), 114.0),
                 "out_of_range": (91.0, 181.0)}
    requests = {"handshake": (20000, handshake)}
    for name, (lat, lon) in positions.items():
        requests[name] = (20003, struct.pack("<ddi", lat, lon, 1) + bytes(1056 - 20))
    for name, (code, data) in requests.items():
        header = b"DZLK" + struct.pack("<IQQII", 0x4A, 1001, (5 << 16) | code, 1, len(data))
        seeds.append(("companion_request", name, header + data))
    seeds.append(("region_lookup", "shenzhen-and-sea",
                  struct.pack("<dddd", 22.54, 114.06, 10.0, 150.0)))


def nmea(body):
    checksum = 0
    for c in body.encode():
        checksum ^= c
    return "$%s*%02X\r\n" % (body, checksum)


def track_seeds(seeds):
    """Recorded tracks: a GPX with two segments, a KML gx:Track, an NMEA log
    over midnight UTC."""
    seeds.append(("track_read", "two-segments.gpx", (
        '<gpx version="1.1"><trk><name>w</name><trkseg>'
        '<trkpt lat="22.5" lon="114.0"><time>2026-05-01T12:00:00Z</time></trkpt>'
        '<trkpt lat="22.6" lon="114.1"><time>2026-05-01T12:00:01.5Z</time></trkpt>'
        '</trkseg><trkseg><trkpt lat="-1" lon="-2"><time>2026-05-01T13:00:00+08:00</time>'
        '</trkpt></trkseg></trk><wpt lat="1" lon="2"><time>2026-05-01T14:00:00Z</time></wpt>'
        '</gpx>').encode()))
    seeds.append(("track_read", "gx-track.kml", (
        '<kml><Placemark><gx:Track xmlns:gx="g"><when>2026-05-01T12:00:00Z</when>'
        '<when>2026-05-01T12:00:05Z</when><gx:coord>114 22.5 1</gx:coord>'
        '<gx:coord>114.1 22.6 1</gx:coord></gx:Track></Placemark></kml>').encode()))
    seeds.append(("track_read", "midnight.nmea", (
        nmea("GPRMC,235959,A,3954.0,N,11624.0,E,1.0,90.0,311226,,,A") +
        nmea("GPGGA,000000,3954.1,N,11624.1,E,1,08,0.9,50.0,M,0,M,,")).encode()))


def grey_alpha_png():
    """A small PNG: grey with alpha, filtered rows."""
    rows = b"".join(b"\x01" + bytes((x * 9 + y * 5) & 0xFF for x in range(8) for _ in (0, 1))
                    for y in range(6))
    chunk = lambda kind, body: (struct.pack(">I", len(body)) + kind + body +
                                struct.pack(">I", zlib.crc32(kind + body)))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 8, 6, 8, 4, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def tiny_photo():
    """An 8x8 mid-grey baseline JPEG (every coefficient zero, one-code Huffman
    tables) with an EXIF segment: make, shot time and a GPS position."""
    def segment(marker, body):
        return b"\xff" + bytes([marker]) + struct.pack(">H", len(body) + 2) + body

    def ifd(entries, next_offset, data_offset):
        # entries: (tag, type, count, value bytes); values over 4 bytes go after the IFD.
        table, data = struct.pack("<H", len(entries)), b""
        for tag, kind, count, value in entries:
            if len(value) <= 4:
                table += struct.pack("<HHI", tag, kind, count) + value.ljust(4, b"\0")
            else:
                table += struct.pack("<HHII", tag, kind, count, data_offset + len(data))
                data += value
        return table + struct.pack("<I", next_offset), data

    def rationals(*pairs):
        return b"".join(struct.pack("<II", n, d) for n, d in pairs)

    # TIFF layout: header (8), IFD0 at 8 (3 entries), EXIF IFD, GPS IFD, then their values.
    ifd0_size, exif_size, gps_size = 2 + 3 * 12 + 4, 2 + 12 + 4, 2 + 4 * 12 + 4
    exif_at = 8 + ifd0_size
    gps_at = exif_at + exif_size
    values_at = gps_at + gps_size
    shot = b"2012:05:14 21:00:30\0"
    gps_entries = [(1, 2, 2, b"N\0"), (2, 5, 3, rationals((22, 1), (32, 1), (24, 1))),
                   (3, 2, 2, b"E\0"), (4, 5, 3, rationals((114, 1), (3, 1), (36, 1)))]
    exif_ifd, exif_data = ifd([(0x9003, 2, len(shot), shot)], 0, values_at)
    gps_ifd, gps_data = ifd(gps_entries, 0, values_at + len(exif_data))
    ifd0, ifd0_data = ifd([(0x010F, 2, 2, b"X\0"), (0x8769, 4, 1, struct.pack("<I", exif_at)),
                           (0x8825, 4, 1, struct.pack("<I", gps_at))], 0, 0)
    tiff = b"II*\0" + struct.pack("<I", 8) + ifd0 + exif_ifd + gps_ifd + exif_data + gps_data
    one_code = bytes([1] + [0] * 15) + b"\0"  # one code of length 1, for symbol 0
    return (b"\xff\xd8" + segment(0xE1, b"Exif\0\0" + tiff + ifd0_data) +
            segment(0xDB, b"\0" + bytes([1] * 64)) +
            segment(0xC0, struct.pack(">BHHB", 8, 8, 8, 1) + b"\x01\x11\0") +
            segment(0xC4, b"\x00" + one_code + b"\x10" + one_code) +
            segment(0xDA, b"\x01\x01\x00\x00\x3f\x00") + b"\x3f\xff\xd9")


def catalogue(statements, rows, page_size=512):
    """The bytes of a catalogue file made by the statements and the rows."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "catalogue.db")
        db = sqlite3.connect(path)
        db.execute(f"pragma page_size={page_size}")
        db.execute("pragma user_version=1")
        for statement in statements:
            db.execute(statement)
        for statement, values in rows:
            db.execute(statement, values)
        db.commit()
        db.close()
        return open(path, "rb").read()


def catalogue_seeds(seeds, schema_file, thumbnail):
    schema = [line.rstrip("\n") for line in open(schema_file, encoding="utf-8") if line.strip()]
    photo = ("insert into tJpgMsg(idPic,bJpgThumbData,strFullPath,strName,strPath,dwDateTime,"
             "strModel,nWidth,nHeight,strOrientation) values(?,?,?,?,?,?,?,?,?,?)")
    seeds.append(("catalogue_open", "full.db", catalogue(schema, [
        (photo, (42, thumbnail + b"\0", "/p/a.jpg", "a.jpg", "/p", 1700000000, "X100", 640, 480,
                 "Right-top")),
        ("insert into tFolder values(?,?)", ("/p", 1700000000)),
        ("insert into tKeyWord(strKeyword,idPic) values(?,?)", ("海", 42)),
    ])))
    # Tables with missing and wrongly typed columns.
    seeds.append(("catalogue_open", "odd_columns.db", catalogue([
        "create table tJpgMsg(idPic text, strFullPath blob)",
        "create table tFolder(strFolderPath integer)",
    ], [("insert into tJpgMsg values(?,?)", ("x", b"\0\1"))])))


def write(root, seeds):
    for target, name, data in seeds:
        os.makedirs(os.path.join(root, target), exist_ok=True)
        with open(os.path.join(root, target, name), "wb") as out:
            out.write(data)


def main():
    seeds = []
    link_seeds(seeds)
    companion_seeds(seeds)
    track_seeds(seeds)
    photo = tiny_photo()
    for target in ("photo_read", "image_decode", "exif_rewrite"):
        seeds.append((target, "grey-exif.jpg", photo))
    if sys.argv[1] == "--replay":
        # One per target, each a few hundred bytes: the first seed of each target
        # and an empty catalogue (a full one takes a page per table).
        seeds.append(("catalogue_open", "empty.db", catalogue([], [])))
        kept = {}
        for target, name, data in seeds:
            kept.setdefault(target, (target, name, data))
        write(sys.argv[2], kept.values())
        return
    seeds.append(("image_decode", "grey_alpha.png", grey_alpha_png()))
    thumbnail = open(sys.argv[3], "rb").read() if len(sys.argv) > 3 else b"\xff\xd8\xff\xd9"
    catalogue_seeds(seeds, sys.argv[2], thumbnail)
    write(sys.argv[1], seeds)


main()
