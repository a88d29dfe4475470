#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# The web page in headless Chromium, read back in device pixels.
#
# Usage: page_test.py SITE_FOLDER TESTCARD_RENDER
#
# For each device pixel ratio and window size in CASES: the canvas must show
# exactly what testcard-render draws at the canvas size rounded down to even,
# with any odd last column or row black, for the grid, the cross and the colour
# pattern in turn. Keys are real key presses through the browser: space, then an
# arrow (no character: nothing may change), Enter, and Escape after the colour
# pattern, which must end the run on a one-line page. Some cases resize the
# window or go full screen by a click mid-run: the pattern on show must be
# drawn again for the new size.

import io
import subprocess
import sys
import tempfile
from pathlib import Path

from PIL import Image, ImageChops
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

# ratio, window size (CSS pixels, as Chromium takes it), what happens mid-run
CASES = [
    (1, (801, 601), None),
    (1.25, (1001, 701), ("resize", 803, 523)),
    (1.5, (1001, 601), None),
    (1.5, (640, 480), ("click",)),
    (2, (643, 455), None),
    (3, (423, 333), ("resize", 500, 401)),
]
END_TEXT = "testcard has ended. Reload the page to start again."
CANVAS_SIZE = 'const c = document.getElementById("picture"); return [c.width, c.height];'


def start_browser(ratio, window, profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", f"--user-data-dir={profile}",
                 f"--force-device-scale-factor={ratio}", "--window-size=%d,%d" % window):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def canvas_size_other_than(driver, old):
    # Waits until the page has drawn for a canvas size other than `old`.
    return WebDriverWait(driver, 10).until(
        lambda d: (size := tuple(d.execute_script(CANVAS_SIZE))) != old and size[0] > 0 and size)


def check_picture(driver, render, pattern, where):
    # The screenshot against testcard-render at the canvas size.
    width, height = driver.execute_script(CANVAS_SIZE)
    shot = Image.open(io.BytesIO(driver.get_screenshot_as_png())).convert("RGB")
    assert shot.size == (width, height), \
        f"{where}: screenshot {shot.size} does not match the canvas {width}x{height}"
    even = (width - width % 2, height - height % 2)
    png = subprocess.run([render, "--pattern", pattern, "--size", "%dx%d" % even, "--output", "-"],
                         check=True, capture_output=True).stdout
    expected = Image.open(io.BytesIO(png)).convert("RGB")
    differ = ImageChops.difference(shot.crop((0, 0) + even), expected).getbbox()
    assert differ is None, f"{where}: {pattern} at {even} differs from testcard-render in {differ}"
    for strip in ((even[0], 0, width, height), (0, even[1], width, height)):
        assert shot.crop(strip).getbbox() is None, f"{where}: odd column or row {strip} not black"
    return (width, height)


def run_case(site, render, ratio, window, midway):
    where = f"ratio {ratio}, window {window[0]}x{window[1]}"
    with tempfile.TemporaryDirectory() as profile:
        driver = start_browser(ratio, window, profile)
        try:
            driver.get(site.as_uri())
            size = canvas_size_other_than(driver, (0, 0))
            where += f", canvas {size[0]}x{size[1]}"
            check_picture(driver, render, "grid", where)
            if midway and midway[0] == "click":
                driver.find_element("id", "picture").click()
                WebDriverWait(driver, 10).until(
                    lambda d: d.execute_script("return !!document.fullscreenElement"))
                size = canvas_size_other_than(driver, size)
                check_picture(driver, render, "grid", where + f", full screen {size}")
            keys = ActionChains(driver)
            keys.send_keys(" ").perform()
            check_picture(driver, render, "cross", where + ", after space")
            keys.send_keys(Keys.ARROW_RIGHT).perform()
            check_picture(driver, render, "cross", where + ", after an arrow")
            if midway and midway[0] == "resize":
                driver.set_window_size(*midway[1:])
                size = canvas_size_other_than(driver, size)
                check_picture(driver, render, "cross", where + f", resized to {size}")
            keys.send_keys(Keys.ENTER).perform()
            check_picture(driver, render, "colour", where + ", after Enter")
            keys.send_keys(Keys.ESCAPE).perform()
            ended = driver.execute_script(
                "return [document.body.innerText.trim(), !!document.fullscreenElement]")
            assert ended == [END_TEXT, False], f"{where}: after Escape the page is {ended}"
        finally:
            driver.quit()
    print(f"ok: {where}")


if __name__ == "__main__":
    failures = 0
    for ratio, window, midway in CASES:
        try:
            run_case(Path(sys.argv[1]).resolve() / "index.html", sys.argv[2], ratio, window, midway)
        except AssertionError as failure:
            failures += 1
            print(f"FAIL: {failure}")
    sys.exit(1 if failures else 0)
