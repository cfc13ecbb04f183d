#!/usr/bin/env python3
"""Copies C++ sources with every non-ASCII character of an ordinary narrow string literal
written as GBK \\x escapes, so that clang (which only knows a UTF-8 execution character set)
builds the same bytes g++ does with -fexec-charset=CP936. The conversion is iconv's, as g++'s is.

usage: gbk_literals.py OUT_DIR SRC_ROOT FILE...   (FILE relative to SRC_ROOT)
"""
import os
import subprocess
import sys


def to_gbk(runs):
    if not runs:
        return []
    joined = "\n".join(runs).encode("utf-8")
    out = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP936"], input=joined, check=True,
                         stdout=subprocess.PIPE).stdout
    parts = out.split(b"\n")
    assert len(parts) == len(runs)
    return parts


def literals(src):
    """Yields (start, end) of the contents of every ordinary narrow string literal."""
    i, n = 0, len(src)
    while i < n:
        c = src[i]
        if src.startswith("//", i):
            i = src.find("\n", i)
            i = n if i < 0 else i
        elif src.startswith("/*", i):
            j = src.find("*/", i + 2)
            i = n if j < 0 else j + 2
        elif c == '"' or c == "'":
            k = i
            while k > 0 and (src[k - 1].isalnum() or src[k - 1] == "_"):
                k -= 1
            prefix = src[k:i]
            if c == '"' and prefix.endswith("R"):
                delim = src[i + 1:src.find("(", i)]
                i = src.find(")" + delim + '"', i) + len(delim) + 2
                continue
            j = i + 1
            while j < n and src[j] != c:
                j += 2 if src[j] == "\\" else 1
            if c == '"' and prefix == "":
                yield i + 1, j
            i = j + 1
        else:
            i += 1


def rewrite(src):
    pieces = []  # (start, end, text) of literal contents
    for s, e in literals(src):
        body = src[s:e]
        if any(ord(ch) > 127 for ch in body):
            pieces.append((s, e, body))
    runs = []
    for _, _, body in pieces:
        run = ""
        for ch in body:
            if ord(ch) > 127:
                run += ch
            elif run:
                runs.append(run)
                run = ""
        if run:
            runs.append(run)
    encoded = iter(to_gbk(runs))
    out, last = [], 0
    for s, e, body in pieces:
        out.append(src[last:s])
        k = 0
        while k < len(body):
            if ord(body[k]) <= 127:
                out.append(body[k])
                k += 1
                continue
            while k < len(body) and ord(body[k]) > 127:
                k += 1
            out.append("".join("\\x%02X" % b for b in next(encoded)))
            # A hex digit right after would extend the last escape.
            if k < len(body) and body[k] in "0123456789abcdefABCDEF":
                out.append('" "')
        last = e
    out.append(src[last:])
    return "".join(out)


def main():
    out_dir, root, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    for rel in files:
        with open(os.path.join(root, rel), encoding="utf-8") as f:
            text = rewrite(f.read())
        dest = os.path.join(out_dir, rel)
        os.makedirs(os.path.dirname(dest), exist_ok=True)
        old = None
        if os.path.exists(dest):
            with open(dest, encoding="utf-8") as f:
                old = f.read()
        if old != text:  # untouched files keep their time stamps
            with open(dest, "w", encoding="utf-8") as f:
                f.write(text)


if __name__ == "__main__":
    main()
