#!/usr/bin/env python3
"""Writes the hand-made seeds of the fuzz targets that have no sample files:
link frames, companion records and small catalogue files. Usage:
fuzz_seeds.py CORPUS_ROOT SCHEMA_FILE [THUMBNAIL_JPEG]"""
import os
import sqlite3
import struct
import sys
import zlib

root, schema_file = sys.argv[1], sys.argv[2]
thumbnail = open(sys.argv[3], "rb").read() if len(sys.argv) > 3 else b"\xff\xd8\xff\xd9"


def put(target, name, data):
    folder = os.path.join(root, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def region_block(kind, count, names):
    places = b"".join(n.encode().ljust(128, b"\0")[:128] for n in names + [""] * (8 - len(names)))
    return struct.pack("<ddi4xi", 39.9, 116.4, kind, count) + places + bytes(4)


def photo_records(n, kind):
    return b"".join(struct.pack("<qi4xddi4x", 7 + i, 1700000000 + i, 31.2, 121.5, kind)
                    for i in range(n))


picked = struct.pack("<dd", 30.5, 114.3)
records = {
    "picked": (20001, picked),
    "region": (20003, region_block(1, 3, ["中国", "湖北省", "武汉市"])),
    "no_names": (20003, region_block(-2, 0, [])),
    "selection": (20004, photo_records(3, 2)),
    "track": (20005, photo_records(2, 0)),
    "handshake": (20000, b""),
}
for name, (code, data) in records.items():
    header = b"DZLK" + struct.pack("<IQQII", 0x4A, 1001, (5 << 16) | code, 3, len(data))
    put("link_frame", name, header + data)
    if data:
        put("map_records", name, data)

# The companion's requests: the album's handshake and region requests under
# link id 5, a position on land, at sea and impossible ones.
handshake = "RezidaDoz\0".encode("utf-16-le")
positions = {"shenzhen": (22.54, 114.06), "sea": (10.0, 150.0), "nan": (float("nan"), 114.0),
             "out_of_range": (91.0, 181.0)}
requests = {"handshake": (20000, handshake)}
for name, (lat, lon) in positions.items():
    requests[name] = (20003, struct.pack("<ddi", lat, lon, 1) + bytes(1056 - 20))
for name, (code, data) in requests.items():
    header = b"DZLK" + struct.pack("<IQQII", 0x4A, 1001, (5 << 16) | code, 1, len(data))
    put("companion_request", name, header + data)

# A small PNG (grey with alpha, filtered rows) for the image target.
rows = b"".join(b"\x01" + bytes((x * 9 + y * 5) & 0xFF for x in range(8) for _ in (0, 1))
                for y in range(6))
chunk = lambda kind, body: (struct.pack(">I", len(body)) + kind + body +
                            struct.pack(">I", zlib.crc32(kind + body)))
put("image_decode", "grey_alpha.png", b"\x89PNG\r\n\x1a\n" +
    chunk(b"IHDR", struct.pack(">IIBBBBB", 8, 6, 8, 4, 0, 0, 0)) +
    chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def catalogue(name, statements, rows):
    path = os.path.join(root, "catalogue_open", name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    db.execute("pragma page_size=512")
    for statement in statements:
        db.execute(statement)
    for statement, values in rows:
        db.execute(statement, values)
    db.commit()
    db.close()


schema = [line.rstrip("\n") for line in open(schema_file, encoding="utf-8") if line.strip()]
photo = ("insert into tJpgMsg(idPic,bJpgThumbData,strFullPath,strName,strPath,dwDateTime,"
         "strModel,nWidth,nHeight,strOrientation) values(?,?,?,?,?,?,?,?,?,?)")
catalogue("full.db", schema, [
    (photo, (42, thumbnail + b"\0", "/p/a.jpg", "a.jpg", "/p", 1700000000, "X100", 640, 480,
             "Right-top")),
    ("insert into tFolder values(?,?)", ("/p", 1700000000)),
    ("insert into tKeyWord(strKeyword,idPic) values(?,?)", ("海", 42)),
])
# Tables with missing and wrongly typed columns.
catalogue("odd_columns.db", [
    "create table tJpgMsg(idPic text, strFullPath blob)",
    "create table tFolder(strFolderPath integer)",
], [("insert into tJpgMsg values(?,?)", ("x", b"\0\1"))])
