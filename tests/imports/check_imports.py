#!/usr/bin/env python3
"""Fails when an exe imports a function that the oldest system of its build lacks.

usage: check_imports.py ALLOWED_LIST EXE...

Each exe's import table is read with objdump -p. A 32-bit exe may import only functions whose
documented minimum client is XP SP3 or older, a 64-bit exe only Windows 7 or older. A function
that is not on the list fails too: look up its minimum first, then add it.
"""
import re
import subprocess
import sys

ORDER = ["2000", "xp", "xpsp2", "xpsp3", "xp64", "vista", "7", "8", "8.1", "10"]
# xp64: the 64-bit XP and Server 2003 products, which no 32-bit system is.
OLDEST = {"pei-i386": "xpsp3", "pei-x86-64": "7"}


def read_allowed(path):
    allowed = {}
    for n, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        fields = line.split()
        if len(fields) < 2 or fields[1] not in ORDER or "!" not in fields[0]:
            sys.exit(f"{path}:{n}: expected DLL!function and one of {' '.join(ORDER)}")
        # A third field is the oldest system that has the function where its page names a
        # newer one; the note after it says why.
        oldest = fields[2] if len(fields) > 2 and fields[2] in ORDER else fields[1]
        allowed[fields[0].lower()] = oldest
    return allowed


def imports(exe):
    out = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", exe], check=True, capture_output=True,
                         text=True).stdout
    fmt = re.search(r"file format (\S+)", out).group(1)
    found, dll = [], None
    for line in out.splitlines():
        m = re.match(r"\s+DLL Name: (\S+)", line)
        if m:
            dll = m.group(1)
            continue
        if dll is None:
            continue
        if not line.strip():
            dll = None
            continue
        m = re.match(r"\t[0-9a-f]+\t\s*(\d+)\s+(\S+)$", line)
        if m:
            found.append(f"{dll}!{m.group(2)}")
        elif re.match(r"\t[0-9a-f]+\t", line):  # by ordinal: no name to look up
            found.append(f"{dll}!#{line.split()[1]}")
    return fmt, found


def main():
    allowed = read_allowed(sys.argv[1])
    failed = False
    for exe in sys.argv[2:]:
        fmt, found = imports(exe)
        oldest = OLDEST[fmt]
        bad = []
        for name in found:
            have = allowed.get(name.lower())
            if have is None:
                bad.append(f"{name}: not on the list")
            elif ORDER.index(have) > ORDER.index(oldest):
                bad.append(f"{name}: needs {have}, this build runs from {oldest}")
        print(f"{exe}: {len(found)} imports, {len(bad)} not on every {oldest} system")
        for b in bad:
            print(f"  {b}")
        failed |= bool(bad) or not found
    sys.exit(1 if failed else 0)


main()
