#!/usr/bin/env python3
"""Listing and rename benchmarks; bench/run.sh builds the programs and calls this.

Every row runs RUNS times (at least 5): min, median and max wall time, and from /usr/bin/time -v
the median user + system time and the median peak RSS. Ratios compare medians. Rows that rename
get a fresh copy of the generated folder before each run; rows that only read get one fresh copy.
Before every run's clock starts, the folder's file system is flushed, so that no run pays for
the write-back of its copy or of the row before it. Copying, flushing and checking the result
are not timed. Every run's result is checked on disk, so a row that renamed nothing cannot look
fast.

Preview, execute and undo keep their state in one process, so they are timed as three scripts
(preview; preview + execute; preview + execute + undo) and each step is the difference of two
scripts' runs in the same pass. The direct and preview steps are measured from the Manual read
script on a fresh copy: the click alone, as the execute and undo steps are. The floor lists the
folder itself, so every step is compared with a program that reads and renames. Undo finds the
folder as a batch has just left it: it is also shown beside the floor renaming back right after
its own batch in the same process, timed as a difference the same way. That second loop has
measured both slower and faster than the first on one machine, so read it beside the plain floor.
"""
import argparse
import collections
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
RUNS = int(os.environ.get("RUNS", "5"))
MIN_RUNS = 5  # fewer give no spread worth reading
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


# One row's runs, one list per quantity, in pass order.
Runs = collections.namedtuple("Runs", "wall cpu rss")


def minus(longer, shorter):
    """A step as the per-pass difference of two scripts; the peak RSS stays the longer one's.

    Run i of every row ran in pass i, so the two runs of a difference saw the same load.
    """
    return Runs([a - b for a, b in zip(longer.wall, shorter.wall)],
                [a - b for a, b in zip(longer.cpu, shorter.cpu)], longer.rss)


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
        """One timed run: (wall seconds, user + system seconds, peak RSS in KiB, stdout)."""
        tf = os.path.join(self.root, "time.txt")
        start = time.perf_counter()
        p = subprocess.run(["/usr/bin/time", "-v", "-o", tf] + argv, stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE)
        wall = time.perf_counter() - start
        if p.returncode != 0:
            sys.exit(f"failed ({p.returncode}): {' '.join(argv)}\n{p.stderr.decode(errors='replace')}")
        rss, cpu = 0, 0.0
        with open(tf) as f:
            for line in f:
                value = line.rsplit(":", 1)[-1].strip()
                if "Maximum resident set size" in line:
                    rss = int(value)
                elif "User time (seconds)" in line or "System time (seconds)" in line:
                    cpu += float(value)
        return wall, cpu, rss, p.stdout.decode("utf-8", errors="replace")

    def script(self, lines, folder):
        path = os.path.join(self.root, "script.txt")
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(l.format(dir=folder) for l in lines) + "\n")
        return [self.drive, "--program-dir", self.prog, path]

    def copy(self, src, name):
        dst = os.path.join(self.root, name)
        if os.path.exists(dst):
            shutil.rmtree(dst)
        subprocess.run(["cp", "-a", src, dst], check=True)
        return dst

    @staticmethod
    def flush(folder):
        """Writes back everything pending on the folder's file system and waits for it."""
        subprocess.run(["sync", "--file-system", folder], check=True)

    def run_rows(self, src, rows):
        """rows: {key: (command(folder) -> argv, check(folder, stdout), renames)}.

        Runs are interleaved (run 1 of every row, then run 2, ...) so that a change of load on
        the machine falls on every row alike. Returns {key: Runs}.
        """
        samples = {k: Runs([], [], []) for k in rows}
        readonly = self.copy(src, "readonly")
        for _ in range(RUNS):
            for key, (command, check, renames) in rows.items():
                folder = self.copy(src, "work") if renames else readonly
                argv = command(folder)
                # Read-only rows too: the row before may have left renames to write back.
                self.flush(folder)
                wall, cpu, rss, out = self.measure(argv)
                check(folder, out)
                for values, v in zip(samples[key], (wall, cpu, rss)):
                    values.append(v)
        return samples

    def add(self, n, label, runs, ref=None, ref_label="", per_name=None, rss=True):
        """ref is the median wall time of the row this one is compared with."""
        wall = statistics.median(runs.wall)
        ratio = f"{wall / ref:.2f}x" if ref else "-"
        mem = f"{statistics.median(runs.rss) / 1024:.1f}" if rss else "-"
        bpn = f"{per_name:.0f}" if per_name is not None else "-"
        row = (str(n), label, f"{min(runs.wall):.3f}", f"{wall:.3f}", f"{max(runs.wall):.3f}", ratio,
               ref_label or "-", f"{statistics.median(runs.cpu):.3f}", mem, bpn)
        self.rows.append(row)
        print("  " + "  ".join(row), file=sys.stderr, flush=True)

    # ---- checks ------------------------------------------------------------------------------

    @staticmethod
    def nothing(_folder, _out):
        pass

    @staticmethod
    def expect_names(expected, output=None):
        def check(folder, out):
            if output is not None and output not in out:
                sys.exit(f"expected {output!r} in the driver's output, got:\n{out}")
            got = set(os.listdir(folder))
            if got != expected:
                sys.exit(f"wrong result in {folder}: {len(expected - got)} names missing, "
                         f"{len(got - expected)} unexpected")
        return check

    # ---- the rows ----------------------------------------------------------------------------

    def baseline(self):
        empty = os.path.join(self.root, "empty")
        os.makedirs(empty)
        runs = self.run_rows(empty, {"read": (lambda d: self.script(READ, d), self.nothing, False)})["read"]
        self.add(0, "velbrook manual read (empty folder)", runs)
        return statistics.median(runs.rss)

    def measure_size(self, n, src, base_rss, with_renames):
        names = os.listdir(src)
        # Untimed: the listing really holds every generated name.
        out = subprocess.run(self.script(READ + ["list"], src), stdout=subprocess.PIPE,
                             check=True).stdout.decode()
        listed = sum(1 for l in out.splitlines() if l.startswith("ROW "))
        if listed != len(names):
            sys.exit(f"Manual read listed {listed} of {len(names)} names")

        drive = lambda lines: (lambda d: self.script(lines, d))
        rows = {
            "find": (lambda d: ["bash", "-c", f"find {shlex.quote(d)} -maxdepth 1 -type f | LC_ALL=C sort >/dev/null"],
                     self.nothing, False),
            "read": (drive(READ), self.nothing, False),
        }
        if with_renames:
            original = set(names)
            suffixed = {with_suffix(x) for x in names}
            untagged = {without_tag(x) for x in names}
            perl = r"s/(\.[^.\/]*)$/" + SUFFIX + "$1/"
            rows.update({
                "floor": (lambda d: [self.floor, d, "suffix", SUFFIX], self.expect_names(suffixed), True),
                # The floor renamed back right after its own renames: the folder as undo finds it.
                "fback": (lambda d: [self.floor, d, "suffix", SUFFIX, "back"],
                          self.expect_names(original), True),
                # The read alone on a fresh copy, as every script that renames starts.
                "fread": (drive(READ), self.expect_names(original), True),
                "direct": (drive(DIRECT), self.expect_names(suffixed, f"一共有{n}个文件被改名成功"), True),
                "p": (drive(PREVIEW), self.expect_names(original), True),
                "pe": (drive(EXECUTE), self.expect_names(suffixed), True),
                "peu": (drive(UNDO), self.expect_names(original), True),
                "dfloor": (lambda d: [self.floor, d, "delete", TAG], self.expect_names(untagged), True),
                "delete": (drive(DELETE), self.expect_names(untagged), True),
                "perl": (lambda d: ["bash", "-c", f"cd {shlex.quote(d)} && find . -maxdepth 1 -type f -print0 "
                                                  f"| rename -0 {shlex.quote(perl)}"],
                         self.expect_names(suffixed), True),
                "mmv": (lambda d: ["bash", "-c", f"cd {shlex.quote(d)} && mmv '*.*' '#1{SUFFIX}.#2'"],
                        self.expect_names(suffixed), True),
            })
            # A peer that is not installed is left out (bench/run.sh installs them).
            for peer, tool in (("perl", "rename"), ("mmv", "mmv")):
                if not shutil.which(tool):
                    print(f"# {tool} is not installed: no row for it", flush=True)
                    del rows[peer]
        r = self.run_rows(src, rows)

        med = lambda key: statistics.median(r[key].wall)
        self.add(n, "reference: find + LC_ALL=C sort", r["find"])
        self.add(n, "velbrook manual read", r["read"], med("find"), "find+sort",
                 per_name=(statistics.median(r["read"].rss) - base_rss) * 1024 / n)
        if not with_renames:
            return
        floor, dfloor = med("floor"), med("dfloor")
        self.add(n, "floor: renameat2 loop (suffix)", r["floor"], floor, "floor")
        self.add(n, "velbrook direct: read + add at end", r["direct"], floor, "floor")
        self.add(n, "  direct step (minus the read)", minus(r["direct"], r["fread"]), floor, "floor")
        self.add(n, "velbrook read + preview (script)", r["p"])
        self.add(n, "  preview step (minus the read)", minus(r["p"], r["fread"]), rss=False)
        self.add(n, "  execute step", minus(r["pe"], r["p"]), floor, "floor")
        self.add(n, "  undo step", minus(r["peu"], r["pe"]), floor, "floor")
        back = minus(r["fback"], r["floor"])
        self.add(n, "floor: the same loop renaming back", back, floor, "floor", rss=False)
        self.add(n, "  undo step", minus(r["peu"], r["pe"]), statistics.median(back.wall), "floor back")
        self.add(n, "velbrook read+preview+execute+undo", r["peu"])
        self.add(n, "floor: renameat2 loop (delete)", r["dfloor"], dfloor, "floor(del)")
        self.add(n, "velbrook direct: read + delete N times", r["delete"], dfloor, "floor(del)")
        for key, label in (("perl", "peer: perl rename"), ("mmv", "peer: mmv")):
            if key in r:
                self.add(n, label, r[key], floor, "floor")


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
    load = " ".join(f"{x:.1f}" for x in os.getloadavg())
    return f"{platform.release()}, {os.cpu_count()} cpus {cpu}, /tmp on {fs}, commit {rev}, load {load}"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("sizes", nargs="*", type=int)
    args = ap.parse_args()
    if RUNS < MIN_RUNS:
        sys.exit(f"RUNS={RUNS}: at least {MIN_RUNS} runs per row, or min and max say nothing")
    listing_sizes = args.sizes or [1000, 10000, 100000]
    rename_sizes = args.sizes or [10000, 100000]

    root = tempfile.mkdtemp(prefix="velbrook-bench-", dir="/tmp")
    try:
        b = Bench(os.path.abspath(args.build), root)
        print(f"# {machine()}; wall time min / median / max of {RUNS} runs, ratios of medians", flush=True)
        base_rss = b.baseline()
        for n in sorted(set(listing_sizes) | set(rename_sizes)):
            src = os.path.join(root, f"src-{n}")
            subprocess.run([sys.executable, os.path.join(HERE, "gen_names.py"), src, str(n)], check=True)
            b.measure_size(n, src, base_rss, n in rename_sizes)
            shutil.rmtree(src)

        print(f"# load at the end {' '.join(f'{x:.1f}' for x in os.getloadavg())}")
        head = ("N", "row", "min s", "median s", "max s", "ratio", "vs", "cpu s", "peak MB", "B/name")
        widths = [max(len(r[i]) for r in b.rows + [head]) for i in range(len(head))]
        for r in [head] + b.rows:
            print("| " + " | ".join(c.ljust(w) for c, w in zip(r, widths)) + " |")
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
