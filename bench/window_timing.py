#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# How fast testcard shows its pictures on a real X server: the time from
# starting the program to its first frame on the screen, and from a key press
# to the next pattern on the screen, plus its peak memory. Each run gets a
# private Xvfb (harness/window_systems.py, shared with the end-to-end tests);
# the screen is read back through GetImage, a few rows at a time.
#
#   bench/window_timing.py [runs]          (default 5)
#   bench/window_timing.py [runs] sway     (as root: namespaces, sway as nobody)
#
# It runs build/app/testcard and build/tools/testcard-render, or those in
# $TESTCARD_BUILD.

import os
import statistics
import sys
import time
from pathlib import Path

from Xlib import X

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "harness"))
from wayland_desktops import SwayDesktop  # noqa: E402
from window_systems import Process, XSession, expect_showing, render  # noqa: E402

BUILD = Path(os.environ.get("TESTCARD_BUILD", ROOT / "build"))
TESTCARD, RENDER = str(BUILD / "app" / "testcard"), str(BUILD / "tools" / "testcard-render")


def until(done, start):
    # Milliseconds from `start` until done() holds; -1 after ten seconds.
    while time.monotonic() - start < 10:
        if done():
            return (time.monotonic() - start) * 1000
        time.sleep(0.0002)
    return -1


def peak_memory_mb(pid):
    with open(f"/proc/{pid}/status") as status:
        return next(int(line.split()[1]) / 1024 for line in status if line.startswith("VmHWM:"))


def measure_x(width, height):
    # Rows that tell the three patterns apart and show a frame is complete:
    # the top, the middle and the bottom row (a frame is put up top down).
    rows = (0, height // 2 - 1, height // 2 + 7, height - 1)
    with XSession(width, height) as x:
        # A desktop's X server has shown things before: its framebuffer is in
        # use. A fresh Xvfb's first full-screen picture would pay for that.
        x.cover((0, 0, 0)).destroy()
        wanted = [{y: x.device_bytes(p.crop((0, y, width, y + 1))) for y in rows}
                  for p in render(RENDER, (width, height))]
        shows = lambda step: lambda: all(x.root.get_image(
            0, y, width, 1, X.ZPixmap, (1 << x.depth) - 1).data == row for y, row in wanted[step].items())
        started = time.monotonic()
        with Process([TESTCARD], x.env) as program:
            times = [until(shows(0), started)]
            for step, key in ((1, "space"), (2, "Return")):
                time.sleep(0.3)  # it repaints as it gets the focus; a person is slower
                pressed = time.monotonic()
                x.press(key)
                times.append(until(shows(step), pressed))
            return times + [peak_memory_mb(program.popen.pid)]


def measure_sway(width, height, scale):
    # Each look is a whole grim screenshot: upper bounds, to a screenshot's time.
    with SwayDesktop([(width, height, scale)]) as sway:
        grid, cross, _ = render(RENDER, (width, height))
        start = time.monotonic()
        with Process(sway.user + [TESTCARD], sway.env) as program:
            def since(picture, start):
                expect_showing(sway, picture, program, 10)
                return (time.monotonic() - start) * 1000

            times = [since(grid, start)]
            time.sleep(0.3)
            pressed = time.monotonic()
            sway.press("space")
            times.append(since(cross, pressed))
            start = time.monotonic()
            sway.capture()
            return times + [(time.monotonic() - start) * 1000, peak_memory_mb(program.popen.pid)]


def medians(runs, measure, *args):
    return [statistics.median_high(column) for column in zip(*(measure(*args) for _ in range(runs)))]


def main(runs="5", system="x"):
    runs = int(runs)
    if system == "sway":
        for scale in (1, 2):
            first, cross, shot, mb = medians(runs, measure_sway, 1920, 1080, scale)
            print(f"sway 1920x1080 at scale {scale}, median of {runs}: first frame {first:.1f} ms, key "
                  f"to cross {cross:.1f} ms (one screenshot takes {shot:.1f} ms), peak memory {mb:.1f} MB")
        return
    for width, height in ((1920, 1080), (3840, 2160)):
        first, cross, colour, mb = medians(runs, measure_x, width, height)
        print(f"{width}x{height}, median of {runs}: first frame {first:.1f} ms, key to cross "
              f"{cross:.1f} ms, key to colour {colour:.1f} ms, peak memory {mb:.1f} MB "
              f"(canvas {width * height * 4 / (1 << 20):.1f} MB)")


if __name__ == "__main__":
    main(*sys.argv[1:])
