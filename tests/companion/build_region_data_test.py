#!/usr/bin/env python3
"""The region data converter on tiny packages written here: names mapped to
the official ones, and a build that stops on a name it cannot map."""

import io
import json
import os
import sqlite3
import subprocess
import sys
import tarfile
import tempfile
import unittest

CONVERTER = sys.argv.pop(1)

NAMES = {
    "dist/province.csv": "code,name,province\n110000,北京市,11\n440000,广东省,44\n"
                         "710000,台湾省,71\n810000,香港特别行政区,81\n820000,澳门特别行政区,82\n",
    "dist/city.csv": "code,name,province,city\n440300,深圳市,44,03\n",
    "dist/area.csv": "code,name,province,city,area\n110101,东城区,11,01,01\n"
                     "440304,福田区,44,03,04\n440311,光明区,44,03,11\n",
    "dist/hongkong.csv": "code, name, province, city, area\n810001,中西区,81,00,01\n",
    "dist/macau.csv": "code, name, province, city, area\n820001,花地玛堂区,82,00,01\n",
    "dist/country.csv": "id,cnname,name,fullname,alpha2,alpha3,numeric\n1,法国,France,,FR,FRA,250\n",
}


def square(lon, lat):
    """A 0.1 degree square as the package stores it (degrees on the 1/1024 grid)."""
    d = 102 / 1024
    return [[[lon, lat], [lon + d, lat], [lon + d, lat + d], [lon, lat + d], [lon, lat]]]


def collection(*features):
    return {"type": "FeatureCollection", "features": [
        {"id": code, "type": "Feature", "properties": {"name": name, "cp": [lon, lat]},
         "geometry": {"type": "Polygon", "coordinates": square(lon, lat)}}
        for code, name, lon, lat in features]}


def districts(shenzhen_features):
    files = {
        "beijing": collection(("110101", "东城区", 116.4, 39.9)),
        "tianjin": collection(), "shanghai": collection(), "chongqing": collection(),
        "xianggang": collection(("810001", "中西区", 114.15, 22.28)),
        "aomen": collection(("820001", "花地玛堂区", 113.54, 22.2)),
        "guang3_dong1_shen1_zhen4": collection(*shenzhen_features),
        "tai2_wan1_tai2_bei3": collection(("", "中正區", 121.5, 25.0)),
    }
    members = {f"geojson/shape-with-internal-borders/{stem}.geojson": json.dumps(data)
               for stem, data in files.items()}
    members["structure.json"] = json.dumps({"广东": ["深圳"], "台湾": ["臺北"]})
    members["registry.json"] = json.dumps({
        "PINYIN_MAP": {"深圳": "shen1_zhen4", "臺北": "tai2_bei3"},
        "GEOJSON_FILE_MAP": {"shen1_zhen4": "shape-with-internal-borders/guang3_dong1_shen1_zhen4",
                             "tai2_bei3": "shape-with-internal-borders/tai2_wan1_tai2_bei3"}})
    return members


WORLD = {"world.zh.json": json.dumps({"type": "FeatureCollection", "features": [
    {"type": "Feature", "properties": {"name": "日本", "iso_a3": "JPN"},
     "geometry": {"type": "Polygon", "coordinates": square(139.7, 35.6)}}]})}


def countries(*codes):
    """Outlines keyed by ISO alpha-3 code only, as the 1 km country package has them."""
    return {"map.geo.json": json.dumps({"type": "FeatureCollection", "features": [
        {"type": "Feature", "properties": {"A3": code},
         "geometry": {"type": "Polygon", "coordinates": square(10.0 * i, 40.0)}}
        for i, code in enumerate(codes)]})}


def write_package(path, members):
    with tarfile.open(path, "w:gz") as tar:
        for name, text in members.items():
            data = text.encode("utf-8")
            info = tarfile.TarInfo("package/" + name)
            info.size = len(data)
            tar.addfile(info, io.BytesIO(data))


class TheRegionDataConverter(unittest.TestCase):
    def convert(self, shenzhen_features, aliases="", country_codes=("JPN", "FRA", "XKX", "CHN")):
        folder = tempfile.mkdtemp()
        paths = {key: os.path.join(folder, key) for key in
                 ("districts.tgz", "names.tgz", "world.tgz", "countries.tgz", "aliases.csv",
                  "country_names.csv", "out.db")}
        write_package(paths["districts.tgz"], districts(shenzhen_features))
        write_package(paths["names.tgz"], NAMES)
        write_package(paths["world.tgz"], WORLD)
        write_package(paths["countries.tgz"], countries(*country_codes))
        with open(paths["aliases.csv"], "w", encoding="utf-8") as f:
            f.write("old_code,old_name,new_code,reason\n" + aliases)
        with open(paths["country_names.csv"], "w", encoding="utf-8") as f:
            f.write("iso_a3,name\nXKX,科索沃\n")
        result = subprocess.run(
            [sys.executable, CONVERTER, "--districts", paths["districts.tgz"],
             "--names", paths["names.tgz"], "--world", paths["world.tgz"],
             "--countries", paths["countries.tgz"], "--country-names", paths["country_names.csv"],
             "--aliases", paths["aliases.csv"], "--output", paths["out.db"]],
            capture_output=True, text=True)
        return result, paths["out.db"]

    def test_maps_short_old_and_traditional_names_to_the_official_ones(self):
        result, out = self.convert([("440304", "福田区", 114.05, 22.52),
                                    ("440306", "宝安区", 113.9, 22.6)],
                                   aliases="440306,宝安区,440311,part became 光明区\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        db = sqlite3.connect(out)
        rows = {tuple(n for n in row if n) for row in
                db.execute("SELECT name0, name1, name2 FROM region")}
        self.assertEqual(rows, {
            ("北京市", "北京市", "东城区"), ("广东省", "深圳市", "福田区"),
            ("广东省", "深圳市", "光明区"), ("香港特别行政区", "香港特别行政区", "中西区"),
            ("澳门特别行政区", "澳门特别行政区", "花地玛堂区"), ("台湾省", "台北市", "中正区"),
            ("日本",), ("法国",), ("科索沃",)})
        self.assertEqual(db.execute("SELECT old_name, name FROM alias").fetchall(),
                         [("宝安区", "光明区")])

    def test_stops_the_build_on_a_name_it_cannot_map(self):
        good = ("440304", "福田区", 114.05, 22.52)
        cases = [("a district", [good, ("440399", "不存在区", 113.9, 22.6)], ("JPN",), "不存在区"),
                 ("a country", [good], ("JPN", "ATL"), "ATL")]
        for what, features, codes, name in cases:
            with self.subTest(what):
                result, out = self.convert(features, country_codes=codes)
                self.assertEqual(result.returncode, 1)
                self.assertIn(name, result.stderr)
                self.assertIn("could not be mapped", result.stderr)
                self.assertFalse(os.path.exists(out))

if __name__ == "__main__":
    unittest.main()
