#!/usr/bin/env python3
"""Writes src/transforms/trad_simp_table.inc, the traditional <-> simplified table in GBK codes.

Source: the Unihan files of the Debian package unicode-data (Unihan_Variants.txt for
kSimplifiedVariant / kTraditionalVariant, Unihan_DictionaryLikeData.txt for kFrequency), read
plain or .bz2.

Rule for one character C and its listed variants in one direction:
  - only variants other than C that are double-byte GBK characters count, and C itself must be one;
  - a character that lists itself among its simplified variants is also a simplified character
    (乾 in 乾坤, 著 in 著名, 瞭 in 瞭望): it is never simplified, and never chosen as the
    traditional form of another character (了 stays 了 rather than becoming 瞭);
  - among the remaining variants the one with the lowest kFrequency wins (none counts as least
    frequent); a tie goes to the one listed first;
  - a simplified character that lists itself among its traditional variants and is more frequent
    than the chosen one stays as it is: the traditional form is then a rarer, specialised
    character (出 not 齣, 面 not 麵). Self-listing alone says little, since Unihan lists hundreds
    of plain simplified characters (电, 万) as their own traditional variant;
  - a character left with no variant is not an entry.

Usage: python3 tools/gen_trad_simp.py [--unihan-dir DIR] [--out FILE]
"""

import argparse
import bz2
import os
import subprocess
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_DIR = "/usr/share/unicode"
DEFAULT_OUT = os.path.join(REPO, "src", "transforms", "trad_simp_table.inc")
NO_FREQUENCY = 6  # kFrequency runs from 1 (most frequent) to 5


def open_unihan(directory, name):
    path = os.path.join(directory, name)
    if os.path.exists(path):
        return path, open(path, encoding="utf-8")
    if os.path.exists(path + ".bz2"):
        return path + ".bz2", bz2.open(path + ".bz2", "rt", encoding="utf-8")
    sys.exit(f"{path}(.bz2) not found; install the unicode-data package")


def records(stream, wanted):
    for line in stream:
        if line.startswith("#") or not line.strip():
            continue
        cp, key, value = line.rstrip("\n").split("\t", 2)
        if key in wanted:
            yield chr(int(cp[2:], 16)), key, value


def gbk_code(ch):
    """The character's two GBK bytes as one number, or None when it is not double-byte GBK."""
    try:
        b = ch.encode("gbk")
    except UnicodeEncodeError:
        return None
    if len(b) != 2 or b.decode("gbk") != ch:
        return None
    return b[0] << 8 | b[1]


def choose(ch, variants, freq, also_simplified, to_simplified):
    if gbk_code(ch) is None:
        return None
    if to_simplified and ch in also_simplified:
        return None
    candidates = [v for v in variants if v != ch and gbk_code(v) is not None]
    if not to_simplified:
        candidates = [v for v in candidates if v not in also_simplified]
    if not candidates:
        return None
    # min() keeps the first of equal keys, so ties go to the first listed
    best = min(candidates, key=lambda v: freq.get(v, NO_FREQUENCY))
    if not to_simplified and ch in variants and freq.get(ch, NO_FREQUENCY) < freq.get(best, NO_FREQUENCY):
        return None
    return best


def build(directory):
    variants_path, stream = open_unihan(directory, "Unihan_Variants.txt")
    to_simp, to_trad = {}, {}
    with stream:
        for ch, key, value in records(stream, {"kSimplifiedVariant", "kTraditionalVariant"}):
            vs = [chr(int(v[2:], 16)) for v in value.split()]
            (to_simp if key == "kSimplifiedVariant" else to_trad)[ch] = vs
    freq_path, stream = open_unihan(directory, "Unihan_DictionaryLikeData.txt")
    with stream:
        freq = {ch: int(v) for ch, _, v in records(stream, {"kFrequency"})}

    also_simplified = {ch for ch, vs in to_simp.items() if ch in vs}

    def table(source, to_simplified):
        pairs = {}
        for ch, vs in source.items():
            target = choose(ch, vs, freq, also_simplified, to_simplified)
            if target is not None:
                pairs[gbk_code(ch)] = gbk_code(target)
        return sorted(pairs.items())

    return table(to_simp, True), table(to_trad, False), (variants_path, freq_path)


def package_version():
    try:
        out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "unicode-data"],
                             capture_output=True, text=True, check=True)
        return out.stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        return "unknown"


def emit(name, pairs):
    lines = [f"inline constexpr std::uint16_t {name}[][2] = {{"]
    row = []
    for a, b in pairs:
        row.append(f"{{0x{a:04X}, 0x{b:04X}}},")
        if len(row) == 6:
            lines.append("    " + " ".join(row))
            row = []
    if row:
        lines.append("    " + " ".join(row))
    lines.append("};")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--unihan-dir", default=DEFAULT_DIR)
    parser.add_argument("--out", default=DEFAULT_OUT)
    args = parser.parse_args()

    t2s, s2t, sources = build(args.unihan_dir)
    text = "\n".join([
        "// Generated by tools/gen_trad_simp.py; do not edit.",
        f"// Source: {sources[0]} and {sources[1]}",
        f"// Package: unicode-data {package_version()}",
        "// Regenerate: python3 tools/gen_trad_simp.py",
        "// Pairs of GBK codes (lead byte << 8 | trail byte), sorted by the first code.",
        f"// {len(t2s)} traditional -> simplified, {len(s2t)} simplified -> traditional.",
        "",
        emit("kTradToSimp", t2s),
        "",
        emit("kSimpToTrad", s2t),
        "",
    ])
    with open(args.out, "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    print(f"{args.out}: {len(t2s)} + {len(s2t)} pairs")


if __name__ == "__main__":
    main()
