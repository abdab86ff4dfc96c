#!/usr/bin/env python3
"""The documentation site of northwind-ja.mdb in headless Chromium, driven over the DevTools
protocol (--remote-debugging-pipe, standard library only): the index and a table, query, form,
report and module page load with no console error, no uncaught exception and no failed
resource, and the search box finds a form by part of its name from a #q= address.

    browser_check.py --cli ZANFOR_CLI --testdata DIR --work DIR [--screenshots DIR]

With --screenshots the pages are also saved there as PNG (1280 x 2000) for a look by eye.
Prints "SKIPPED: ..." and exits 0 when Chromium or the test data is absent.
"""

import argparse
import base64
import json
import os
import re
import select
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse
from pathlib import Path

PAGE_TIMEOUT = 30  # seconds for one page to load, so that a hang fails rather than blocks
SETTLE = 0.5  # seconds after the load event for late script errors
KINDS = ["table", "query", "form", "report", "module"]
SEARCH = "スイッチ"  # part of the form name メイン スイッチボード


class Browser:
    """One headless Chromium; commands and events are NUL-terminated JSON on fds 3 and 4."""

    def __init__(self, executable, profile):
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        args = [executable, "--headless", "--remote-debugging-pipe", "--disable-gpu",
                "--no-first-run", "--no-default-browser-check", "--hide-scrollbars",
                "--user-data-dir=" + str(profile), "about:blank"]
        if hasattr(os, "geteuid") and os.geteuid() == 0:
            args.insert(1, "--no-sandbox")  # Chromium refuses to run sandboxed as root
        # The child's fds 3 and 4 must be the pipe ends the protocol expects; copied out of
        # the way first, as either end may itself be fd 3 or 4.
        def place():
            read_end, write_end = os.dup(to_browser_r), os.dup(from_browser_w)
            os.dup2(read_end, 3)
            os.dup2(write_end, 4)
        self.process = subprocess.Popen(args, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        preexec_fn=place, pass_fds=(3, 4),
                                        start_new_session=True)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.next_id = 0
        self.events = []
        self.session = None

    def close(self):
        """Asks the browser to quit, then ends its whole process group (its renderers too), so
        that nothing writes into the profile while it is removed."""
        try:
            self.call("Browser.close", timeout=10, session=False)
        except (TimeoutError, RuntimeError, OSError):
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            pass
        try:
            os.killpg(self.process.pid, 9)
        except ProcessLookupError:
            pass
        self.process.wait()
        os.close(self.to_browser)
        os.close(self.from_browser)

    def _read_message(self, deadline):
        while b"\0" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                raise TimeoutError("Chromium did not answer in time")
            ready, _, _ = select.select([self.from_browser], [], [], left)
            if ready:
                chunk = os.read(self.from_browser, 1 << 16)
                if not chunk:
                    raise RuntimeError("Chromium closed the protocol pipe")
                self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, params=None, timeout=PAGE_TIMEOUT, session=True):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            reply = self._read_message(deadline)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply.get("result", {})
            self.events.append(reply)

    def wait_event(self, method, timeout=PAGE_TIMEOUT):
        deadline = time.monotonic() + timeout
        while True:
            for i, event in enumerate(self.events):
                if event.get("method") == method:
                    return self.events.pop(i)
            self.events.append(self._read_message(deadline))

    def drain(self, seconds):
        deadline = time.monotonic() + seconds
        try:
            while True:
                self.events.append(self._read_message(deadline))
        except TimeoutError:
            pass

    def attach(self):
        deadline = time.monotonic() + PAGE_TIMEOUT
        page = None
        while page is None and time.monotonic() < deadline:
            targets = self.call("Target.getTargets", session=False)["targetInfos"]
            page = next((t for t in targets if t["type"] == "page"), None)
            if page is None:
                time.sleep(0.1)
        if page is None:
            raise TimeoutError("Chromium opened no page")
        self.session = self.call("Target.attachToTarget",
                                 {"targetId": page["targetId"], "flatten": True},
                                 session=False)["sessionId"]
        for domain in ("Page", "Runtime", "Log"):
            self.call(domain + ".enable")
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": 1280, "height": 2000, "deviceScaleFactor": 1, "mobile": False})

    def load(self, url):
        """Loads the address; returns the errors the page reported while loading."""
        self.events.clear()
        self.call("Page.navigate", {"url": url})
        self.wait_event("Page.loadEventFired")
        self.drain(SETTLE)
        errors = []
        for event in self.events:
            method, params = event.get("method"), event.get("params", {})
            if method == "Runtime.exceptionThrown":
                details = params["exceptionDetails"]
                errors.append(details.get("exception", {}).get("description")
                              or details.get("text"))
            elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error",
                                                                                "assert"):
                errors.append(" ".join(str(a.get("value", a.get("description")))
                                       for a in params.get("args", [])))
            elif method == "Log.entryAdded" and params["entry"].get("level") == "error":
                errors.append(params["entry"].get("text", "") + " " +
                              params["entry"].get("url", ""))
        return errors

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", {"expression": expression, "returnByValue": True})
        return result["result"].get("value")

    def screenshot(self, path):
        data = self.call("Page.captureScreenshot", {"format": "png"})["data"]
        path.write_bytes(base64.b64decode(data))


def find_chromium():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        found = shutil.which(name)
        if found:
            return found
    return None


def pick_pages(site):
    """The first page of each kind the index links to, by the site's file names."""
    index = (site / "index.html").read_text(encoding="utf-8")
    found = {}
    for href in re.findall(r'href="([a-z]+)-(\d+)\.html"', index):
        found.setdefault(href[0], f"{href[0]}-{href[1]}.html")
    missing = [k for k in KINDS if k not in found]
    if missing:
        raise SystemExit(f"FAIL: the index links to no page of kind {missing}")
    return [found[k] for k in KINDS]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--testdata", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--screenshots")
    args = parser.parse_args()

    chromium = find_chromium()
    if not chromium:
        print("SKIPPED: Chromium is not installed (Debian package chromium)")
        return 0
    target = Path(args.testdata) / "mdb" / "northwind-ja.mdb"
    if not target.is_file():
        print(f"SKIPPED: {target} is absent")
        return 0

    work = Path(args.work)
    work.mkdir(parents=True, exist_ok=True)
    site = work / "site"
    run = subprocess.run([args.cli, "site", str(target), "--out", str(site)],
                         capture_output=True, text=True, timeout=600)
    if run.returncode != 0:
        print(f"FAIL: zanfor-cli site exited {run.returncode}\n{run.stdout}{run.stderr}")
        return 1
    pages = ["index.html"] + pick_pages(site)

    # The check itself must be able to fail: a page with a script error has to be caught.
    faulty = work / "faulty.html"
    faulty.write_text("<!DOCTYPE html><title>t</title><script>noSuchFunction();</script>",
                      encoding="utf-8")

    failures = []
    with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as profile:
        browser = Browser(chromium, profile)
        try:
            browser.attach()
            if not browser.load(faulty.as_uri()):
                failures.append("a page with a script error was reported clean")

            query = urllib.parse.quote(SEARCH)
            search_errors = browser.load((site / "index.html").as_uri() + "#q=" + query)
            hits = browser.evaluate(
                "Array.from(document.querySelectorAll('#hits a.hit'))"
                ".map(a => [a.getAttribute('href'), a.textContent])") or []
            if search_errors:
                failures.append(f"search: console errors {search_errors}")
            if not any(re.fullmatch(r"form-\d+\.html", h) and t.startswith("フォーム: ")
                       and SEARCH in t for h, t in hits):
                failures.append(f"search for {SEARCH} found no form: {hits}")
            if args.screenshots:
                shots = Path(args.screenshots)
                shots.mkdir(parents=True, exist_ok=True)
                browser.screenshot(shots / "search.png")

            for page in pages:
                errors = browser.load((site / page).as_uri())
                title = browser.evaluate("document.title") or ""
                print(f"{page}: {title} ({len(errors)} errors)")
                if errors:
                    failures.append(f"{page}: {errors}")
                if args.screenshots:
                    browser.screenshot(Path(args.screenshots) / page.replace(".html", ".png"))
        except (TimeoutError, RuntimeError) as e:
            failures.append(f"Chromium: {e!r}")
        finally:
            browser.close()

    for f in failures:
        print("FAIL:", f)
    if not failures:
        print(f"OK: {len(pages)} pages without console errors; search found a form")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
