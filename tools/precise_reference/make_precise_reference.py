#!/usr/bin/env python3
"""Writes tests/precise/data/precise_reference.tsv, the reference positions the precise engine
is tested against, by running the Swiss Ephemeris command line program `swetest`.

swetest and its library are AGPL (or commercial); they are only run here, as a separate
program, to write test data. Nothing of them goes into solvane or solvane-chart.

  sudo apt-get install swetest swe-basic-data
  python3 tools/precise_reference/make_precise_reference.py          # writes the table
  python3 tools/precise_reference/make_precise_reference.py --output /tmp/t.tsv

The table regenerates byte for byte: every instant comes from a fixed rule or from a
deterministic event search (a coarse scan of swetest's series output, then a bracketed root
search with single swetest runs), and every number is printed with a fixed format. Any
warning from swetest (such as falling back to its Moshier ephemeris when a data file is
missing) stops the run, so a table is never written from the wrong ephemeris.
"""

import argparse
import datetime
import os
import re
import subprocess
import sys
import time

SWETEST = "swetest"
EPHE_DIR = "/usr/share/libswe/ephe"
EPHE_FILES = ("sepl_18.se1", "semo_18.se1")
# Swiss Ephemeris data files, 11 decimals (-ep), no header lines (-head).
COMMON_FLAGS = ("-eswe", "-edir" + EPHE_DIR, "-head", "-ep")
# swetest refuses series longer than 36525 lines; stay well below.
MAX_SERIES_LINES = 30000

# The table covers 1901-01-01 0h to 2051-01-01 0h (Julian days, TT or UT as stated), with
# half a day to spare on each side: a local birth time of 1 January 1901 east of Greenwich is
# still 31 December 1900 in UT.
RANGE_START_JD = 2415385.5
RANGE_END_JD = 2470172.5
SCAN_START_JD = RANGE_START_JD - 1.0
SCAN_END_JD = RANGE_END_JD + 1.0

BODY_QUANTITIES = (  # (table name, swetest body letter), in the order swetest prints them
    ("Sun", "0"), ("Moon", "1"), ("Mercury", "2"), ("Venus", "3"), ("Mars", "4"),
    ("Jupiter", "5"), ("Saturn", "6"), ("Uranus", "7"), ("Neptune", "8"), ("Pluto", "9"),
    ("MeanNode", "m"), ("TrueNode", "t"))
PLANET_LETTERS = {"Mercury": "2", "Venus": "3", "Mars": "4", "Jupiter": "5", "Saturn": "6",
                  "Uranus": "7", "Neptune": "8", "Pluto": "9"}

# Instants that are always in the table (TT Julian days): the range's edges, the edges with
# a zone's worth of hours beyond them, the epoch of the Lahiri ayanamsa (1956 Mar 21.0), and
# Meeus' worked examples (Astronomical Algorithms, 2nd ed.): example 25.b, the Sun on
# 1992 Oct 13.0 TD, and 47.a, the Moon on 1992 Apr 12.0 TD.
FIXED_INSTANTS = (RANGE_START_JD - 0.6, RANGE_START_JD, 2435553.5, 2448724.5, 2448908.5,
                  RANGE_END_JD, RANGE_END_JD + 0.6)
EVENLY_SPREAD_COUNT = 200
# How many events of each kind go into the table, picked evenly from all found in the range.
CONJUNCTIONS_PER_KIND = {"Mercury": 30, "Venus": 20}  # each for inferior and for superior
STATIONS_PER_KIND = 8  # each planet, each for retrograde and for direct stations
NODE_EXTREMES_PER_KIND = 20  # greatest eastward and greatest westward departures
LUNATIONS_PER_KIND = 30  # new moons and full moons
# The true node's departure from the mean node (degrees) that starts a swing to that side.
SWING_THRESHOLD_DEG = 0.5

# Event times are bracketed to this width (days) before rounding to the printed 1e-6 day.
ROOT_WIDTH_DAYS = 2e-7
MAX_ROOT_STEPS = 100

# Places for the Ascendant and Midheaven rows: (east longitude, north latitude), degrees.
PLACES = (
    (77.216667, 28.616667),    # New Delhi
    (72.833333, 18.966667),    # Mumbai
    (80.283333, 13.083333),    # Chennai
    (88.366667, 22.566667),    # Kolkata
    (79.850000, 6.933333),     # Colombo
    (85.316667, 27.716667),    # Kathmandu
    (0.000000, 51.476900),     # Greenwich
    (-0.127500, 51.507200),    # London
    (-21.933333, 64.133333),   # Reykjavik
    (40.533333, 64.550000),    # Arkhangelsk
    (-147.716667, 64.833333),  # Fairbanks
    (177.500000, 64.733333),   # Anadyr
    (-149.900000, 61.216667),  # Anchorage
    (-74.000000, 40.716667),   # New York
    (-118.250000, 34.050000),  # Los Angeles
    (-157.858333, 21.306944),  # Honolulu
    (-99.133333, 19.433333),   # Mexico City
    (-78.500000, -0.216667),   # Quito
    (-77.033333, -12.050000),  # Lima
    (-46.633333, -23.550000),  # Sao Paulo
    (-58.383333, -34.600000),  # Buenos Aires
    (-68.300000, -54.800000),  # Ushuaia
    (-70.900000, -53.150000),  # Punta Arenas
    (18.416667, -33.916667),   # Cape Town
    (36.816667, -1.283333),    # Nairobi
    (3.383333, 6.450000),      # Lagos
    (31.233333, 30.050000),    # Cairo
    (37.616667, 55.750000),    # Moscow
    (139.691667, 35.689500),   # Tokyo
    (103.833333, 1.283333),    # Singapore
    (115.858333, -31.950000),  # Perth
    (151.200000, -33.866667),  # Sydney
    (147.316667, -42.883333),  # Hobart
    (174.766667, -36.850000),  # Auckland
    (178.450000, -18.133333),  # Suva
    (-171.750000, -13.833333),  # Apia
    (0.000000, 0.000000),      # the equator at Greenwich
    (180.000000, 66.000000),   # the edges of the latitudes the chart accepts
    (-179.000000, -66.000000),
    (45.000000, -66.000000),
    (-90.000000, 66.000000),
)
INSTANTS_PER_PLACE = 7
# Step of the low-discrepancy sequence that spreads the places' instants over the range and
# over the hours of the day (the golden ratio's fractional part).
GOLDEN_FRACTION = 0.6180339887498949

DELTA_T_YEARS = range(1901, 2051)
COLUMNS = ("scale", "jd", "quantity", "geo_lon_east", "geo_lat_north", "value")


class SwetestError(RuntimeError):
    pass


def run_swetest(args):
    """Runs swetest with the common flags and returns its output lines, without blank ones."""
    command = [SWETEST, *COMMON_FLAGS, *args]
    env = dict(os.environ, LC_ALL="C")
    done = subprocess.run(command, capture_output=True, text=True, env=env, check=False)
    output = done.stdout + done.stderr
    if done.returncode != 0 or re.search(r"warning|error|illegal|not found", output, re.I):
        raise SwetestError(f"{' '.join(command)}:\n{output}")
    return [line for line in done.stdout.splitlines() if line.strip()]


def jd_text(jd):
    return f"{jd:.6f}"


def numbers(line):
    return [float(field) for field in line.split()]


def wrap180(degrees):
    return (degrees + 180.0) % 360.0 - 180.0


# --- Values at one instant ------------------------------------------------------------------


def body_longitudes(jd_tt_text):
    """Apparent tropical longitudes of date of the twelve bodies, in BODY_QUANTITIES order."""
    letters = "".join(letter for _, letter in BODY_QUANTITIES)
    lines = run_swetest([f"-j{jd_tt_text}", f"-p{letters}", "-fl"])
    if len(lines) != len(BODY_QUANTITIES):
        raise SwetestError(f"expected {len(BODY_QUANTITIES)} bodies, got {lines}")
    return [numbers(line)[0] for line in lines]


def lahiri_ayanamsa(jd_tt_text):
    (line,) = run_swetest([f"-j{jd_tt_text}", "-sid1", "-pb", "-fl"])
    return numbers(line)[0]


def chart_angles(jd_ut_text, lon, lat):
    """Ascendant and Midheaven (degrees) at a UT instant; the house system does not enter."""
    lines = run_swetest([f"-j{jd_ut_text}", "-ut", "-p", f"-house{lon:.6f},{lat:.6f},A",
                         "-fPl"])
    found = {}
    for line in lines:
        match = re.match(r"(Ascendant|MC)\s+(\S+)$", line.strip())
        if match:
            found[match.group(1)] = float(match.group(2))
    if set(found) != {"Ascendant", "MC"}:
        raise SwetestError(f"no Ascendant or MC in {lines}")
    return found["Ascendant"], found["MC"]


def delta_t_seconds(jd_ut_text):
    (line,) = run_swetest([f"-j{jd_ut_text}", "-ut", "-pq", "-fl"])
    return numbers(line)[0]


# --- Coarse scans and event search ----------------------------------------------------------


def series(body_args, fields, step_days, start_jd=SCAN_START_JD, end_jd=SCAN_END_JD):
    """Returns [(jd, [values...])] every step_days from start_jd through end_jd (TT)."""
    total = int(round((end_jd - start_jd) / step_days)) + 1
    rows = []
    first = 0
    while first < total:
        count = min(MAX_SERIES_LINES, total - first)
        chunk_start = start_jd + first * step_days
        lines = run_swetest([f"-j{chunk_start:.9f}", *body_args, f"-f{fields}", f"-n{count}",
                             f"-s{step_days}"])
        if len(lines) != count:
            raise SwetestError(f"series gave {len(lines)} lines, expected {count}")
        rows += [(chunk_start + i * step_days, numbers(line)) for i, line in enumerate(lines)]
        first += count
    return rows


def sign_changes(samples, max_jump):
    """Brackets (jd0, jd1, rising) where the sampled value crosses zero.

    samples: [(jd, value)]. A step larger than max_jump is a wrap of an angle from +180 to
    -180 degrees, not a crossing.
    """
    brackets = []
    for (t0, v0), (t1, v1) in zip(samples, samples[1:]):
        if abs(v1 - v0) > max_jump:
            continue
        if v0 < 0.0 <= v1:
            brackets.append((t0, t1, True))
        elif v0 >= 0.0 > v1:
            brackets.append((t0, t1, False))
    return brackets


def pick_evenly(items, count):
    """count items spread evenly over the list (all of them when there are fewer)."""
    if len(items) <= count:
        return list(items)
    return [items[(2 * i + 1) * len(items) // (2 * count)] for i in range(count)]


def find_root(function, lo, hi):
    """Root of function in [lo, hi], rounded to the table's 1e-6 day; None when the sign does
    not change there after all (a root grazed between two samples).

    Regula falsi with the Illinois rule (halve the weight of an end that stays put): it
    needs a handful of swetest runs where bisection needs twenty, and stays bracketed."""
    f_lo, f_hi = function(lo), function(hi)
    if (f_lo < 0.0) == (f_hi < 0.0):
        return None
    kept_side = 0
    for _ in range(MAX_ROOT_STEPS):
        if hi - lo <= ROOT_WIDTH_DAYS:
            return round(0.5 * (lo + hi), 6)
        guess = (lo * f_hi - hi * f_lo) / (f_hi - f_lo)
        # Keep the guess off the ends, so that the bracket always shrinks.
        margin = 0.25 * ROOT_WIDTH_DAYS
        guess = min(max(guess, lo + margin), hi - margin)
        f_guess = function(guess)
        if f_guess == 0.0:
            return round(guess, 6)
        if (f_guess < 0.0) == (f_lo < 0.0):
            lo, f_lo = guess, f_guess
            f_hi = 0.5 * f_hi if kept_side == 1 else f_hi
            kept_side = 1
        else:
            hi, f_hi = guess, f_guess
            f_lo = 0.5 * f_lo if kept_side == -1 else f_lo
            kept_side = -1
    raise SwetestError(f"no root to {ROOT_WIDTH_DAYS} days in [{lo}, {hi}]")


def single_value(body_args, field, offset=None):
    """A function of the TT Julian day: one number of one swetest run. With an offset the
    number is an angle, returned less the offset and wrapped to +-180 degrees."""
    def value(jd):
        (line,) = run_swetest([f"-j{jd:.9f}", *body_args, f"-f{field}"])
        number = numbers(line)[0]
        return number if offset is None else wrap180(number - offset)
    return value


def refine_all(brackets, function):
    roots = [find_root(function, t0, t1) for t0, t1, _ in brackets]
    return [root for root in roots if root is not None]


# Each search below scans [start, end] (TT Julian days) and returns, per kind of event, the
# brackets of all events of that kind found there and the function whose root each one is.


def conjunction_search(planet, start=SCAN_START_JD, end=SCAN_END_JD):
    """Inferior and superior conjunctions in longitude of Mercury or Venus with the Sun."""
    args = [f"-p{PLANET_LETTERS[planet]}", "-d0"]  # planet minus Sun
    samples = [(jd, wrap180(v[0])) for jd, v in series(args, "l", 1.0, start, end)]
    brackets = sign_changes(samples, max_jump=90.0)
    root = single_value(args, "l", offset=0.0)
    # The planet overtakes the Sun going backwards (inferior) or forwards (superior).
    return {f"{planet} {kind} conjunction": ([b for b in brackets if b[2] == rising], root)
            for kind, rising in (("inferior", False), ("superior", True))}


def station_search(planet, start=SCAN_START_JD, end=SCAN_END_JD):
    args = [f"-p{PLANET_LETTERS[planet]}"]
    samples = [(jd, v[0]) for jd, v in series(args, "s", 1.0, start, end)]
    brackets = sign_changes(samples, max_jump=float("inf"))
    root = single_value(args, "s")
    return {f"{planet} station {kind}": ([b for b in brackets if b[2] == rising], root)
            for kind, rising in (("retrograde", False), ("direct", True))}


def lunation_search(start=SCAN_START_JD, end=SCAN_END_JD):
    args = ["-p1", "-d0"]  # Moon minus Sun
    elongations = [(jd, v[0]) for jd, v in series(args, "l", 0.5, start, end)]
    found = {}
    for kind, offset in (("new moon", 0.0), ("full moon", 180.0)):
        samples = [(jd, wrap180(e - offset)) for jd, e in elongations]
        rising = [b for b in sign_changes(samples, max_jump=90.0) if b[2]]
        found[kind] = (rising, single_value(args, "l", offset=offset))
    return found


def node_extreme_search(start=SCAN_START_JD, end=SCAN_END_JD):
    """Instants where the true node is furthest east or west of the mean node.

    The true node swings about the mean node, mostly with a period of about 173 days and an
    amplitude of 1.4 to 1.9 degrees, with ripples of a fortnight on top. Near the mean node
    the ripples carry the difference across zero and back, so a swing to the other side
    begins only once the difference passes SWING_THRESHOLD_DEG. A swing has many turning
    points (where the two nodes move at the same speed); its extreme is the furthest out.
    """
    args = ["-pt", "-dm"]  # true node minus mean node
    rows = [(jd, wrap180(v[0]), v[1]) for jd, v in series(args, "ls", 0.5, start, end)]
    swings = []  # [largest departure at a turning point, its bracket, east of the mean]
    for (t0, d0, s0), (t1, d1, s1) in zip(rows, rows[1:]):
        east = swings[-1][2] if swings else None
        if abs(d1) > SWING_THRESHOLD_DEG and (d1 > 0.0) != east:
            swings.append([0.0, None, d1 > 0.0])
        if swings and (s0 < 0.0) != (s1 < 0.0) and (d1 > 0.0) == swings[-1][2]:
            size = max(abs(d0), abs(d1))
            if size > swings[-1][0]:
                swings[-1][0:2] = [size, (t0, t1, s1 >= 0.0)]
    speed_difference = single_value(args, "s")
    return {f"true node furthest {side} of mean":
            ([s[1] for s in swings if s[1] is not None and s[2] == east], speed_difference)
            for side, east in (("east", True), ("west", False))}


def find_events(log):
    """Event instants (TT Julian days) by kind, in a fixed order of kinds: of every kind a
    fixed number, picked evenly from all found in the range, then refined."""
    searches = [
        *[(lambda p=p: conjunction_search(p), CONJUNCTIONS_PER_KIND[p])
          for p in ("Mercury", "Venus")],
        *[(lambda p=p: station_search(p), STATIONS_PER_KIND) for p in PLANET_LETTERS],
        (lunation_search, LUNATIONS_PER_KIND),
        (node_extreme_search, NODE_EXTREMES_PER_KIND),
    ]
    events = {}
    for search, count in searches:
        for kind, (brackets, root) in search().items():
            events[kind] = refine_all(pick_evenly(brackets, count), root)
            log(f"{kind}: {len(brackets)} found, {len(events[kind])} kept")
    return events


def evenly_spread_instants():
    span = RANGE_END_JD - RANGE_START_JD
    return [round(RANGE_START_JD + span * (k + 0.5) / EVENLY_SPREAD_COUNT, 6)
            for k in range(EVENLY_SPREAD_COUNT)]


def place_instants(place_index):
    """UT instants for one place, spread over the range and over the hours of the day."""
    span = RANGE_END_JD - RANGE_START_JD
    instants = []
    for i in range(INSTANTS_PER_PLACE):
        n = place_index * INSTANTS_PER_PLACE + i
        fraction = (0.5 + n * GOLDEN_FRACTION) % 1.0
        instants.append(round(RANGE_START_JD + span * fraction, 6))
    return sorted(instants)


def julian_day_0h(year, month, day):
    """Julian day at 0h of a Gregorian date."""
    return datetime.date(year, month, day).toordinal() + 1721424.5


# --- The table ------------------------------------------------------------------------------


def angle_text(degrees):
    text = f"{degrees % 360.0:.9f}"
    return "0.000000000" if text == "360.000000000" else text


def body_rows(instants):
    rows = []
    for jd in instants:
        text = jd_text(jd)
        for (name, _), lon in zip(BODY_QUANTITIES, body_longitudes(text)):
            rows.append(("TT", text, name, "0", "0", angle_text(lon)))
        rows.append(("TT", text, "AyanamsaLahiri", "0", "0", f"{lahiri_ayanamsa(text):.9f}"))
    return rows


def angle_rows():
    rows = []
    for index, (lon, lat) in enumerate(PLACES):
        for jd in place_instants(index):
            text = jd_text(jd)
            ascendant, midheaven = chart_angles(text, lon, lat)
            for name, value in (("Ascendant", ascendant), ("Midheaven", midheaven)):
                rows.append(("UT", text, name, f"{lon:.6f}", f"{lat:.6f}", angle_text(value)))
    return rows


def delta_t_rows():
    rows = []
    for year in DELTA_T_YEARS:
        for month in (1, 7):
            text = jd_text(julian_day_0h(year, month, 1))
            rows.append(("UT", text, "DeltaT", "0", "0", f"{delta_t_seconds(text):.9f}"))
    return rows


def swetest_version():
    lines = run_swetest_with_header(["-j2451545", "-p0"])
    for line in lines:
        match = re.search(r"version\s+(\S+)", line)
        if match:
            return match.group(1)
    raise SwetestError("swetest printed no version")


def run_swetest_with_header(args):
    flags = [flag for flag in COMMON_FLAGS if flag != "-head"]
    done = subprocess.run([SWETEST, *flags, *args], capture_output=True, text=True,
                          env=dict(os.environ, LC_ALL="C"), check=True)
    return done.stdout.splitlines()


def ephemeris_file_notes():
    """The description each data file carries in its header (the JPL ephemeris it is from)."""
    notes = []
    for name in EPHE_FILES:
        with open(os.path.join(EPHE_DIR, name), "rb") as data:
            head = data.read(400).decode("latin-1")
        match = re.search(r"Copyright[^\r\n]*", head)
        notes.append(f"{name}: {match.group(0).strip() if match else '(no description)'}")
    return notes


def header_lines(instant_counts, body_instant_count):
    lahiri_epoch = "2435553.5"
    true_at_epoch = lahiri_ayanamsa(lahiri_epoch)
    (mean_line,) = run_swetest([f"-j{lahiri_epoch}", "-sid1", "-pb", "-fl", "-nonut"])
    mean_at_epoch = numbers(mean_line)[0]
    lines = [
        "Reference positions for the precise engine's tests, written by",
        "tools/precise_reference/make_precise_reference.py: regenerate, do not edit.",
        f"Source: swetest {swetest_version()} (the Swiss Ephemeris command line, Debian",
        "packages swetest and swe-basic-data), run as a separate program.",
        f"Ephemeris: the Swiss Ephemeris files in {EPHE_DIR} (1800-2400):",
        *[f"  {note}" for note in ephemeris_file_notes()],
        f"Flags on every run: {' '.join(COMMON_FLAGS)}",
        "(a run that warns, e.g. of a missing file and a fall-back to the Moshier ephemeris,",
        "stops the tool).",
        "scale: the time scale of jd, TT or UT (UT1). swetest -j<jd> reads jd as TT, and as",
        "UT with -ut (its header prints the scale it used and the other scale's Julian day).",
        "Sun .. Pluto, MeanNode, TrueNode (TT, degrees): swetest -j<jd> -p0123456789mt -fl,",
        "swetest's default: apparent geocentric ecliptic longitude referred to the true",
        "equinox of date (light-time, annual aberration, light deflection, precession and",
        "nutation; -true, -noaberr, -nodefl and -nonut each change the numbers). The mean",
        "and the true (osculating) node include the nutation in longitude of date as well.",
        "AyanamsaLahiri (TT, degrees): swetest -j<jd> -sid1 -pb -fl, swetest's Lahiri",
        "(SE_SIDM_LAHIRI) as a true ayanamsa: a mean ayanamsa fixed at 1956 Mar 21 0h TT",
        "(JD 2435553.5; the Indian Calendar Reform Committee gave 23 15' 00.658\" for that",
        "day), carried to the date by precession, plus the nutation in longitude of date.",
        f"At JD 2435553.5 swetest gives {true_at_epoch:.9f} true, {mean_at_epoch:.9f} mean.",
        "Ascendant, Midheaven (UT, degrees, at the east longitude and north latitude given):",
        "swetest -j<jd> -ut -p -house<lon>,<lat>,A -fPl, its Ascendant and MC lines (of the",
        "true equator and equinox of date; the house system letter does not change them).",
        "DeltaT (UT, seconds, TT - UT at 0h UT on 1 Jan and 1 Jul of 1901..2050): swetest",
        "-j<jd> -ut -pq -fl, swetest's built-in Delta T (sedeltat.txt ships inactive).",
        f"Body instants: {body_instant_count}, 1900 Dec 31 to 2051 Jan 1; each kind picked",
        "evenly from all such events in the range, found by scanning swetest's output:",
        *[f"  {count:4d} {kind}" for kind, count in instant_counts],
        f"Places for the angles: {len(PLACES)}, {INSTANTS_PER_PLACE} UT instants each.",
        "\t".join(COLUMNS),
    ]
    return ["# " + line for line in lines]


def write_table(path, header, rows):
    text = "\n".join(header + ["\t".join(row) for row in rows]) + "\n"
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)


def check_against_meeus(rows):
    """Meeus' worked examples, from his VSOP87 and ELP-2000 series: the Sun to 1", the Moon to
    the 10" his truncated lunar series promises."""
    values = {(row[1], row[2]): float(row[5]) for row in rows}
    checks = (("2448908.500000", "Sun", 199.906060, 1.0),
              ("2448724.500000", "Moon", 133.167265, 10.0))
    for jd, body, expected, tolerance_arcsec in checks:
        got = values[(jd, body)]
        off_arcsec = (got - expected) * 3600.0
        print(f"check: {body} at JD {jd} TT = {got:.6f}, Meeus {expected:.6f}, "
              f"difference {off_arcsec:+.2f}\"", file=sys.stderr)
        if abs(off_arcsec) > tolerance_arcsec:
            raise SwetestError(f"{body} differs from Meeus by {off_arcsec:.2f}\"")


def main():
    default_output = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                  "tests", "precise", "data", "precise_reference.tsv")
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--output", default=os.path.normpath(default_output))
    options = parser.parse_args()
    started = time.monotonic()

    def log(step):
        print(f"{time.monotonic() - started:7.1f} s  {step}", file=sys.stderr)

    events = find_events(log)
    instants = {round(jd, 6): "fixed" for jd in FIXED_INSTANTS}
    for jd in evenly_spread_instants():
        instants.setdefault(jd, "evenly spread")
    for kind, found in events.items():
        for jd in found:
            instants.setdefault(jd, kind)
    counts = {}
    for kind in instants.values():
        counts[kind] = counts.get(kind, 0) + 1
    ordered_kinds = ["fixed", "evenly spread", *events]
    instant_counts = [(kind, counts.get(kind, 0)) for kind in ordered_kinds]

    rows = body_rows(sorted(instants))
    log(f"{len(rows)} body rows")
    check_against_meeus(rows)
    rows += angle_rows()
    log("angles")
    rows += delta_t_rows()
    header = header_lines(instant_counts, len(instants))
    write_table(options.output, header, rows)
    log(f"wrote {len(rows)} rows to {options.output}")


if __name__ == "__main__":
    try:
        main()
    except SwetestError as failure:
        sys.exit(f"make_precise_reference: {failure}")
