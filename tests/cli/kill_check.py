#!/usr/bin/env python3
"""A run of the collectors over the sample, killed (SIGKILL) at moments spread over the run,
leaves a work database that passes SQLite's integrity check and holds, table by table, either
the previous run's rows or the new run's, never a mixture; the program then reruns over it."""

import argparse
import os
import shutil
import signal
import sqlite3
import subprocess
import sys
import time

KILL_POINTS = 10
# One command for each table: the reference searches each rewrite T_AcLinkObject in turn, so
# between them it rightly holds neither run's final rows.
COMMANDS = ("objects,tables,queries,forms,reports,proc,module,modstep,macros,controls,files,"
            "comment,teigi,hensu,linkreport")


def run(cli, target, workdb, output=subprocess.DEVNULL):
    return subprocess.Popen([cli, "run", target, "--only", COMMANDS, "--no-reports",
                             "--workdb", workdb], stdout=output, stderr=subprocess.DEVNULL)


def finished_run(cli, target, workdb):
    """How long after its start the run began its first command, and ended."""
    started = time.monotonic()
    process = run(cli, target, workdb, subprocess.PIPE)
    first = [time.monotonic() - started for line in process.stdout if line.startswith(b"== ")]
    if process.wait() != 0 or not first:
        sys.exit(f"run {target} --workdb {workdb}: exit {process.returncode}")
    if os.path.exists(workdb + "-wal") or os.path.exists(workdb + "-shm"):
        sys.exit(f"{workdb}: a run that ended left its log behind")
    return first[0], time.monotonic() - started


def contents(workdb):
    """Each table's rows in the order they were written."""
    db = sqlite3.connect(workdb)
    verdict = db.execute("PRAGMA integrity_check").fetchone()[0]
    if verdict != "ok":
        sys.exit(f"{workdb}: integrity check: {verdict}")
    tables = db.execute("SELECT name FROM sqlite_master WHERE type = 'table'").fetchall()
    found = {t: db.execute(f'SELECT * FROM "{t}" ORDER BY rowid').fetchall() for (t,) in tables}
    db.close()
    return found


def main():
    parser = argparse.ArgumentParser()
    for option in ("--cli", "--sample", "--work"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)

    # The previous results come from the sample with some objects taken out, so that most
    # tables differ between the two runs.
    smaller = os.path.join(args.work, "previous", os.path.basename(args.sample))
    shutil.copytree(args.sample, smaller)
    for folder, _, files in os.walk(smaller):
        for name in files:
            if "月次" in name or name.startswith(("T_消費税率", "R_得意先一覧", "売上エクスポート")):
                os.remove(os.path.join(folder, name))
    previous_db = os.path.join(args.work, "previous.db")
    finished_run(args.cli, smaller, previous_db)
    previous = contents(previous_db)
    new_db = os.path.join(args.work, "new.db")
    shutil.copyfile(previous_db, new_db)
    first_command, duration = finished_run(args.cli, args.sample, new_db)
    new = contents(new_db)
    differing = [t for t in new if new[t] != previous[t]]
    if len(differing) < len(new) // 2:
        sys.exit(f"the two runs differ in too few tables to tell apart: {differing}")

    # One kill while the program starts, the others spread over the commands.
    delays = [first_command / 2] + [
        first_command + (duration - first_command) * (point + 0.5) / (KILL_POINTS - 1)
        for point in range(KILL_POINTS - 1)]
    killed = logs = 0
    rerun_db = os.path.join(args.work, "rerun.db")
    for point, delay in enumerate(delays):
        workdb = os.path.join(args.work, f"killed-{point}.db")
        shutil.copyfile(previous_db, workdb)
        process = run(args.cli, args.sample, workdb)
        time.sleep(delay)
        process.send_signal(signal.SIGKILL)
        killed += process.wait() == -signal.SIGKILL
        if os.path.exists(workdb + "-wal"):
            logs += 1
            # Python's connection reads the log back; the program is to do it on a copy.
            if not os.path.exists(rerun_db):
                shutil.copyfile(workdb, rerun_db)
                shutil.copyfile(workdb + "-wal", rerun_db + "-wal")
        found = contents(workdb)
        mixed = sorted(t for t in new if found.get(t) not in (previous[t], new[t]))
        if mixed or found.keys() != new.keys():
            sys.exit(f"killed after {delay * 1000:.0f} ms: tables holding neither run's rows: "
                     f"{mixed or sorted(found.keys() ^ new.keys())}")
        done = sum(found[t] == new[t] for t in differing)
        print(f"killed after {delay * 1000:.0f} ms: {done}/{len(differing)} tables new")
    if killed == 0 or logs == 0:
        sys.exit(f"{killed} runs killed, {logs} leaving a log: nothing was tested")

    # The program reopens a database a killed run left with its log, and finishes the work.
    finished_run(args.cli, args.sample, rerun_db)
    if contents(rerun_db) != new:
        sys.exit("a rerun over a killed run's database did not write the new rows")
    print(f"{killed} of {KILL_POINTS} runs killed, {logs} leaving a log; a run takes "
          f"{duration * 1000:.0f} ms, its first command starting at {first_command * 1000:.0f} ms")


if __name__ == "__main__":
    main()
