#!/usr/bin/env python3
"""Fails when an #include under src/ runs from a lower layer up to a higher one.

Usage: check_layers.py SRC_DIR   (a test of the native build)
"""
import os
import re
import sys

# Bottom first. A folder may include its own layer and the layers below it.
LAYERS = [
    {"transforms"},                                      # rules and text routines
    {"window"},                                          # the controls and the window definition
    {"platform", "platform/headless", "platform/posix", "platform/win32"},  # the ports and their sides
    {"fileset", "fileops"},
    {"pipeline"},
    {"app"},
    {"drive", "win32"},                                  # the front ends
]
# The program does not depend on its test driver: these files include nothing from drive/.
NOT_DRIVEN = re.compile(r"^win32/app[^/]*$")
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'\s*#\s*include\s+"([^"]+)"')


def main(src):
    wrong = []
    for top, _, files in os.walk(src):
        folder = os.path.relpath(top, src).replace(os.sep, "/")
        if folder.startswith("win32/res") or folder == ".":
            continue
        for name in sorted(files):
            if not name.endswith((".h", ".cpp", ".inc")):
                continue
            path = os.path.join(top, name)
            with open(path, encoding="utf-8") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m or "/" not in m.group(1):
                        continue
                    target = os.path.dirname(m.group(1))
                    if folder not in RANK or target not in RANK:
                        wrong.append(f"{folder}/{name}:{number}: {m.group(1)}: a folder no layer names")
                    elif RANK[target] > RANK[folder]:
                        wrong.append(f"{folder}/{name}:{number}: includes {m.group(1)} from a higher layer")
                    elif target == "drive" and NOT_DRIVEN.match(f"{folder}/{name}"):
                        wrong.append(f"{folder}/{name}:{number}: includes {m.group(1)}, the script driver")
    for w in wrong:
        print(w)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
