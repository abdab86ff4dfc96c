#!/usr/bin/env python3
"""Writes a large synthetic target in export-folder form for the benchmarks.

    make_target.py [--force] --size N OUT_DIR.mdb.src

The target is made of real objects: copies of the bundled sample (examples/hanbai-kanri.mdb.src)
under new names, every reference renamed with them (table names in query SQL and record or row
sources, subform source objects, macro arguments, names in code, relationships, index names,
import/export definitions), plus extra copies of forms and reports and more procedures per
module (copies of the module's own procedures under new names). Size 1 has about 475 objects,
4,925 controls and 47,000 lines of code; size N has N times as many. The output depends only on
the sample and N: the same input gives the same bytes.

Copy 0 keeps the sample's names (so the database properties, which name the startup form, stay
true); copy k appends "_kk" to every name. Extra form and report copies append "_2", "_3" ... to
the name of the copy they belong to.
"""

import argparse
import json
import re
import shutil
import sys
from pathlib import Path

OBJECTS_PER_SIZE = 475
CONTROLS_PER_SIZE = 4925
CODE_LINES_PER_SIZE = 47000

BOM = "\ufeff"
CRLF = "\r\n"
DESIGN_FOLDERS = ("forms", "reports")
# The folders whose files are Access's text form (quoted values continued over lines).
SAVED_TEXT_FOLDERS = ("forms", "reports", "macros", "queries")
PLAIN_FOLDERS = ("modules", "tbldefs", "imexspecs", "relations")

PROC_START = re.compile(
    r"^(?:(?:Public|Private|Friend|Global)\s+)?(?:Static\s+)?"
    r"(?:Sub|Function|Property\s+(?:Get|Let|Set))\s+([^\s(]+)",
    re.IGNORECASE,
)
PROC_END = re.compile(r"^End\s+(?:Sub|Function|Property)\b", re.IGNORECASE)
# What a standard module makes known to the whole project: its procedures (public unless
# declared otherwise), public variables and constants, types and enums. Declared DLL procedures
# keep their names: the name is the entry point unless an alias says otherwise.
GLOBAL_PROC = re.compile(
    r"^(?:(?:Public|Global)\s+)?(?:Static\s+)?(?:Sub|Function|Property\s+(?:Get|Let|Set))\s+"
    r"([^\s(]+)",
    re.IGNORECASE,
)
GLOBAL_ITEM = re.compile(
    r"^(?:Public|Global)\s+(?:Const\s+|Enum\s+|Type\s+)?(?!Declare\b|Sub\b|Function\b|Property\b"
    r"|Static\b|WithEvents\b)([^\s(,]+)",
    re.IGNORECASE,
)
CONTROL_BEGIN = re.compile(r"^ {16,}Begin \w")
HIDDEN_QUERY = re.compile(r"^~sq_([a-z])(.+?)(~sq_.*)?$")


def read_text(path):
    return path.read_bytes().decode("utf-8")


def write_text(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(text.encode("utf-8"))


def split_bom(text):
    return (BOM, text[1:]) if text.startswith(BOM) else ("", text)


def indent(line):
    return line[: len(line) - len(line.lstrip())]


# ---- Access's text form: quoted values ------------------------------------------------------


def read_quoted(s, at):
    """The escaped content of the quoted string at s[at] == '"' and the position after it."""
    i = at + 1
    while i < len(s):
        if s[i] == "\\":
            i += 2
            continue
        if s[i] == '"':
            return s[at + 1 : i], i + 1
        i += 1
    raise ValueError("unclosed quote: " + s)


OCTAL = re.compile(r"\\([0-7]{1,3}|.)", re.DOTALL)


def unescape(escaped):
    def one(m):
        e = m.group(1)
        if e[0] in "01234567":
            return chr(int(e, 8))
        return {"n": "\n", "r": "\r", "t": "\t"}.get(e, e)

    return OCTAL.sub(one, escaped)


def escape_tokens(text):
    """The escaped form of `text` as a list of tokens that must not be split across lines."""
    out = []
    for c in text:
        if c in '"\\':
            out.append("\\" + c)
        elif ord(c) < 32:
            out.append("\\%03o" % ord(c))
        else:
            out.append(c)
    return out


def property_head(s):
    """For a property line (stripped) whose value is quoted: the part before the value's quote.
    None for anything else."""
    if s.startswith("db") and ' "' in s and (" =" not in s or s.find(' "') < s.find(" =")):
        _, after = read_quoted(s, s.find('"'))
        if not s[after:].startswith(" ="):
            return None
        head_end = after + 2
    else:
        equals = s.find(" =")
        if equals <= 0 or '"' in s[:equals]:
            return None
        head_end = equals + 2
    value = s[head_end:]
    if not value.lstrip().startswith('"'):
        return None
    return s[: head_end + len(value) - len(value.lstrip())]


class QuotedValue:
    """A quoted value of Access's text form: its text with the escapes resolved and the
    continuation lines joined (so a name cut at a line end is whole), and how it was written."""

    def __init__(self, lines, head, escaped):
        self.lines = lines
        self.prefix = indent(lines[0]) + head
        # Continued values are cut again at the first line's width, as Access cuts them.
        self.more = indent(lines[1]) if len(lines) > 1 else ""
        self.width = len(escaped[0]) if len(lines) > 1 else 0
        self.value = unescape("".join(escaped))

    def render(self, rename):
        renamed = rename(self.value)
        if renamed == self.value:
            return CRLF.join(self.lines)
        chunks = chunk(escape_tokens(renamed), self.width)
        return CRLF.join(
            [self.prefix + '"' + chunks[0] + '"'] + [self.more + '"' + c + '"' for c in chunks[1:]]
        )


def parse_saved_text(text):
    """Access's text form as pieces: runs of lines kept as they are, quoted values, and the code
    behind a form or report as a function of the renaming."""
    lines = text.split(CRLF)
    pieces, plain = [], []

    def flush():
        if plain:
            pieces.append(CRLF.join(plain))
            plain.clear()

    i = 0
    while i < len(lines):
        line = lines[i]
        s = line.strip()
        if s == "CodeBehindForm":
            plain.append(line)
            flush()
            pieces.append(Code(CRLF.join(lines[i + 1 :])))
            break
        head = property_head(s)
        if head is None:
            plain.append(line)
            i += 1
            continue
        parts = [s[len(head) :]]
        j = i + 1
        while j < len(lines) and lines[j].strip().startswith('"'):
            parts.append(lines[j].strip())
            j += 1
        flush()
        pieces.append(QuotedValue(lines[i:j], head, [read_quoted(p, 0)[0] for p in parts]))
        i = j
    flush()
    return pieces


class Code:
    """The code behind a form or report, renamed as a whole."""

    def __init__(self, text):
        self.text = text

    def render(self, rename):
        return rename(self.text)


def render(pieces, rename):
    return CRLF.join(p if isinstance(p, str) else p.render(rename) for p in pieces)


def chunk(tokens, width):
    """The tokens joined into lines of at most `width` characters; one line for width 0."""
    if width <= 0:
        return ["".join(tokens)]
    chunks, current = [], ""
    for t in tokens:
        if current and len(current) + len(t) > width:
            chunks.append(current)
            current = ""
        current += t
    chunks.append(current)
    return chunks


# ---- code --------------------------------------------------------------------------------


def code_start(lines):
    """The index of a module's first line of code (after the class header and attributes)."""
    i = 0
    if lines and lines[0].upper().startswith("VERSION "):
        while i < len(lines) and lines[i].strip().upper() != "END":
            i += 1
        i += 1
    while i < len(lines) and lines[i].upper().startswith("ATTRIBUTE "):
        i += 1
    return i


def procedures(code_lines):
    """The procedures of a module as (name, first line, line after End) in order."""
    found, start, name = [], None, None
    for n, line in enumerate(code_lines):
        if start is None:
            m = PROC_START.match(line)
            if m:
                start, name = n, m.group(1)
        elif PROC_END.match(line):
            found.append((name, start, n + 1))
            start = None
    return found


def clone_groups(code_lines):
    """A module's procedures grouped by name (a property's Get, Let and Set together), each group
    as the lines of its procedures."""
    groups = {}
    for name, start, end in procedures(code_lines):
        groups.setdefault(name, []).append(code_lines[start:end])
    return list(groups.items())


def clone(name, bodies, number):
    """Copies of a procedure group named "name_number": the name is changed in the heading and
    wherever the body assigns or calls it, not where it is a member or a field (".", "!")."""
    new = "%s_%d" % (name, number)
    own = re.compile(r"(?<![\w.!\[])" + re.escape(name) + r"(?!\w)")
    lines = []
    for body in bodies:
        lines.append("")
        lines.extend(own.sub(new, line) for line in body)
    return lines


def code_lines(text, design):
    """The lines of code of a module, or of the code behind a form or report."""
    if design:
        parts = text.split(CRLF + "CodeBehindForm" + CRLF, 1)
        if len(parts) < 2:
            return []
        text = parts[1]
    lines = text.split(CRLF)
    if lines and lines[-1] == "":
        lines.pop()
    return lines[code_start(lines) :]


def fattening_plan(lines, factor):
    """The procedure copies that bring a module to about `factor` times its lines, as
    (procedure group, copy number) pairs, and the lines they add."""
    groups = clone_groups(lines)
    plan, added = [], 0
    if not groups or factor <= 1:
        return plan, added
    goal = len(lines) * (factor - 1)
    number = 2
    while added < goal:
        for g, (_, bodies) in enumerate(groups):
            if added >= goal:
                break
            plan.append((g, number))
            added += sum(len(body) + 1 for body in bodies)
        number += 1
    return plan, added


def fattened(text, design, plan):
    """The text with the planned procedure copies appended. They are copied from the text
    itself, so that in a renamed copy they carry its names (a public procedure's copy in copy
    k is "name_kk_n", not the same "name_n" in every copy)."""
    if not plan:
        return text
    groups = clone_groups(code_lines(text, design))
    added = []
    for g, number in plan:
        added.extend(clone(*groups[g], number))
    body = text[:-2] if text.endswith(CRLF) else text
    return body + CRLF + CRLF.join(added) + CRLF


# ---- the sample ----------------------------------------------------------------------------


class Sample:
    """The sample's files, its names and what each copy of it holds."""

    def __init__(self, root):
        self.root = root
        self.files = {}  # folder -> sorted list of files
        for folder in SAVED_TEXT_FOLDERS + PLAIN_FOLDERS:
            path = root / folder
            self.files[folder] = sorted(path.iterdir()) if path.is_dir() else []
        self.root_files = sorted(p for p in root.iterdir() if p.is_file())
        self.texts = {p: read_text(p) for files in self.files.values() for p in files}
        self.pieces = {
            p: parse_saved_text(split_bom(self.texts[p])[1])
            for folder in SAVED_TEXT_FOLDERS
            for p in self.files[folder]
        }

        def stems(folder):
            return sorted({p.stem for p in self.files[folder]})

        self.designs = [(f, n) for f in DESIGN_FOLDERS for n in stems(f)]
        self.hidden_queries = [n for n in stems("queries") if n.startswith("~sq_")]
        self.objects = [
            n
            for f in ("tbldefs", "forms", "reports", "macros", "modules")
            for n in stems(f)
        ] + [n for n in stems("queries") if not n.startswith("~sq_")]
        self.relations = {}
        for p in self.files["relations"]:
            items = json.loads(split_bom(self.texts[p])[1])["Items"]
            self.relations[items["Name"]] = (items["Table"], items["ForeignTable"])
        self.specs = [
            json.loads(split_bom(self.texts[p])[1])["Items"]["SpecName"]
            for p in self.files["imexspecs"]
        ]
        self.globals = sorted(self._global_names())
        self.controls = {d: self._controls(d) for d in self.designs}
        self.plans = {}

    def design_file(self, design):
        folder, name = design
        return self.root / folder / (name + ".bas")

    def _controls(self, design):
        text = self.texts[self.design_file(design)]
        design_part = text.split(CRLF + "CodeBehindForm" + CRLF)[0]
        return sum(1 for line in design_part.split(CRLF) if CONTROL_BEGIN.match(line))

    def _global_names(self):
        names = set()
        for p in self.files["modules"]:
            if p.suffix.lower() != ".bas":
                continue
            for line in split_bom(self.texts[p])[1].split(CRLF):
                m = GLOBAL_PROC.match(line) or GLOBAL_ITEM.match(line)
                if m and not line.upper().startswith("PRIVATE"):
                    names.add(m.group(1))
        return names

    def code_lines(self, path):
        return code_lines(split_bom(self.texts[path])[1], path.parent.name in DESIGN_FOLDERS)

    def code_files(self):
        return self.files["modules"] + [self.design_file(d) for d in self.designs]

    def plan(self, path, factor):
        """The fattening plan of a module at that factor and the lines it adds, worked out once."""
        key = (path, factor)
        if key not in self.plans:
            self.plans[key] = fattening_plan(self.code_lines(path), factor)
        return self.plans[key]


# ---- renaming ------------------------------------------------------------------------------


class Renamer:
    """Renames every object name of the sample, as a whole word, to that of one copy."""

    def __init__(self, sample):
        self.sample = sample
        keys = set(sample.objects) | set(sample.hidden_queries) | set(sample.relations)
        keys |= set(sample.specs) | set(sample.globals)
        keys |= {"Form_" + n for f, n in sample.designs if f == "forms"}
        keys |= {"Report_" + n for f, n in sample.designs if f == "reports"}
        alternatives = "|".join(re.escape(k) for k in sorted(keys, key=lambda k: (-len(k), k)))
        self.pattern = re.compile(r"(?<![\w])(?:" + alternatives + r")(?![\w])")

    def names(self, suffix, extra=None):
        """The map of one copy: every name with `suffix`; `extra` = (design, its new name) for an
        extra copy of a form or report, which is known by that name instead."""
        s = self.sample
        m = {n: n + suffix for n in s.objects + s.specs + s.globals}
        if extra:
            m[extra[0]] = extra[1]
        for folder, n in s.designs:
            m[("Form_" if folder == "forms" else "Report_") + n] = (
                "Form_" if folder == "forms" else "Report_"
            ) + m[n]
        for n in s.hidden_queries:
            h = HIDDEN_QUERY.match(n)
            m[n] = "~sq_" + h.group(1) + m.get(h.group(2), h.group(2)) + (h.group(3) or "")
        for n, (table, foreign) in s.relations.items():
            m[n] = m[table] + m[foreign] if n == table + foreign else n + suffix
        return m

    def function(self, names):
        if all(k == v for k, v in names.items()):
            return lambda text: text
        return lambda text: self.pattern.sub(lambda mo: names[mo.group(0)], text)


# ---- the target ----------------------------------------------------------------------------


def composition(sample, size):
    """The number of copies of the whole sample and the designs of the extra form/report
    copies, in order: the extras make up the objects of the size, their mix its controls.

    The copies are as many as an even mix of extras needs; then the extras are taken in turn
    from the designs larger and smaller than the average, whichever keeps the running total
    nearer the controls wanted."""
    objects = OBJECTS_PER_SIZE * size
    controls = CONTROLS_PER_SIZE * size
    per_copy = sum(sample.controls.values())
    average = per_copy / len(sample.designs)
    exact = (controls - average * objects) / (per_copy - average * len(sample.objects))
    copies = max(1, min(round(exact), objects // len(sample.objects)))
    count = objects - copies * len(sample.objects)
    by_size = sorted(sample.designs, key=lambda d: (-sample.controls[d], d))
    large = [d for d in by_size if sample.controls[d] >= average]
    small = [d for d in by_size if sample.controls[d] < average][::-1]
    wanted = controls - copies * per_copy
    extras, total, taken = [], 0, {0: 0, 1: 0}
    for e in range(count):
        which = 0 if total < wanted * (e + 1) / count else 1
        group = (large, small)[which]
        design = group[taken[which] % len(group)]
        taken[which] += 1
        extras.append(design)
        total += sample.controls[design]
    return copies, extras


def suffix(copy):
    return "" if copy == 0 else "_%02d" % copy


def write_copy(sample, renamer, out, copy, factor):
    names = renamer.names(suffix(copy))
    rename = renamer.function(names)
    code_files = set(sample.code_files())
    for folder, files in sorted(sample.files.items()):
        for path in files:
            bom, text = split_bom(sample.texts[path])
            if folder in SAVED_TEXT_FOLDERS:
                text = render(sample.pieces[path], rename)
            else:
                text = rename(text)
            if path in code_files:
                text = fattened(text, folder in DESIGN_FOLDERS, sample.plan(path, factor)[0])
            new_name = names.get(path.stem, path.stem + suffix(copy))
            write_text(out / folder / (new_name + path.suffix), bom + text)


def write_extra(sample, renamer, out, design, copy, number, factor):
    base = renamer.names(suffix(copy))
    new_name = "%s_%d" % (base[design[1]], number)
    rename = renamer.function(renamer.names(suffix(copy), (design[1], new_name)))
    path = sample.design_file(design)
    bom, text = split_bom(sample.texts[path])
    text = fattened(render(sample.pieces[path], rename), True, sample.plan(path, factor)[0])
    write_text(out / design[0] / (new_name + path.suffix), bom + text)


def code_lines_of(sample, copies, extras, factor):
    def lines(path):
        return len(sample.code_lines(path)) + sample.plan(path, factor)[1]

    total = copies * sum(lines(p) for p in sample.code_files())
    return total + sum(lines(sample.design_file(d)) for d in extras)


def generate(sample, size, out):
    copies, extras = composition(sample, size)
    # The factor by which each module's code grows, corrected for the whole procedures it
    # comes in until the whole is near the goal.
    goal = CODE_LINES_PER_SIZE * size
    factor = 1.0
    for _ in range(4):
        factor = round(factor * goal / code_lines_of(sample, copies, extras, factor), 3)
    renamer = Renamer(sample)
    for copy in range(copies):
        write_copy(sample, renamer, out, copy, factor)
    # Spread over the copies; the n-th extra copy of a design in a copy is named "..._n+1".
    made = {}
    for e, design in enumerate(extras):
        copy = e % copies
        made[(design, copy)] = made.get((design, copy), 1) + 1
        write_extra(sample, renamer, out, design, copy, made[(design, copy)], factor)
    for path in sample.root_files:
        shutil.copyfile(path, out / path.name)
    return {
        "copies": copies,
        "extra designs": len(extras),
        "objects": copies * len(sample.objects) + len(extras),
        "controls": copies * sum(sample.controls.values())
        + sum(sample.controls[d] for d in extras),
        "code lines": code_lines_of(sample, copies, extras, factor),
    }


def main(argv=None):
    sample = Path(__file__).resolve().parent.parent / "examples" / "hanbai-kanri.mdb.src"
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--size", type=int, required=True, help="1, 2, 4, 8 ...")
    parser.add_argument("--force", action="store_true", help="replace OUT_DIR when it exists")
    parser.add_argument("out", type=Path, metavar="OUT_DIR")
    args = parser.parse_args(argv)
    if args.size < 1:
        parser.error("--size must be 1 or more")
    if not args.out.name.endswith(".mdb.src"):
        parser.error("OUT_DIR must end in .mdb.src")
    if args.out.exists():
        if not args.force:
            parser.error("%s exists (--force replaces it)" % args.out)
        shutil.rmtree(args.out)
    # Written beside and moved into place, so a failed run leaves no half target behind.
    partial = args.out.with_name(args.out.name + ".partial")
    if partial.exists():
        shutil.rmtree(partial)
    partial.mkdir(parents=True)
    counts = generate(Sample(sample), args.size, partial)
    partial.rename(args.out)
    print(" ".join("%s=%d" % (k.replace(" ", "_"), v) for k, v in counts.items()))
    return 0


if __name__ == "__main__":
    sys.exit(main())
