#!/usr/bin/env python3
"""Writes Hexlane's sample data: four invented sector files in the fixed-column
sector-file format, a sample map built from them with hexlane-tool, and two of
its sectors exported as T5 tab- and column-delimited files.

Every name and value is made up here, from a fixed seed, so the output is the
same on every run and every machine. Run from anywhere:

    python3 samples/generate.py                      # uses build/bin/hexlane-tool
    python3 samples/generate.py --tool path/to/hexlane-tool
    python3 samples/generate.py --sec-only           # only the .sec files

The files land beside this script.
"""

import argparse
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
RULER = "....+....1....+....2....+....3....+....4....+....5....+....6....+....7....+....8"

# The four sectors in a 2 x 2 block: name, sector column, sector row.
SECTORS = [("Marrowind", 1, 1), ("Quillon", 2, 1), ("Brisenne", 1, 2), ("Corvath", 2, 2)]

# Allegiances: name, import code, colour (#RRGGBB), hatch style, notes, and
# the map-wide hex (column, row) and radius of the region each holds.
ALLEGIANCES = [
    ("Quillon Hegemony", "Qh", "#3060C0", "FDiagonal",
     "A trading hegemony ruled from its capital by a council of shipping houses.", (46, 18), 21),
    ("Corvath Compact", "Cc", "#C04830", "Cross",
     "A mutual-defence compact of mining worlds along the coreward rifts.", (50, 62), 22),
    ("Free Brisenne Worlds", "Fb", "#40A050", "Solid",
     "Loosely joined independent worlds that keep their own laws.", (13, 58), 15),
]
# Sectors of the map also written as T5 files: tab-delimited and column-delimited.
T5_SAMPLES = [("Quillon", ".tab"), ("Corvath", ".txt")]
UNALIGNED_CODE = "--"  # matches no allegiance: such systems import as "Unknown"

# Alternate tech levels: one (value, description) per standard level 0-9, A-G.
ALT_TECH_LEVELS = [
    (0, "Hand tools and fire"), (0, "Smelted metal and sail"), (1, "Printing and clockwork"),
    (2, "Steam and rail"), (3, "Electric power"), (4, "Flight and radio"), (5, "Atomic age"),
    (6, "Orbital flight"), (7, "Networks and fusion trials"), (8, "Sublight colonies"),
    (9, "First jump drives"), (10, "Settled jump lanes"), (11, "Gravitic industry"),
    (12, "Compact fusion"), (12, "Advanced gravitics"), (13, "Frontier of known science"),
    (14, "Beyond the frontier"),
]


class Rng:
    """xorshift32: small, fixed and ours, so the output never depends on a library."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF or 1

    def next(self):
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.state = x
        return x

    def below(self, n):
        return self.next() % n

    def dice(self, count, sides=6):
        return sum(1 + self.below(sides) for _ in range(count))

    def chance(self, percent):
        return self.below(1000) < percent * 10

    def pick(self, items):
        return items[self.below(len(items))]


DIGITS = "0123456789ABCDEFG"

FIRST = ["ar", "bel", "cor", "dun", "esh", "fal", "gri", "hal", "ist", "jor", "kel", "lum", "mar",
         "nov", "oth", "pra", "quel", "ros", "sil", "tav", "umb", "ves", "wyn", "yor", "zel", "bra",
         "cae", "dro", "fen", "gol", "hes", "ith", "kor", "lis", "mor", "nal", "orr", "pel", "rav",
         "sor", "tir", "ulv", "vor", "wen"]
MIDDLE = ["a", "e", "i", "o", "u", "ae", "io", "an", "en", "or", "il", "ar"]
LAST = ["ne", "th", "ra", "dor", "mir", "vos", "ka", "len", "sa", "rin", "ton", "lis", "gar", "wen",
        "dis", "nor", "phe", "cas", "mos", "tis", "ven", "ra", "lo", "ix"]
SUFFIX = ["", "", "", "", "", "", " Prime", " Reach", " Hold", " Gate", " Deep", " Rest", " Major"]


def system_name(rng, taken):
    while True:
        name = rng.pick(FIRST) + (rng.pick(MIDDLE) if rng.chance(45) else "") + rng.pick(LAST)
        name = name[0].upper() + name[1:]
        suffix = rng.pick(SUFFIX)
        if len(name + suffix) <= 14:
            name += suffix
        if len(name) <= 14 and name not in taken:
            taken.add(name)
            return name


def clamp(v, lo, hi):
    return max(lo, min(hi, v))


def planet(rng, allegiance):
    """A planetary profile: starport, the six codes, tech level, as digits."""
    size = clamp(rng.dice(2) - 2, 0, 10)
    atmosphere = 0 if size == 0 else clamp(rng.dice(2) - 7 + size, 0, 15)
    if size <= 1:
        hydro = 0
    else:
        hydro = rng.dice(2) - 7 + size - (4 if atmosphere <= 1 or atmosphere >= 10 else 0)
        hydro = clamp(hydro, 0, 10)
    population = clamp(rng.dice(2) - 2 + (1 if allegiance else -1), 0, 10)
    government = 0 if population == 0 else clamp(rng.dice(2) - 7 + population, 0, 13)
    law = 0 if population == 0 else clamp(rng.dice(2) - 7 + government, 0, 9)
    roll = rng.dice(2) + (1 if population >= 8 else 0) - (2 if population <= 2 else 0)
    starport = "X" if population == 0 and rng.chance(60) else \
        "A" if roll >= 11 else "B" if roll >= 9 else "C" if roll >= 7 else "D" if roll >= 5 else \
        "E" if roll >= 3 else "X"
    if population == 0:
        tech = 0
    else:
        tech = rng.dice(1) + {"A": 6, "B": 4, "C": 2, "D": 0, "E": 0, "X": -3}[starport]
        tech += 1 if population >= 9 else 0
        tech += 1 if atmosphere <= 3 or atmosphere >= 10 else 0
        tech += 1 if allegiance else 0
        tech = clamp(tech, 1, 15)
    return starport, size, atmosphere, hydro, population, government, law, tech


def trade_remarks(size, atmosphere, hydro, population, government):
    """The trade codes as Hexlane derives them from the planetary codes."""
    rules = [
        ("Agr", 4 <= atmosphere <= 9 and 4 <= hydro <= 8 and 5 <= population <= 7),
        ("NAg", atmosphere <= 3 and hydro <= 3 and population >= 6),
        ("Ind", atmosphere in (0, 1, 2, 4, 7, 9) and population >= 9),
        ("NI", population <= 6),
        ("Rich", atmosphere in (6, 8) and 4 <= government <= 9 and 6 <= population <= 8),
        ("Poor", 2 <= atmosphere <= 5 and hydro <= 3),
        ("V", atmosphere == 0),
        ("AB", size == 0),
        ("IC", atmosphere <= 1 and hydro >= 1),
        ("D", hydro == 0 and atmosphere >= 2),
        ("W", hydro == 10),
    ]
    return " ".join(code for code, holds in rules if holds)[:16]


def base_code(rng, starport, allegiance):
    if starport == "A":
        return rng.pick(["A", "A", "N", "N", "S", "B", " ", " "])
    if starport == "B":
        return rng.pick(["N", "S", "S", "W", " ", " ", "A"])
    if starport == "C":
        return rng.pick(["S", "W", " ", " ", " ", " "] + (["M"] if allegiance == "Cc" else []))
    if starport == "D":
        return rng.pick(["W", "D", " ", " ", " ", " ", " "])
    return " "


SPECTRA = ["F", "G", "G", "K", "K", "M", "M", "M", "M"]


def stellar(rng):
    def star(main):
        kind = rng.pick(SPECTRA) if main else rng.pick(["K", "M", "M"])
        size = rng.pick(["V", "V", "V", "V", "IV", "III"]) if main else rng.pick(["V", "V", "D"])
        return "%s%d %s" % (kind, rng.below(10), size)
    text = star(True)
    if rng.chance(35):
        text += " " + star(False)
    return text[:16]


def hex_distance(a, b):
    """Parsecs between two map-wide hexes; odd columns stand half a hex higher."""
    x1, z1 = a[0], a[1] + a[0] // 2
    x2, z2 = b[0], b[1] + b[0] // 2
    dx, dz = x2 - x1, z2 - z1
    if dx == 0:
        return abs(dz)
    if dz == 0 or (dx > 0) == (dz > 0):
        return max(abs(dx), abs(dz))
    return abs(dx) + abs(dz)


def allegiance_at(gx, gy):
    for name, code, _, _, _, centre, radius in ALLEGIANCES:
        if hex_distance((gx, gy), centre) <= radius:
            return code
    return None


def sector_systems(rng, sector, sx, sy, taken):
    systems = []
    for column in range(1, 33):
        for row in range(1, 41):
            gx, gy = (sx - 1) * 32 + column, (sy - 1) * 40 + row
            code = allegiance_at(gx, gy)
            if not rng.chance(9 if code else 5):
                continue
            starport, size, atm, hyd, pop, gov, law, tech = planet(rng, code)
            zone = "R" if rng.chance(1.5) else "A" if rng.chance(5) else " "
            pbg = "%d%d%d" % (0 if pop == 0 else 1 + rng.below(9), rng.below(3), rng.below(5))
            systems.append({
                "name": system_name(rng, taken),
                "hex": "%02d%02d" % (column, row),
                "global": (gx, gy),
                "upc": "".join(DIGITS[v] for v in (size, atm, hyd, pop, gov, law)),
                "starport": starport,
                "tech": DIGITS[tech],
                "base": base_code(rng, starport, code),
                "remarks": trade_remarks(size, atm, hyd, pop, gov),
                "zone": zone,
                "pbg": pbg,
                "allegiance": code or UNALIGNED_CODE,
                "stellar": stellar(rng),
            })
    return systems


def system_line(s):
    # Columns: 1-14 name, 15-18 hex, 20 starport, 21-26 codes, 28 tech level,
    # 31 base, 32-48 remarks, 49 zone, 52-54 PBG, 56-57 allegiance, 59- stars.
    line = (s["name"].ljust(14) + s["hex"] + " " + s["starport"] + s["upc"] + "-" + s["tech"] + "  " +
            s["base"] + (" " + s["remarks"]).ljust(17) + s["zone"] + "  " + s["pbg"] + " " + s["allegiance"] + " " +
            s["stellar"])
    line = line.rstrip()
    assert len(line) >= 59 and line[18] == " " and line[26] == "-"
    return line


def write_sector_file(path, name, systems):
    header = [
        "# %s: an invented sector for Hexlane's sample map." % name,
        "# Written by samples/generate.py; regenerate rather than edit.",
        "#",
        # The column headings, each over its field.
        ("#Name".ljust(14) + "Hex " + " " + "Codes".ljust(11) + "B" + " Remarks".ljust(17) + "Z" +
         "  " + "PBG" + " " + "Al" + " " + "Stars"),
    ]
    with open(path, "w", newline="\n", encoding="ascii") as f:
        for line in header:
            f.write(line + "\n")
        f.write(RULER + "\n")
        for s in systems:
            f.write(system_line(s) + "\n")


def route_through(systems, start, heading, legs, jump=5):
    """A chain of systems from `start`, each the nearest within `jump` parsecs
    that moves on in the heading (dx, dy)."""
    by_name = {s["name"]: s for s in systems}
    path = [by_name[start]]
    for _ in range(legs):
        here = path[-1]["global"]
        best = None
        for s in systems:
            there = s["global"]
            if s in path or hex_distance(here, there) > jump:
                continue
            progress = (there[0] - here[0]) * heading[0] + (there[1] - here[1]) * heading[1]
            if progress <= 0:
                continue
            key = (hex_distance(here, there) - progress, s["name"])
            if best is None or key < best[0]:
                best = (key, s)
        if best is None:
            break
        path.append(best[1])
    return [s["name"] for s in path]


def nearest(systems, point):
    return min(systems, key=lambda s: (hex_distance(s["global"], point), s["name"]))["name"]


def run(tool, *args):
    result = subprocess.run([tool] + [str(a) for a in args], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("hexlane-tool %s failed: %s" % (" ".join(str(a) for a in args), result.stderr.strip()))
    return result.stdout


def build_map(tool, all_systems, map_path):
    with tempfile.TemporaryDirectory() as work:
        tmp = os.path.join(work, "sample.map")
        for name, sx, sy in SECTORS:
            run(tool, "add-sector", tmp, name, sx, sy)
        # Allegiances first, so the import finds their codes.
        for name, code, colour, style, notes, _, _ in ALLEGIANCES:
            run(tool, "set-allegiance", tmp, name, "--code", code, "--color", colour, "--style", style,
                "--notes", notes)
        for name, _, _ in SECTORS:
            messages = run(tool, "import-sec", tmp, name, os.path.join(HERE, name + ".sec"))
            if messages.strip():
                sys.exit("unexpected import messages for %s:\n%s" % (name, messages))
        spine = route_through(all_systems, nearest(all_systems, (26, 16)), (1, 0), 6)
        post = route_through(all_systems, nearest(all_systems, (6, 58)), (1, 0), 4)
        run(tool, "add-route", tmp, "Marrow Spine", *spine, "--color", "#E0C020", "--line-type", 0,
            "--thickness", 2)
        run(tool, "add-route", tmp, "Brisenne Post", *post, "--color", "clFuchsia", "--line-type", 1)
        levels = []
        for code, (value, description) in zip(DIGITS, ALT_TECH_LEVELS):
            levels += ["--level", code, value, description]
        run(tool, "set-alt-tl", tmp, *levels)
        os.replace(tmp, map_path)
    return spine, post


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tool", default=os.path.join(HERE, "..", "build", "bin", "hexlane-tool"),
                        help="the hexlane-tool program (default: build/bin/hexlane-tool)")
    parser.add_argument("--sec-only", action="store_true", help="write only the four sector files")
    args = parser.parse_args()

    rng = Rng(0x5EC7A1)
    taken = set()
    all_systems = []
    for name, sx, sy in SECTORS:
        systems = sector_systems(rng, name, sx, sy, taken)
        write_sector_file(os.path.join(HERE, name + ".sec"), name, systems)
        all_systems += systems
        print("%s.sec: %d systems" % (name, len(systems)))
    if args.sec_only:
        return
    if not os.path.exists(args.tool):
        sys.exit("hexlane-tool not found at %s (build it, or pass --tool)" % args.tool)
    spine, post = build_map(args.tool, all_systems, os.path.join(HERE, "sample.map"))
    print("sample.map: routes Marrow Spine (%d legs), Brisenne Post (%d legs)" % (len(spine) - 1, len(post) - 1))
    # Two sectors of the map in the T5 formats, as the editor exports them.
    for name, extension in T5_SAMPLES:
        run(args.tool, "export-sec", os.path.join(HERE, "sample.map"), name, os.path.join(HERE, name + extension))
        print("%s%s: exported from sample.map" % (name, extension))


if __name__ == "__main__":
    main()
