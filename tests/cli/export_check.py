#!/usr/bin/env python3
"""zanfor-cli export after a full run of northwind-ja.mdb: every CSV, decoded from CP932 and
read by Python's csv module, holds the values of its view in the work database; the SQL and
module texts hold the stored lines; the workbook is written; bad usage is refused.
Exit 77 (skipped) when the shared test data is absent."""

import argparse
import csv
import io
import os
import shutil
import sqlite3
import subprocess
import sys

CSV_KINDS = {
    "object": "QE_AcObject",
    "table": "QE_AcTable",
    "query": "QE_AcQuery",
    "form": "QE_AcForm",
    "report": "QE_AcReport",
    "macro": "QE_AcMacro",
}


def cli(program, *args, expect=0, env=None):
    done = subprocess.run([program, *args], capture_output=True, env=env)
    if done.returncode != expect:
        sys.exit(f"zanfor-cli {' '.join(args)}: exit {done.returncode}, wanted {expect}\n"
                 f"{done.stdout.decode(errors='replace')}{done.stderr.decode(errors='replace')}")
    return done


def vb_number(value):
    text = format(value, ".15G")
    mantissa, _, exponent = text.partition("E")
    if "." in mantissa:
        mantissa = mantissa.rstrip("0").rstrip(".")
    return mantissa + ("E" + exponent if exponent else "")


def as_written(value, declared):
    """The field as Write # puts it, read back by a CSV reader."""
    if value is None:
        return "#NULL#"
    if declared == "BOOLEAN":
        return "#TRUE#" if value else "#FALSE#"
    if declared == "DATETIME" and isinstance(value, str):
        date, _, time = value.partition(" ")
        return f"#{date}#" if time in ("", "00:00:00") else f"#{date} {time}#"
    if isinstance(value, float):
        return vb_number(value)
    if isinstance(value, int):
        return str(value)
    # The yen sign and the overline take the bytes of the backslash and the tilde; a character
    # CP932 has no place for is written as "?" (and reported).
    value = value.replace("\u00a5", "\\").replace("\u203e", "~")
    return value.encode("cp932", errors="replace").decode("cp932")


def check_csv(db, kind, view, path):
    columns = db.execute(f'PRAGMA table_info("{view}")').fetchall()
    rows = db.execute(f'SELECT * FROM "{view}"').fetchall()
    with open(path, "rb") as f:
        data = f.read()
    if b"\r\n" not in data or data.replace(b"\r\n", b"").count(b"\n") > sum(
            str(v).count("\n") for r in rows for v in r):
        sys.exit(f"{kind}: lines do not end in CR LF")
    records = list(csv.reader(io.StringIO(data.decode("cp932"), newline="")))
    header = [c[1] for c in columns]
    if records[0] != header:
        sys.exit(f"{kind}: header {records[0]} != {header}")
    expected = [[as_written(v, c[2]) for v, c in zip(r, columns)] for r in rows]
    if records[1:] != expected:
        for n, (got, want) in enumerate(zip(records[1:], expected), 1):
            if got != want:
                sys.exit(f"{kind}: record {n}\n  got  {got}\n  want {want}")
        sys.exit(f"{kind}: {len(records) - 1} records, wanted {len(expected)}")
    return len(rows)


def check_text(kind, path, lines):
    with open(path, "rb") as f:
        got = f.read().decode("cp932")
    want = "".join(as_written(line or "", "TEXT") + "\r\n" for line in lines)
    if got != want:
        sys.exit(f"{kind}: the text differs from the stored lines")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--run-cli", help="the zanfor-cli that collects (default: --cli)")
    parser.add_argument("--work", required=True)
    parser.add_argument("--testdata", required=True)
    args = parser.parse_args()
    target = os.path.join(args.testdata, "mdb", "northwind-ja.mdb")
    if not os.path.isfile(target):
        print(f"skipped: {target} is absent")
        return 77
    shutil.rmtree(args.work, ignore_errors=True)
    home = os.path.join(args.work, "home")
    os.makedirs(home)
    env = dict(os.environ, ZANFOR_HOME=home)
    cli(args.run_cli or args.cli, "run", target,
        "--only", "objects,tables,queries,forms,reports,macros,module",
        "--option", "table=3", "--option", "query=3", "--option", "form=2",
        "--option", "report=2", "--option", "macro=2",
        "--out", os.path.join(args.work, "reports"), "--format", "html", env=env)
    workdb = os.path.join(home, "Zanfor2.db")

    out = os.path.join(args.work, "out")
    os.makedirs(out)
    for kind in [*CSV_KINDS, "sql", "module"]:
        cli(args.cli, "export", kind, "--workdb", workdb, "--out", os.path.join(out, kind), env=env)
    db = sqlite3.connect(workdb)
    counts = {kind: check_csv(db, kind, view, os.path.join(out, kind + ".csv"))
              for kind, view in CSV_KINDS.items()}
    queries = db.execute("SELECT QueryName, QueryType, QuerySQL FROM T_AcQeryInfo ORDER BY rowid")
    check_text("sql", os.path.join(out, "sql.txt"),
               [line for name, kind, sql in queries
                for line in (f"クエリー名：{name}({kind or ''})", sql)])
    check_text("module", os.path.join(out, "module.txt"),
               [r[0] for r in db.execute('SELECT "Procedure" FROM T_AcModule ORDER BY rowid')])
    if min(counts.values()) == 0:
        sys.exit(f"an export is empty: {counts}")

    cli(args.cli, "export", "xlsx-table", "--workdb", workdb, "--out",
        os.path.join(out, "tables.xlsx"), env=env)
    with open(os.path.join(out, "tables.xlsx"), "rb") as f:
        if f.read(2) != b"PK":
            sys.exit("the workbook is not a zip package")
    cli(args.cli, "export", "sheet", "--workdb", workdb, "--out", out, expect=2, env=env)
    cli(args.cli, "export", "object", "--workdb", os.path.join(out, "none.db"), "--out",
        os.path.join(out, "x"), expect=1, env=env)
    print("records:", counts)
    return 0


if __name__ == "__main__":
    sys.exit(main())
