# SPDX-License-Identifier: MIT
# Headless Chromium for the web page's tests: starting it, pressing and touching
# through its own input pipeline (the DevTools protocol's touch emulation and
# key events, WebDriver's keyboard and mouse), and reading the screen back in
# device pixels to compare with testcard-render.

import io
import subprocess
import time

from PIL import Image, ImageChops
from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

CANVAS_SIZE = 'const c = document.getElementById("picture"); return [c.width, c.height];'
START_SHOWN = 'return !!document.getElementById("start")'
START_GONE = 'return !document.getElementById("start")'
IN_FULL_SCREEN = "return !!document.fullscreenElement"
OUT_OF_FULL_SCREEN = "return !document.fullscreenElement"


def start_browser(ratio, window, profile, touch=False, phone=None):
    # `phone` is a CSS size the page sees as a mobile viewport with touch;
    # the ratio stays Chromium's own, so the canvas is measured in real
    # device pixels (an emulated ratio would hide them from the page).
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", f"--user-data-dir={profile}",
                 f"--force-device-scale-factor={ratio}", "--window-size=%d,%d" % window):
        options.add_argument(flag)
    try:
        driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    except WebDriverException as error:
        raise AssertionError(f"headless Chromium did not start ({error.msg}); "
                             "scripts/install-deps installs chromium and chromium-driver")
    if phone:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": phone[0], "height": phone[1], "deviceScaleFactor": 0, "mobile": True,
            "screenWidth": phone[0], "screenHeight": phone[1]})
    if touch or phone:
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled",
                               {"enabled": True, "maxTouchPoints": 5})
    return driver


def fingers(driver, paths, hold_s=0.0):
    # Fingers down at the first points of their paths (CSS pixels from the
    # middle of the screen), along them together 10 ms a step, held, then
    # all up: touch input as a touch screen gives it to Chromium. The events
    # carry those times, so a busy machine cannot make a tap a long press.
    width, height = driver.execute_script("return [innerWidth, innerHeight]")
    now = time.time()

    def touch(kind, points, after_s):
        driver.execute_cdp_cmd("Input.dispatchTouchEvent", {
            "type": kind, "timestamp": now + after_s, "touchPoints": [
                {"x": width // 2 + x, "y": height // 2 + y, "id": finger}
                for finger, (x, y) in enumerate(points)]})

    touch("touchStart", [path[0] for path in paths], 0)
    for step in range(1, len(paths[0])):
        touch("touchMove", [path[step] for path in paths], step / 100)
    end_s = len(paths[0]) / 100 + hold_s
    touch("touchEnd", [], end_s)
    time.sleep(max(0.0, now + end_s - time.time()))  # the next touch comes later


def tap(driver):
    fingers(driver, [[(0, 0)]])


def wobbly_tap(driver):
    # A finger is never quite still: a few pixels of it are still a tap.
    fingers(driver, [[(0, 0), (3, 2), (6, 4)]])


# What a finger does on a touch screen that is no tap.
GESTURES = {
    "long press": lambda d: fingers(d, [[(0, 0)]], hold_s=0.8),
    "scroll": lambda d: fingers(d, [[(0, -12 * i) for i in range(10)]]),
    "pinch": lambda d: fingers(d, [[(-20 - 10 * i, 0) for i in range(8)],
                                   [(20 + 10 * i, 0) for i in range(8)]]),
    "two-finger tap": lambda d: fingers(d, [[(-30, 0)], [(30, 0)]]),
}

# A TV remote's buttons as Chromium names them: DOM key, code, key code.
REMOTE_OK = ("Enter", "Enter", 13)
REMOTE_NOT_STEPS = {
    "arrow up": ("ArrowUp", "ArrowUp", 38), "arrow right": ("ArrowRight", "ArrowRight", 39),
    "play/pause": ("MediaPlayPause", "MediaPlayPause", 179),
    "next track": ("MediaTrackNext", "MediaTrackNext", 176),
    "fast forward": ("MediaFastForward", "", 417), "back (webOS)": ("GoBack", "", 461),
    "red": ("ColorF0Red", "", 403), "channel up": ("ChannelUp", "", 427),
    "volume up": ("AudioVolumeUp", "AudioVolumeUp", 175),
}


def remote_press(driver, button):
    key, code, key_code = button
    event = {"key": key, "code": code, "windowsVirtualKeyCode": key_code}
    down = {"type": "keyDown", "text": "\r"} if key == "Enter" else {"type": "rawKeyDown"}
    driver.execute_cdp_cmd("Input.dispatchKeyEvent", event | down)
    driver.execute_cdp_cmd("Input.dispatchKeyEvent", event | {"type": "keyUp"})


def canvas_size_other_than(driver, old):
    # Waits until the page has drawn for a canvas size other than `old`.
    return WebDriverWait(driver, 10).until(
        lambda d: (size := tuple(d.execute_script(CANVAS_SIZE))) != old and size[0] > 0 and size)


def wait_for(driver, script, what):
    # Also across a reload, when the page may not answer for a moment.
    try:
        return WebDriverWait(driver, 10, ignored_exceptions=[WebDriverException]).until(
            lambda d: d.execute_script(script))
    except WebDriverException:
        raise AssertionError(f"waited 10 s for {what}")


def after_frames(driver):
    # Two frames later the page has seen any new size and drawn for it.
    driver.execute_async_script(
        "const done = arguments[0]; requestAnimationFrame(() => requestAnimationFrame(done));")


def screenshot(driver):
    return Image.open(io.BytesIO(driver.get_screenshot_as_png())).convert("RGB")


def render(render_tool, pattern, size):
    png = subprocess.run([render_tool, "--pattern", pattern, "--size", "%dx%d" % size,
                          "--output", "-"], check=True, capture_output=True).stdout
    return Image.open(io.BytesIO(png)).convert("RGB")


def check_picture(driver, render_tool, pattern, where):
    # The whole screen against testcard-render at the canvas size, any odd
    # last column or row black. Returns the screenshot.
    width, height = driver.execute_script(CANVAS_SIZE)
    shot = screenshot(driver)
    assert shot.size == (width, height), \
        f"{where}: screenshot {shot.size} does not match the canvas {width}x{height}"
    even = (width - width % 2, height - height % 2)
    differ = ImageChops.difference(shot.crop((0, 0) + even),
                                   render(render_tool, pattern, even)).getbbox()
    assert differ is None, f"{where}: {pattern} at {even} differs from testcard-render in {differ}"
    for strip in ((even[0], 0, width, height), (0, even[1], width, height)):
        assert shot.crop(strip).getbbox() is None, f"{where}: odd column or row {strip} not black"
    return shot


def settle():
    # Long enough for a late reaction to a gesture to reach the screen, so
    # that "nothing changed" is not only "nothing changed yet".
    time.sleep(0.2)
