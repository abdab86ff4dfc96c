#!/usr/bin/env python3
"""Opens the workbooks the export wrote with real readers.

openpyxl: the values, borders, auto filter and row heights where the routine put them, and the
pivot table. LibreOffice: converts each workbook to PDF, and re-saves the one with the pivot
table, which must still hold a pivot table afterwards (LibreOffice keeps only those it read).

    xlsx_consumers_check.py FOLDER   (FOLDER holds plain.xlsx and pivot.xlsx)
"""
import os
import shutil
import subprocess
import sys
import tempfile

folder = sys.argv[1]
try:
    import openpyxl
except ImportError:
    print("SKIPPED: python3-openpyxl is not installed (scripts/setup.sh installs it)")
    sys.exit(0)


def pivots(book):
    return [p for ws in book.worksheets for p in ws._pivots]


def check_plain(path):
    ws = openpyxl.load_workbook(path)["Object"]
    expected = {"A3": "分類", "A4": "x", "C4": 1.5, "B6": 3, "E4": None, "F6": "f"}
    for cell, value in expected.items():
        assert ws[cell].value == value, (cell, ws[cell].value)
    assert ws.auto_filter.ref == "A3:F6", ws.auto_filter.ref
    for row in ws["A4:F6"]:
        for c in row:
            b = c.border
            sides = [b.left.style, b.right.style, b.top.style, b.bottom.style]
            assert sides == ["thin"] * 4 and b.diagonal.style is None, (c.coordinate, sides)
    assert ws.row_dimensions[4].height == 13.5, ws.row_dimensions[4].height


def check_pivot(path, name):
    book = openpyxl.load_workbook(path)
    tables = pivots(book)
    assert [t.name for t in tables] == [name], [t.name for t in tables]
    ws = book[name]
    assert ws["A7"].value == "総計" and ws["C7"].value == 8, (ws["A7"].value, ws["C7"].value)


check_plain(os.path.join(folder, "plain.xlsx"))
check_pivot(os.path.join(folder, "pivot.xlsx"), "Pivot")
print("openpyxl: values, borders, auto filter, row heights and the pivot table read back")

office = shutil.which("libreoffice") or shutil.which("soffice")
if not office:
    print("SKIPPED (LibreOffice part): libreoffice is not installed")
    sys.exit(0)
with tempfile.TemporaryDirectory() as profile, tempfile.TemporaryDirectory() as out:
    def convert(path, to):
        run = subprocess.run(
            [office, "-env:UserInstallation=file://" + profile, "--headless", "--convert-to", to,
             "--outdir", out, path], capture_output=True, text=True, timeout=300)
        result = os.path.join(out, os.path.splitext(os.path.basename(path))[0] + "." + to.split(":")[0])
        assert run.returncode == 0 and os.path.getsize(result) > 0, (path, run.stdout, run.stderr)
        return result

    for name in ("plain.xlsx", "pivot.xlsx"):
        convert(os.path.join(folder, name), "pdf")
    resaved = convert(os.path.join(folder, "pivot.xlsx"), 'xlsx:Calc MS Excel 2007 XML')
    assert len(pivots(openpyxl.load_workbook(resaved))) == 1, "LibreOffice dropped the pivot table"
print("LibreOffice: both workbooks converted to PDF; the pivot table survived a re-save")
