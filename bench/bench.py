#!/usr/bin/env python3
"""Times zanfor-cli side by side with its yardsticks and prints one Markdown table.

    bench.py [--cli PATH] [--build DIR] [--sizes 1,2,4,8] [--runs N] [--work DIR] [--smoke]

- Northwind (northwind-ja.mdb): `run --only tables,queries --no-reports` and `inspect --json`
  against `mdb-schema` + `mdb-queries -L` on the same file, run in turns;
- fixed costs: `--help` and `init --workdb` against a process that does nothing (/bin/true);
- the full batch (every step of examples/all-steps.apt, every report) on generated targets of
  each size (make_target.py), and the same with --no-reports: wall time and peak memory;
- the documentation site (`site`) of the 4x target, without the form pictures and with them,
  and once more with no Graphviz on PATH, which leaves its diagrams' share;
- pages per second of the module listing (report_bench, when built).

Whole processes are timed. Runs use a work database made beforehand, as a user's is (made by
`init`, untimed); `init` itself is timed making a new one. Figures are medians of --runs runs,
peak memory the largest peak of any run (from the kernel's account of the child, so no tool of
its own is measured). The machine's speed varies from run to run: the ratios to the yardstick
measured in the same turns, and the processor times beside the wall times, are the figures to
compare. --smoke also checks that the generated target reads back as generated. Exit status 1
when any command failed.
"""

import argparse
import hashlib
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent
SAMPLE = ROOT / "examples" / "hanbai-kanri.mdb.src"
PATTERN = ROOT / "examples" / "all-steps.apt"
NORTHWIND = ROOT.parent / "shared" / "testdata" / "mdb" / "northwind-ja.mdb"

# The module listing of the largest target's code, as the goal was set for it.
LISTING_LINES = 157000
SMOKE_LISTING_LINES = 2000


class Failure(Exception):
    pass


def run(cmd, env=None):
    """Runs a command to its end: (wall seconds, peak resident KB, output, processor seconds)."""
    with tempfile.TemporaryFile() as out:
        start = time.perf_counter()
        child = subprocess.Popen(cmd, stdout=out, stderr=subprocess.STDOUT,
                                 stdin=subprocess.DEVNULL, env=env)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
        child.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        text = out.read().decode("utf-8", "replace")
    if child.returncode != 0:
        said = " / ".join(text.strip().splitlines()[:3])
        raise Failure("`%s`: exit %d: %s" % (" ".join(map(str, cmd)), child.returncode, said))
    # Linux gives the peak of the child and of every descendant it waited for, in KB.
    return wall, usage.ru_maxrss, text, usage.ru_utime + usage.ru_stime


class Series:
    def __init__(self):
        self.walls = []
        self.cpus = []
        self.peak = 0

    def add(self, result):
        wall, peak, _, cpu = result
        self.walls.append(wall)
        self.cpus.append(cpu)
        self.peak = max(self.peak, peak)

    @property
    def median(self):
        return statistics.median(self.walls)

    @property
    def cpu(self):
        return statistics.median(self.cpus)


def interleaved(commands, runs, before=None):
    """Runs the commands in turns (A B C A B C ...) after one untimed turn that brings the files
    into the cache and makes the work database; one Series per command."""
    series = [Series() for _ in commands]
    for turn in range(runs + 1):
        for cmd, s in zip(commands, series):
            if before:
                before()
            result = run(cmd)
            if turn > 0:
                s.add(result)
    return series


def remove(folder, database):
    """Removes a work database and its companion files."""
    for p in [*folder.glob(database), *folder.glob(database + "-*")]:
        p.unlink()


def ms(seconds):
    return "%.1f ms" % (seconds * 1000)


def mb(kb):
    return "%.0f MB" % (kb / 1024)


def secs(seconds):
    return "%.2f s" % seconds


def met(ok):
    return "-" if ok is None else ("yes" if ok else "**no**")


# ---- targets -------------------------------------------------------------------------------


def source_stamp():
    """What a generated target depends on: the generator and the sample."""
    h = hashlib.sha256((HERE / "make_target.py").read_bytes())
    for p in sorted(SAMPLE.rglob("*")):
        if p.is_file():
            h.update(str(p.relative_to(SAMPLE)).encode())
            h.update(p.read_bytes())
    return h.hexdigest()


def target(work, size):
    """The generated target of a size and its counts, made again only when the generator or the
    sample changed since it was made."""
    folder = work / ("size%d.mdb.src" % size)
    stamp_file = work / ("size%d.stamp" % size)
    stamp = source_stamp()
    if folder.is_dir() and stamp_file.is_file():
        saved, _, counts = stamp_file.read_text().partition("\n")
        if saved == stamp:
            return folder, counts.strip()
    output = run([sys.executable, str(HERE / "make_target.py"), "--force", "--size", str(size),
                  str(folder)])[2]
    counts = output.strip().splitlines()[-1]
    stamp_file.write_text(stamp + "\n" + counts + "\n")
    return folder, counts


def inspected_counts(cli, folder):
    """What the reader finds in a target: its objects (as the object list counts them, without
    the hidden queries and system tables), controls, lines of code and objects read with a
    problem."""
    d = json.loads(run([cli, "inspect", str(folder), "--json"])[2])
    objects = sum(1 for t in d["tables"] if not t["name"].startswith("MSys"))
    objects += sum(1 for q in d["queries"] if not q["name"].startswith("~sq_"))
    objects += len(d["forms"]) + len(d["reports"]) + len(d["macros"])
    objects += len(d["containers"]["Modules"])
    designs = d["forms"] + d["reports"]
    everything = d["tables"] + d["queries"] + designs + d["macros"] + d["modules"]
    return {
        "objects": objects,
        "controls": sum(len(x.get("controls", [])) for x in designs),
        "code_lines": sum(m.get("lines", 0) for m in d["modules"]),
        "problems": sum(1 for x in everything if x.get("problem") or x.get("error"))
        + len(d["problems"]),
    }


def verify(cli, folder, counts):
    """Fails unless the reader finds in a generated target what the generator says it wrote,
    and no problem but the sample's own (its links to other machines), once per copy."""
    found = inspected_counts(cli, folder)
    sample = inspected_counts(cli, SAMPLE)["problems"]
    wanted = {k: count(counts, k) for k in ("objects", "controls", "code_lines")}
    wanted["problems"] = sample * count(counts, "copies")
    if found != wanted:
        raise Failure("the generated target %s reads as %s, not %s" % (folder, found, wanted))


def count(counts, name):
    m = re.search(r"\b%s=(\d+)" % name, counts)
    return int(m.group(1)) if m else 0


# ---- the measurements ----------------------------------------------------------------------


def northwind(cli, runs, temp):
    if not NORTHWIND.is_file():
        return [("Northwind", "skipped: %s is absent" % NORTHWIND)]
    if not shutil.which("mdb-schema") or not shutil.which("mdb-queries"):
        return [("Northwind", "skipped: mdbtools (mdb-schema, mdb-queries) is not installed")]
    workdb = temp / "northwind.db"
    nw = str(NORTHWIND)

    mdbtools = ["sh", "-c", 'mdb-schema "$0" >/dev/null && mdb-queries -L "$0" >/dev/null', nw]
    ours = [
        ("`run --only tables,queries --no-reports`",
         [cli, "run", nw, "--only", "tables,queries", "--no-reports", "--workdb", str(workdb)]),
        ("`inspect --json`", [cli, "inspect", nw, "--json"]),
    ]
    rows = []
    for what, cmd in ours:
        try:
            a, b = interleaved([cmd, mdbtools], runs)
        except Failure as e:
            rows.append((what, "FAILED: " + str(e)))
            continue
        ratio = a.median / b.median
        rows.append((what + " northwind-ja.mdb", ms(a.median),
                     ms(b.median) + " (mdb-schema + mdb-queries -L)", "%.1fx" % ratio,
                     "<= 2x", met(ratio <= 2)))
    return rows


def fixed_costs(cli, runs, temp, floor):
    """`--help` and `init` beside /bin/true and, when built, a C++ program that only prints a
    line: what no program of ours can start under on this machine."""
    workdb = temp / "init.db"

    def fresh():
        remove(temp, "init.db")

    yardsticks = [["/bin/true"]] + ([[str(floor)]] if floor.is_file() else [])
    rows = []
    for what, cmd, goal in (("`--help`", [cli, "--help"], 0.003),
                            ("`init --workdb`", [cli, "init", "--workdb", str(workdb)], 0.005)):
        try:
            ours, *floors = interleaved([cmd] + yardsticks, runs, before=fresh)
        except Failure as e:
            rows.append((what, "FAILED: " + str(e)))
            continue
        said = ms(floors[0].median) + " (/bin/true)"
        if len(floors) > 1:
            said += ", %s (a C++ program printing a line)" % ms(floors[1].median)
        rows.append((what, ms(ours.median), said, "%.1fx" % (ours.median / floors[0].median),
                     "< %d ms" % (goal * 1000), met(ours.median < goal)))
    return rows


def batch(cli, size, runs, work, temp, check):
    folder, counts = target(work, size)
    if check:
        verify(cli, folder, counts)
    out = temp / ("out%d" % size)
    full = [cli, "run", str(folder), "--pattern", str(PATTERN), "--out", str(out),
            "--workdb", str(temp / ("full%d.db" % size))]
    collect = [cli, "run", str(folder), "--pattern", str(PATTERN), "--no-reports",
               "--workdb", str(temp / ("collect%d.db" % size))]
    for workdb in (full[-1], collect[-1]):
        run([cli, "init", "--workdb", workdb])
    f, c = Series(), Series()
    for _ in range(runs):
        f.add(run(full))
        c.add(run(collect))
    return {"counts": counts, "full": f, "collect": c}


def site(cli, size, runs, work, temp):
    """The site of a generated target: without pictures, with them, and without Graphviz (an
    empty PATH, so that the diagrams are left out and their share shows)."""
    folder, _ = target(work, size)
    no_dot = temp / "no-dot"
    no_dot.mkdir(exist_ok=True)
    variants = [("`site --no-pictures`", ["--no-pictures"], None),
                ("`site`", [], None),
                ("`site --no-pictures` without Graphviz", ["--no-pictures"],
                 dict(os.environ, PATH=str(no_dot)))]
    rows = []
    for what, extra, env in variants:
        cmd = [cli, "site", str(folder), "--out", str(temp / ("site%d" % size))] + extra
        s = Series()
        try:
            for turn in range(runs + 1):  # the first turn untimed: files into the cache
                result = run(cmd, env)
                if turn > 0:
                    s.add(result)
        except Failure as e:
            rows.append(("%s, %dx" % (what, size), "FAILED: " + str(e)))
            continue
        goal = env is None
        rows.append(("%s, %dx" % (what, size), "%s (cpu %s)" % (secs(s.median), secs(s.cpu)),
                     "", "", "< 10 s" if goal else "", met(s.median < 10) if goal else "-"))
    return rows


def listing(build, lines, runs=1):
    """Pages per second of the module listing and the peak memory at `lines` lines: per report,
    the pages and the median over `runs` runs of the wall and the processor rates."""
    exe = build / "bin" / "report_bench"
    seen, peak = {}, 0
    for _ in range(runs):
        _, run_peak, output, _ = run([str(exe), str(lines)])
        peak = max(peak, run_peak)
        # Columns found by the header's names ("pages", "pages/s"), which are apart by two
        # spaces or more, so that a column added to the program's table moves nothing here.
        columns = None
        for line in output.splitlines():
            if "pages/s" in line:
                columns = re.split(r"\s{2,}", line.strip())
            elif columns and line.startswith("R_"):
                fields = dict(zip(columns, line.split()))
                try:
                    pages = int(fields["pages"])
                    seen.setdefault(fields[columns[0]], []).append(
                        (pages, float(fields["pages/s"]), pages / float(fields["cpu s"])))
                except (KeyError, ValueError, ZeroDivisionError):
                    raise Failure("report_bench's table is not understood: " + line)
    if not seen:
        raise Failure("report_bench printed no report: " + " / ".join(output.splitlines()[:3]))
    rates = {name: (got[0][0], statistics.median(g[1] for g in got),
                    statistics.median(g[2] for g in got)) for name, got in seen.items()}
    return rates, peak


# ---- the table -----------------------------------------------------------------------------


def size_rows(results, sizes):
    """The goal rows of the batch and the table of every size."""
    table = ["| size | objects | controls | VBA lines | full batch | collect (`--no-reports`) "
             "| render | peak full | peak collect | growth full | growth peak |",
             "|---|---|---|---|---|---|---|---|---|---|---|"]
    growth = []  # (size step, wall, processor time, peak) from the size before

    def peak(r):
        return max(r["full"].peak, r["collect"].peak)

    def timed(wall, cpu):
        return "%s (cpu %s)" % (secs(wall), secs(cpu))

    for i, size in enumerate(sizes):
        r = results[size]
        f, c = r["full"], r["collect"]
        step = ""
        if i > 0:
            p = results[sizes[i - 1]]
            growth.append((size / sizes[i - 1], f.median / p["full"].median,
                           f.cpu / p["full"].cpu, peak(r) / peak(p)))
            step = growth[-1]
        table.append("| %s |" % " | ".join([
            "%dx" % size,
            "{:,}".format(count(r["counts"], "objects")),
            "{:,}".format(count(r["counts"], "controls")),
            "{:,}".format(count(r["counts"], "code_lines")),
            timed(f.median, f.cpu), timed(c.median, c.cpu),
            timed(f.median - c.median, f.cpu - c.cpu), mb(f.peak), mb(c.peak),
            "%.2f (cpu %.2f)" % step[1:3] if step else "", "%.2f" % step[3] if step else ""]))

    rows = []
    r4 = results.get(4)
    if r4:
        f, c = r4["full"], r4["collect"]
        rows.append(("full batch, all twelve steps and every report, 4x", timed(f.median, f.cpu),
                     "", "", "<= 5 s", met(f.median <= 5)))
        rows.append(("collect (`--no-reports`), 4x", timed(c.median, c.cpu), "", "", "<= 1.5 s",
                     met(c.median <= 1.5)))
    else:
        rows.append(("full batch and collect, 4x", "not run", "", "", "<= 5 s, <= 1.5 s", "-"))
    largest = sizes[-1]
    rows.append(("peak memory, %dx" % largest, mb(peak(results[largest])), "", "",
                 "<= 300 MB at 8x",
                 met(peak(results[largest]) <= 300 * 1024) if largest >= 8 else "-"))
    if growth:
        # Linear: a step of the size at most a little more than multiplies time and memory by
        # as much. The wall time swings with the machine's other load; processor time is what
        # the program itself costs.
        steps = " → ".join("%dx" % s for s in sizes)
        rows.append(("growth of the full batch " + steps,
                     ", ".join("%.2f (cpu %.2f)" % g[1:3] for g in growth), "", "",
                     "linear: <= 1.15 × size step (cpu)",
                     met(all(g[2] <= g[0] * 1.15 for g in growth))))
        rows.append(("growth of peak memory " + steps, ", ".join("%.2f" % g[3] for g in growth),
                     "", "", "linear: <= 1.15 × size step",
                     met(all(g[3] <= g[0] * 1.15 for g in growth))))
    return rows, table


def listing_rows(build, lines, runs):
    rates, peak = listing(build, lines, runs)
    small_rates, small_peak = listing(build, max(lines // 4, 100))
    rows = []
    for name, (pages, rate, cpu_rate) in sorted(rates.items()):
        rows.append(("module listing %s, %s lines, %d pages, PDF" % (name, "{:,}".format(lines),
                                                                      pages),
                     "%.0f pages/s (%.0f per processor second)" % (rate, cpu_rate), "", "",
                     ">= 1,000 pages/s", met(rate >= 1000)))
    pages = max(r[0] for r in rates.values())
    small_pages = max(r[0] for r in small_rates.values())
    growth = peak / small_peak
    rows.append(("module listing peak memory, %d vs %d pages" % (pages, small_pages),
                 "%s vs %s" % (mb(peak), mb(small_peak)), "", "%.2fx" % growth,
                 "independent of page count (<= 1.2x)", met(growth <= 1.2)))
    return rows


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", type=Path, default=ROOT / "build")
    parser.add_argument("--cli", type=Path, help="zanfor-cli (default BUILD/bin/zanfor-cli)")
    parser.add_argument("--sizes", default="1,2,4,8")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--work", type=Path, default=Path(tempfile.gettempdir()) / "zbench",
                        help="where generated targets are kept between runs")
    parser.add_argument("--smoke", action="store_true",
                        help="size 1, one run, a short listing: that everything still runs")
    args = parser.parse_args(argv)
    cli = str(args.cli or args.build / "bin" / "zanfor-cli")
    sizes = [1] if args.smoke else sorted(int(s) for s in args.sizes.split(",") if s)
    runs = 1 if args.smoke else max(1, args.runs)
    # The batch is long: three runs of it give a median.
    batch_runs = min(runs, 3)
    args.work.mkdir(parents=True, exist_ok=True)

    rows, notes, size_table = [], [], []
    failed = False
    with tempfile.TemporaryDirectory(prefix="zbench-") as t:
        temp = Path(t)
        floor = args.build / "bin" / "empty_program"
        steps = [lambda: northwind(cli, runs, temp), lambda: fixed_costs(cli, runs, temp, floor)]
        for step in steps:
            for row in step():
                (rows if len(row) > 2 else notes).append(row)
                failed = failed or row[1].startswith("FAILED")
        results = {}
        for size in sizes:
            try:
                results[size] = batch(cli, size, batch_runs, args.work, temp, args.smoke)
            except Failure as e:
                failed = True
                notes.append(("%dx" % size, "FAILED: " + str(e)))
        site_size = 1 if args.smoke else 4
        for row in site(cli, site_size, batch_runs, args.work, temp):
            (rows if len(row) > 2 else notes).append(row)
            failed = failed or row[1].startswith("FAILED")
        done = [s for s in sizes if s in results]
        if results:
            size_part, size_table = size_rows(results, done)
            rows += size_part
        if (args.build / "bin" / "report_bench").is_file():
            try:
                rows += listing_rows(args.build,
                                     SMOKE_LISTING_LINES if args.smoke else LISTING_LINES,
                                     batch_runs)
            except Failure as e:
                failed = True
                notes.append(("module listing", "FAILED: " + str(e)))
        else:
            notes.append(("module listing", "skipped: report_bench is not built in %s" %
                          (args.build / "bin")))

    print("| what | ours | yardstick | ratio | goal | met |")
    print("|---|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")
    if size_table:
        print()
        print("\n".join(size_table))
    print()
    print("Medians of %d runs (the batch: %d); peak memory is the largest of any run." %
          (runs, batch_runs))
    for name, text in notes:
        print("- %s: %s" % (name, text))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
