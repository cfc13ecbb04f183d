#!/usr/bin/env python3
"""Listing and rename benchmarks; bench/run.sh builds the programs and calls this.

Every row runs RUNS times (median wall time, median peak RSS from /usr/bin/time -v). Rows that
rename get a fresh copy of the generated folder before each run; rows that only read get one
fresh copy. Copying, syncing and checking the result are not timed. Every run's result is
checked on disk, so a row that renamed nothing cannot look fast.

Preview, execute and undo keep their state in one process, so they are timed as three scripts
(preview; preview + execute; preview + execute + undo) and each step is the difference of the
medians; the preview step is measured from the Manual read script.
"""
import argparse
import os
import platform
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
RUNS = int(os.environ.get("RUNS", "3"))
SUFFIX = "_v2"
TAG = "【高清】"  # every generated name holds it once

READ = ["browse {dir}", "click 按钮_手动读取"]
PREVIEW = READ + ["click 按钮_打开预览", f"set 编辑框7 {SUFFIX}", "click 按钮_最后面加"]
EXECUTE = PREVIEW + ["click 按钮_确认无误执行吧"]
UNDO = EXECUTE + ["click 按钮_撤回上一步"]
DIRECT = READ + [f"set 编辑框7 {SUFFIX}", "click 按钮_最后面加"]
DELETE = READ + [f"set 编辑框1 {TAG}", "click 按钮_删掉N次"]


def with_suffix(name):
    dot = name.rfind(".")
    return name + SUFFIX if dot <= 0 else name[:dot] + SUFFIX + name[dot:]


def without_tag(name):
    return name.replace(TAG, "", 1)


class Bench:
    def __init__(self, build, root):
        self.drive = os.path.join(build, "velbrook-drive")
        self.floor = os.path.join(build, "bench-floor_rename")
        self.root = root
        self.work = os.path.join(root, "work")
        self.prog = os.path.join(root, "prog")
        os.makedirs(self.prog)
        self.rows = []

    # ---- running -----------------------------------------------------------------------------

    def measure(self, argv):
        """One timed run: (wall seconds, peak RSS in KiB, stdout)."""
        tf = os.path.join(self.root, "time.txt")
        start = time.perf_counter()
        p = subprocess.run(["/usr/bin/time", "-v", "-o", tf] + argv, stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE)
        wall = time.perf_counter() - start
        if p.returncode != 0:
            sys.exit(f"failed ({p.returncode}): {' '.join(argv)}\n{p.stderr.decode(errors='replace')}")
        rss = 0
        with open(tf) as f:
            for line in f:
                if "Maximum resident set size" in line:
                    rss = int(line.rsplit(":", 1)[1])
        return wall, rss, p.stdout.decode("utf-8", errors="replace")

    def script(self, lines, folder):
        path = os.path.join(self.root, "script.txt")
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(l.format(dir=folder) for l in lines) + "\n")
        return [self.drive, "--program-dir", self.prog, path]

    def fresh(self, src):
        if os.path.exists(self.work):
            shutil.rmtree(self.work)
        subprocess.run(["cp", "-a", src, self.work], check=True)
        os.sync()
        return self.work

    def row(self, src, command, check, per_run_copy=True):
        """command(folder) -> argv; check(folder, stdout) raises when the run did the wrong thing."""
        walls, rsss = [], []
        folder = None if per_run_copy else self.fresh(src)
        for _ in range(RUNS):
            if per_run_copy:
                folder = self.fresh(src)
            argv = command(folder)
            wall, rss, out = self.measure(argv)
            check(folder, out)
            walls.append(wall)
            rsss.append(rss)
        return statistics.median(walls), statistics.median(rsss)

    def add(self, n, label, wall, rss_kb, ref=None, ref_label="", per_name=None):
        ratio = f"{wall / ref:.2f}x" if ref else "-"
        mem = f"{rss_kb / 1024:.1f}" if rss_kb is not None else "-"
        bpn = f"{per_name:.0f}" if per_name is not None else "-"
        row = (str(n), label, f"{wall:.3f}", ratio, ref_label or "-", mem, bpn)
        self.rows.append(row)
        print("  " + "  ".join(row), file=sys.stderr, flush=True)

    # ---- checks ------------------------------------------------------------------------------

    @staticmethod
    def expect_names(expected):
        def check(folder, _out):
            got = set(os.listdir(folder))
            if got != expected:
                missing = len(expected - got)
                extra = len(got - expected)
                sys.exit(f"wrong result in {folder}: {missing} names missing, {extra} unexpected")
        return check

    @staticmethod
    def expect_output(text, then):
        def check(folder, out):
            if text not in out:
                sys.exit(f"expected {text!r} in the driver's output, got:\n{out}")
            then(folder, out)
        return check

    # ---- the rows ----------------------------------------------------------------------------

    def baseline(self):
        empty = os.path.join(self.root, "empty")
        os.makedirs(empty)
        wall, rss = self.row(empty, lambda d: self.script(READ, d), lambda d, o: None,
                             per_run_copy=False)
        self.add(0, "velbrook manual read (empty folder)", wall, rss)
        return rss

    def listing(self, n, src, names, base_rss):
        ref_wall, ref_rss = self.row(
            src,
            lambda d: ["bash", "-c", f"find {shlex.quote(d)} -maxdepth 1 -type f | LC_ALL=C sort >/dev/null"],
            lambda d, o: None, per_run_copy=False)
        self.add(n, "reference: find + LC_ALL=C sort", ref_wall, ref_rss)

        # Untimed: the listing really holds every generated name.
        folder = self.fresh(src)
        out = subprocess.run(self.script(READ + ["list"], folder), stdout=subprocess.PIPE,
                             check=True).stdout.decode()
        rows = sum(1 for l in out.splitlines() if l.startswith("ROW "))
        if rows != len(names):
            sys.exit(f"Manual read listed {rows} of {len(names)} names")

        wall, rss = self.row(src, lambda d: self.script(READ, d), lambda d, o: None,
                             per_run_copy=False)
        self.add(n, "velbrook manual read", wall, rss, ref_wall, "find+sort",
                 per_name=(rss - base_rss) * 1024 / n)
        return wall, rss

    def renames(self, n, src, names, read_wall):
        original = set(names)
        suffixed = {with_suffix(x) for x in names}
        untagged = {without_tag(x) for x in names}
        done = f"一共有{n}个文件被改名成功"

        floor, rss = self.row(src, lambda d: [self.floor, d, "suffix", SUFFIX],
                              self.expect_names(suffixed))
        self.add(n, "floor: renameat2 loop (suffix)", floor, rss, floor, "floor")

        wall, rss = self.row(src, lambda d: self.script(DIRECT, d),
                             self.expect_output(done, self.expect_names(suffixed)))
        self.add(n, "velbrook direct: read + add at end", wall, rss, floor, "floor")

        p, p_rss = self.row(src, lambda d: self.script(PREVIEW, d), self.expect_names(original))
        pe, pe_rss = self.row(src, lambda d: self.script(EXECUTE, d), self.expect_names(suffixed))
        peu, peu_rss = self.row(src, lambda d: self.script(UNDO, d), self.expect_names(original))
        self.add(n, "velbrook read + preview (script)", p, p_rss)
        self.add(n, "  preview step (minus read)", p - read_wall, None)
        self.add(n, "  execute step", pe - p, pe_rss, floor, "floor")
        self.add(n, "  undo step", peu - pe, peu_rss, floor, "floor")
        self.add(n, "velbrook read+preview+execute+undo", peu, peu_rss)

        dfloor, rss = self.row(src, lambda d: [self.floor, d, "delete", TAG],
                               self.expect_names(untagged))
        self.add(n, "floor: renameat2 loop (delete)", dfloor, rss, dfloor, "floor(del)")
        wall, rss = self.row(src, lambda d: self.script(DELETE, d), self.expect_names(untagged))
        self.add(n, "velbrook direct: read + delete N times", wall, rss, dfloor, "floor(del)")

        perl = r"s/(\.[^.\/]*)$/" + SUFFIX + "$1/"
        wall, rss = self.row(
            src,
            lambda d: ["bash", "-c",
                       f"cd {shlex.quote(d)} && find . -maxdepth 1 -type f -print0 | rename -0 {shlex.quote(perl)}"],
            self.expect_names(suffixed))
        self.add(n, "peer: perl rename", wall, rss, floor, "floor")

        wall, rss = self.row(
            src,
            lambda d: ["bash", "-c", f"cd {shlex.quote(d)} && mmv '*.*' '#1{SUFFIX}.#2'"],
            self.expect_names(suffixed))
        self.add(n, "peer: mmv", wall, rss, floor, "floor")


def machine():
    fs = subprocess.run(["stat", "-f", "-c", "%T", "/tmp"], stdout=subprocess.PIPE, text=True).stdout.strip()
    cpu = ""
    try:
        with open("/proc/cpuinfo") as f:
            cpu = next((l.split(":", 1)[1].strip() for l in f if l.startswith("model name")), "")
    except OSError:
        pass
    rev = subprocess.run(["git", "-C", HERE, "rev-parse", "--short", "HEAD"], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, text=True).stdout.strip()
    return f"{platform.node()} {platform.release()}, {os.cpu_count()} cpus {cpu}, /tmp on {fs}, commit {rev}"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("sizes", nargs="*", type=int)
    args = ap.parse_args()
    listing_sizes = args.sizes or [1000, 10000, 100000]
    rename_sizes = args.sizes or [10000, 100000]

    root = tempfile.mkdtemp(prefix="velbrook-bench-", dir="/tmp")
    try:
        b = Bench(os.path.abspath(args.build), root)
        print(f"# {machine()}; median of {RUNS} runs", flush=True)
        base_rss = b.baseline()
        for n in sorted(set(listing_sizes) | set(rename_sizes)):
            src = os.path.join(root, f"src-{n}")
            subprocess.run([sys.executable, os.path.join(HERE, "gen_names.py"), src, str(n)], check=True)
            names = os.listdir(src)
            read_wall, _ = b.listing(n, src, names, base_rss)
            if n in rename_sizes:
                b.renames(n, src, names, read_wall)
            shutil.rmtree(src)

        head = ("N", "row", "wall s", "ratio", "vs", "peak MB", "B/name")
        widths = [max(len(r[i]) for r in b.rows + [head]) for i in range(len(head))]
        for r in [head] + b.rows:
            print("| " + " | ".join(c.ljust(w) for c, w in zip(r, widths)) + " |")
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
