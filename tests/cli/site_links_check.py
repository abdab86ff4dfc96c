#!/usr/bin/env python3
"""Checks a documentation site written by `zanfor-cli site`: every page parses with its tags
balanced and no stray '<' in its text, every internal link (page and #anchor) resolves, and
every image and script it loads is there. Prints what is wrong and exits 1; 0 when all is well.

Usage: site_links_check.py SITE_FOLDER
"""

import os
import sys
from html.parser import HTMLParser
from urllib.parse import unquote, urlsplit

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}


class Page(HTMLParser):
    def __init__(self):
        # Entities reach handle_entityref apart: a "<" left in the text is a raw one.
        super().__init__(convert_charrefs=False)
        self.ids = set()
        self.links = []      # (href, line)
        self.sources = []    # (src, line)
        self.problems = []
        self.stack = []
        self.doctype = False

    def handle_decl(self, decl):
        if decl.lower() == "doctype html":
            self.doctype = True

    def handle_starttag(self, tag, attrs):
        self._attrs(tag, attrs)
        if tag not in VOID:
            self.stack.append((tag, self.getpos()[0]))

    def handle_startendtag(self, tag, attrs):
        self._attrs(tag, attrs)

    def _attrs(self, tag, attrs):
        line = self.getpos()[0]
        for name, value in attrs:
            if value is None:
                continue
            if name == "id":
                if value in self.ids:
                    self.problems.append(f"line {line}: id '{value}' twice")
                self.ids.add(value)
            elif name in ("href", "xlink:href"):
                self.links.append((value, line))
            elif name == "src":
                self.sources.append((value, line))

    def handle_endtag(self, tag):
        line = self.getpos()[0]
        if tag in VOID:
            return
        if not self.stack:
            self.problems.append(f"line {line}: </{tag}> closes nothing")
            return
        open_tag, open_line = self.stack.pop()
        if open_tag != tag:
            self.problems.append(
                f"line {line}: </{tag}> closes <{open_tag}> of line {open_line}")

    def handle_data(self, data):
        if "<" in data:
            self.problems.append(f"line {self.getpos()[0]}: stray '<' in text")


def parse(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    page = Page()
    page.feed(text)
    page.close()
    if not page.doctype:
        page.problems.append("no <!DOCTYPE html>")
    for tag, line in page.stack:
        page.problems.append(f"<{tag}> of line {line} never closed")
    return page


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    root = argv[1]
    pages = {}
    problems = []
    for name in sorted(os.listdir(root)):
        if name.endswith(".html"):
            try:
                pages[name] = parse(os.path.join(root, name))
            except (UnicodeDecodeError, OSError) as e:
                problems.append(f"{name}: {e}")
    if "index.html" not in pages:
        problems.append("index.html is missing")
    links = 0
    for name, page in pages.items():
        problems.extend(f"{name}: {p}" for p in page.problems)
        for href, line in page.links:
            parts = urlsplit(href)
            if parts.scheme or parts.netloc:
                continue
            target = unquote(parts.path) or name
            fragment = unquote(parts.fragment)
            links += 1
            if not target.endswith(".html"):
                if not os.path.isfile(os.path.join(root, target)):
                    problems.append(f"{name} line {line}: '{href}' is missing")
            elif target not in pages:
                problems.append(f"{name} line {line}: link to missing page '{href}'")
            elif fragment and fragment not in pages[target].ids:
                problems.append(f"{name} line {line}: link to missing anchor '{href}'")
        for src, line in page.sources:
            if not os.path.isfile(os.path.join(root, unquote(urlsplit(src).path))):
                problems.append(f"{name} line {line}: '{src}' is missing")
    for problem in problems[:200]:
        print(problem)
    print(f"{len(pages)} pages, {links} internal links, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
