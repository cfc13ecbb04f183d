#!/usr/bin/env python3
"""Runs scenario cases against a driver: velbrook-drive, or Velbrook.exe under Wine.

A case file has sections introduced by '## NAME' lines:
  setup   bash, run with $T set to a fresh root (creates files)
  script  the driver script
  expect  the transcript; a line starting with SHOW need only be a prefix of the real line,
          a line starting with ~ is a regular expression for the whole line, and a run of
          lines starting with * are regular expressions that match as many real lines in any
          order (for rows in the file system's order)
  disk    `find $T -mindepth 1 -printf '%y %s %P\\n'` sorted (directory sizes not compared,
          a file size of ? accepts any size)
  contents  lines "TEXT PATH": the file $T/PATH holds exactly TEXT (UTF-8, no blanks)
  env     extra KEY=VALUE lines for the driver's environment ($T expanded)
  not-on-wine  a reason: the case is skipped for Velbrook.exe (what Wine cannot do)
The driver runs in $T/v when that folder exists, else in $T, with --root $T
--program-dir $T/prog --tick 1000.

Under Wine the folder browser walks its tree down from a drive to the case's folder, and stops
short when a folder on the way changes while it is read (as /tmp does on a busy machine). With
VELBROOK_CASE_DIR and VELBROOK_CASE_DRIVE set (a quiet folder and the Wine drive that shows it,
such as T:), each $T is made in that folder and handed to Velbrook.exe through that drive.

usage: run_cases.py DRIVER PATH...   (a PATH may be a folder of .case files)
"""
import difflib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time


def parse(path):
    sections, cur = {}, None
    for line in open(path, encoding="utf-8").read().split("\n"):
        if line.startswith("## "):
            cur = line[3:].strip()
            sections[cur] = []
        elif cur is not None:
            sections[cur].append(line)
    return {k: "\n".join(v).strip("\n") for k, v in sections.items()}


def unordered_match(patterns, lines):
    """Each pattern matches its own line; tries every pairing, so keep the runs short."""
    if not patterns:
        return True
    first, rest = patterns[0], patterns[1:]
    return any(re.fullmatch(first, l) and unordered_match(rest, lines[:i] + lines[i + 1:])
               for i, l in enumerate(lines))


def lines_match(exp, act):
    if len(exp) != len(act):
        return False
    i = 0
    while i < len(exp):
        if exp[i].startswith("*"):
            j = i
            while j < len(exp) and exp[j].startswith("*"):
                j += 1
            if not unordered_match([e[1:] for e in exp[i:j]], act[i:j]):
                return False
            i = j
            continue
        e, a = exp[i], act[i]
        i += 1
        if e.startswith("~"):
            if not re.fullmatch(e[1:], a):
                return False
        elif e.startswith("SHOW "):
            if not a.startswith(e):
                return False
        elif e != a:
            return False
    return True


def wine_command():
    if os.environ.get("WINE"):  # scripts/wine-tests.sh names the Wine of the program's bitness
        return os.environ["WINE"]
    for w in ("wine64", "wine"):
        if shutil.which(w):
            return shutil.which(w)
    return "/usr/lib/wine/wine64"


def windows_script(script):
    """Writes the paths under $T with backslashes, doubled inside quoted words."""
    def convert(m, quoted):
        return m.group(0).replace("/", "\\\\" if quoted else "\\")
    out = []
    for line in script.split("\n"):
        parts = re.split(r'("(?:[^"\\]|\\.)*")', line)
        out.append("".join(
            re.sub(r'\$T[^"]*' if p.startswith('"') else r"\$T\S*", lambda m: convert(m, p.startswith('"')), p)
            for p in parts))
    return "\n".join(out)


CASE_DIR = os.environ.get("VELBROOK_CASE_DIR") or None
CASE_DRIVE = os.environ.get("VELBROOK_CASE_DRIVE") or None


def win(path):
    """The path as Velbrook.exe sees it under Wine."""
    if CASE_DIR and CASE_DRIVE and path.startswith(CASE_DIR + "/"):
        return CASE_DRIVE + path[len(CASE_DIR):].replace("/", "\\")
    return "Z:" + path.replace("/", "\\")


def pin_access_times(root):
    """Wine's folder browser finds a folder by comparing the item it parsed from the path with the
    items of its tree, access time included; a folder read between the two (relatime updates the
    access time on the first read after a change) is then not found. An access time after every
    change stays as it is."""
    later = time.time() + 10 * 365 * 24 * 3600
    for d in [CASE_DIR, root] + [os.path.join(p, n) for p, ds, _ in os.walk(root) for n in ds]:
        if d and not os.path.islink(d):
            os.utime(d, (later, os.stat(d).st_mtime))


def run_driver(driver, script, root, env, cwd):
    prog = os.path.join(root, "prog")
    if driver.lower().endswith(".exe"):
        # The script and transcript live outside $T, so that no listing sees them.
        scratch = tempfile.mkdtemp(prefix="vbdrive")
        sf, of = os.path.join(scratch, "script.txt"), os.path.join(scratch, "out.txt")
        with open(sf, "w", encoding="utf-8") as f:
            f.write(windows_script(script) + "\n")
        env = dict(env, WINEDEBUG="-all")
        p = subprocess.run([wine_command(), driver, "--drive", win(sf), "--out", win(of), "--root", win(root),
                            "--program-dir", win(prog), "--tick", "1000"],
                           capture_output=True, env=env, cwd=cwd, timeout=300)
        text = open(of, encoding="utf-8", errors="replace").read() if os.path.exists(of) else ""
        shutil.rmtree(scratch, ignore_errors=True)
        return p, text.replace("\\\\", "/").strip("\n").split("\n")
    p = subprocess.run([driver, "--root", root, "--program-dir", prog, "--tick", "1000", "-"],
                       input=script.encode("utf-8"), capture_output=True, env=env, cwd=cwd, timeout=120)
    return p, p.stdout.decode("utf-8", "replace").strip("\n").split("\n")


def disk_state(root):
    got = []
    for dirpath, dirnames, filenames in os.walk(root):
        for name in dirnames + filenames:
            full = os.path.join(dirpath, name)
            rel = os.path.relpath(full, root)
            if os.path.islink(full):
                got.append(f"l {rel}")
            elif os.path.isdir(full):
                got.append(f"d {rel}")
            else:
                got.append(f"f {os.path.getsize(full)} {rel}")
    return got


def compare_disk(root, want_text):
    bypath = lambda l: l.split(" ", 2)[-1] if l.startswith("f ") else l.split(" ", 1)[-1]
    want = sorted((l for l in want_text.split("\n") if l), key=bypath)
    got = sorted(disk_state(root), key=bypath)
    got = [("f ? " + l.split(" ", 2)[2]) if l.startswith("f ") and ("f ? " + l.split(" ", 2)[2]) in want else l
           for l in got]
    if got == want:
        return None
    return "disk differs:\n    " + "\n    ".join(
        list(difflib.unified_diff(want, got, "expected disk", "actual disk", lineterm="", n=1))[:40])


def compare_contents(root, want_text):
    wrong = []
    for line in want_text.split("\n"):
        if not line.strip():
            continue
        want, rel = line.split(" ", 1)
        try:
            with open(os.path.join(root, rel), "rb") as f:
                got = f.read().decode("utf-8", "replace")
        except OSError as e:
            wrong.append(f"{rel}: {e.strerror}")
            continue
        if got != want:
            wrong.append(f"{rel} holds {got!r}, expected {want!r}")
    return ("contents differ:\n    " + "\n    ".join(wrong)) if wrong else None


def run_case(driver, path):
    c = parse(path)
    if driver.lower().endswith(".exe") and c.get("not-on-wine"):
        return None
    root = tempfile.mkdtemp(prefix="vbcase", dir=CASE_DIR)
    try:
        os.makedirs(os.path.join(root, "prog"))
        if "setup" in c:
            subprocess.run(["bash", "-e", "-c", c["setup"]], env=dict(os.environ, T=root), check=True, cwd=root)
        env = dict(os.environ)
        for kv in c.get("env", "").splitlines():
            if "=" in kv:
                k, v = kv.split("=", 1)
                env[k.strip()] = v.strip().replace("$T", root)
        cwd = os.path.join(root, "v") if os.path.isdir(os.path.join(root, "v")) else root
        if driver.lower().endswith(".exe"):
            pin_access_times(root)
        p, out = run_driver(driver, c.get("script", ""), root, env, cwd)
        problems = []
        if p.returncode != 0:
            problems.append(f"exit {p.returncode}: {p.stderr.decode('utf-8', 'replace')[-300:]}")
        exp = c.get("expect", "").split("\n")
        if not lines_match(exp, out):
            diff = list(difflib.unified_diff(exp, out, "expected", "actual", lineterm="", n=1))
            problems.append("transcript differs:\n    " + "\n    ".join(diff[:40]))
        if "disk" in c:
            d = compare_disk(root, c["disk"])
            if d:
                problems.append(d)
        if "contents" in c:
            d = compare_contents(root, c["contents"])
            if d:
                problems.append(d)
        return problems
    except subprocess.TimeoutExpired:
        return ["timed out"]
    finally:
        subprocess.run(["chmod", "-R", "u+rwX", root], capture_output=True)
        shutil.rmtree(root, ignore_errors=True)


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        sys.exit(2)
    driver = os.path.abspath(sys.argv[1])
    cases = []
    for p in sys.argv[2:]:
        if os.path.isdir(p):
            cases += sorted(os.path.join(p, f) for f in os.listdir(p) if f.endswith(".case"))
        else:
            cases.append(p)
    ok = skipped = 0
    for path in cases:
        problems = run_case(driver, path)
        if problems is None:
            skipped += 1
            print(f"SKIP {os.path.basename(path)}: {parse(path)['not-on-wine']}")
        elif problems:
            print(f"FAIL {os.path.basename(path)}:\n  " + "\n  ".join(problems))
        else:
            ok += 1
    print(f"{ok}/{len(cases) - skipped} cases pass" + (f", {skipped} skipped" if skipped else ""))
    sys.exit(0 if ok == len(cases) - skipped and cases else 1)


if __name__ == "__main__":
    main()
