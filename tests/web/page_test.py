#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# The web page in headless Chromium, read back in device pixels.
#
# Usage: page_test.py SITE_FOLDER TESTCARD_RENDER
#        (TESTCARD_SCREENSHOTS=FOLDER keeps the phone's screens as PNGs)
#
# For each device pixel ratio, window and input in CASES, opened from disk:
# the start screen covers the page until the first press that steps, then the
# screen must show exactly what testcard-render draws at the canvas size
# rounded down to even, with any odd last column or row black, for the grid,
# the cross and the colour pattern in turn, unchanged by every press or
# gesture in between that must not step. The press after the colour pattern
# ends the run on a one-line page, out of full screen, and one more starts
# again (cycle.py). Taps and clicks also go full screen; some cases resize
# the window mid-run, or leave full screen and tap or click back into it,
# which must draw the same pattern again for the new size and not step. The
# browser must report no error.
# Then the page served over HTTP, installed and offline (offline_case.py).

import sys
import tempfile
from pathlib import Path

# Headless Chromium, as harness/browser.py starts and drives it.
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "harness"))
import browser  # noqa: E402
import cycle  # noqa: E402
import offline_case  # noqa: E402

PHONE = (390, 844)  # CSS pixels, a phone held upright
# ratio, window (CSS pixels, as Chromium takes it, or PHONE), input, mid-run
CASES = [
    (1, (801, 601), "touch", None),
    (1.25, (1001, 701), "keyboard", ("resize", 803, 523)),
    (1.5, (1001, 601), "touch", ("full screen again",)),
    (1.5, (640, 480), "mouse", ("full screen again",)),
    (2, (643, 455), "remote", None),
    (3, (423, 333), "keyboard", ("resize", 500, 401)),
    (3, PHONE, "touch", None),
]


def run_case(page, render, ratio, window, kind, midway):
    where = f"ratio {ratio}, window {window[0]}x{window[1]}, {kind}"
    phone = window == PHONE
    with tempfile.TemporaryDirectory() as profile:
        driver = browser.start_browser(ratio, window, profile, touch=kind == "touch",
                                       phone=PHONE if phone else None)
        try:
            driver.get(page)
            cycle.walk(driver, render, kind, where, midway, screenshots="phone" if phone else None)
            # From disk too the page asks for nothing the browser refuses
            # there (a manifest, a service worker) and throws nothing.
            errors = [entry["message"] for entry in driver.get_log("browser")
                      if entry["level"] == "SEVERE"]
            assert not errors, f"{where}: the browser reported {errors}"
        finally:
            driver.quit()
    print(f"ok: {where}")


if __name__ == "__main__":
    site, render = Path(sys.argv[1]).resolve(), sys.argv[2]
    runs = [lambda case=case: run_case((site / "index.html").as_uri(), render, *case)
            for case in CASES]
    runs.append(lambda: offline_case.run(site, render))
    failures = 0
    for run in runs:
        try:
            run()
        except AssertionError as failure:
            failures += 1
            print(f"FAIL: {failure}")
    sys.exit(1 if failures else 0)
