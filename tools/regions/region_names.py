"""Official region names (GB/T 2260) for the polygons of the district package.

The polygon data names its units by the short or older names of 2017-18 and
mostly carries their codes of that time; this module turns every unit into
the official names of today and stops with MappingError on one it cannot place,
so that a wrong name never ships.
"""

import csv
import io
import subprocess

MUNICIPALITY_CODES = {"11", "12", "31", "50"}
SPECIAL_REGION_CODES = {"81", "82"}
# Codes ddxx90yy are county-level units under the province itself.
PROVINCE_RUN_CITY = "90"


class MappingError(Exception):
    """A unit of the polygon data has no official name."""


def read_csv(text):
    rows = csv.reader(io.StringIO(text))
    next(rows)
    return [[cell.strip() for cell in row] for row in rows if row]


class OfficialNames:
    def __init__(self, files, aliases_text):
        """files: csv texts keyed by province, city, area, hongkong, macau."""
        self.by_code = {}
        self.provinces = {}
        for code, name, _ in read_csv(files["province"]):
            self.by_code[code] = name
            self.provinces[code[:2]] = name
        self.cities = {}
        for code, name, *_ in read_csv(files["city"]):
            self.by_code[code] = name
            self.cities[code[:4]] = name
        self.districts_of_city = {}
        for key in ("area", "hongkong", "macau"):
            for code, name, *_ in read_csv(files[key]):
                self.by_code[code] = name
                self.districts_of_city.setdefault(code[:4], {})[name] = code
        self.aliases = {}
        for row in read_csv(aliases_text):
            if row[0].startswith("#"):
                continue
            # old_code is the unit's own code, or for a unit without one the
            # first four digits of its file's city; an empty new_code leaves
            # the unit out.
            old_code, old_name, new_code, reason = row
            self.aliases[(old_code, old_name)] = (new_code, reason)
        self.used_aliases = []

    def province_of_short(self, short):
        found = [(c, n) for c, n in self.provinces.items() if n.startswith(short)]
        if len(found) != 1:
            raise MappingError(f"province '{short}' matches {len(found)} official names")
        return found[0]

    def city_of_short(self, province_short, city_short):
        """The four-digit code of a city named by its short name, or ""."""
        if city_short is None:
            return ""
        province, _ = self.province_of_short(province_short)
        found = [c for c, n in self.cities.items() if c[:2] == province and n.startswith(city_short)]
        return found[0] if len(found) == 1 else ""

    def _swap_suffix_candidates(self, name):
        # A county turned into a district or city keeps its stem.
        for old in ("县", "区", "市", "自治县"):
            if name.endswith(old):
                stem = name[: -len(old)]
                return [stem + new for new in ("区", "市", "县") if new != old]
        return []

    def _resolve_district_code(self, code, name, province, file_city):
        if (code or file_city, name) in self.aliases:
            new_code, reason = self.aliases[(code or file_city, name)]
            if not new_code:
                self.used_aliases.append((name, code, "", "", reason))
                return None
            if new_code not in self.by_code:
                raise MappingError(f"alias of '{name}' points to unknown code {new_code}")
            return self._note(name, code, new_code, reason)
        if code and self.by_code.get(code) == name:
            return code
        siblings = self.districts_of_city.get(code[:4] if code else file_city, {})
        if name in siblings:
            return self._note(name, code, siblings[name], "code changed")
        for candidate in self._swap_suffix_candidates(name):
            if candidate in siblings:
                return self._note(name, code, siblings[candidate], "renamed")
        if code not in self.by_code:
            # The unit moved to another city of the province and got a new
            # code; only a name borne once in the whole country is trusted.
            moved = [c for names in self.districts_of_city.values()
                     for n, c in names.items() if n == name]
            if len(moved) == 1 and moved[0][:2] == province:
                return self._note(name, code, moved[0], "moved")
        raise MappingError(f"district '{name}' (code {code or 'none'}) has no official name")

    def _note(self, name, old_code, new_code, reason):
        self.used_aliases.append((name, old_code, new_code, self.by_code[new_code], reason))
        return new_code

    def names_for_mainland(self, province, code, name, file_city):
        """The three official names and the code of a mainland, Hong Kong or
        Macao unit; (None, None) when the alias table leaves it out."""
        resolved = self._resolve_district_code(code, name, province, file_city)
        if resolved is None:
            return None, None
        province_name = self.provinces[resolved[:2]]
        district = self.by_code[resolved]
        if resolved[:2] in MUNICIPALITY_CODES | SPECIAL_REGION_CODES:
            city = province_name
        elif resolved[2:4] == PROVINCE_RUN_CITY or resolved.endswith("00"):
            city = district
        else:
            city = self.cities.get(resolved[:4])
            if city is None:
                raise MappingError(f"district '{name}' ({resolved}) lies in no official city")
        return [province_name, city, district], resolved


def to_simplified(texts):
    """Traditional to Simplified Chinese with OpenCC, one call for all texts."""
    joined = "\n".join(texts) + "\n"
    try:
        result = subprocess.run(["opencc", "-c", "t2s.json"], input=joined.encode("utf-8"),
                                capture_output=True, check=True)
    except (OSError, subprocess.CalledProcessError) as error:
        raise MappingError(f"opencc cannot turn Taiwan's names into Simplified Chinese "
                           f"({error}); tools/setup.sh installs it") from error
    out = result.stdout.decode("utf-8").split("\n")[: len(texts)]
    if len(out) != len(texts):
        raise MappingError("opencc returned a different number of names")
    return out


def taiwan_city_name(simplified_short):
    # The data names cities without their suffix (台北) and counties with it (嘉义县).
    return simplified_short if simplified_short.endswith(("县", "市")) else simplified_short + "市"


TAIWAN_DISTRICT_SUFFIXES = ("区", "乡", "镇", "市")
