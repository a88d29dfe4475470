#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# testcard under GNOME's and KDE Plasma's compositors, mutter and KWin
# headless (harness/mutter_desktop.py, harness/kwin_desktop.py): at output
# scales whole and fractional, on odd-sized and on two monitors, through
# XWayland, and with an input method running; keys typed through the
# compositor and the screen read back in device pixels, at every step, as in
# end_to_end_test.py.
#
# Usage: gnome_kde_test.py mutter|kwin|input-method TESTCARD TESTCARD_RENDER

import functools, sys, time  # noqa: E401
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "harness"))
from end_to_end_test import steps_through_the_patterns  # noqa: E402
from kwin_desktop import KWinDesktop  # noqa: E402
from mutter_desktop import MutterDesktop  # noqa: E402
from window_systems import SETTLE, Process, render  # noqa: E402

# mutter's monitors (width, height) side by side from the left, their scale
# (the offered one nearest), the monitor with the pointer, where testcard is
# to open, the picture there, extra environment.
MUTTER = [([(1920, 1080)], 1, 0, (1920, 1080), {}), ([(1600, 900)], 2, 0, (1600, 900), {}),
          ([(1920, 1080)], 1.5, 0, (1920, 1080), {}), ([(1281, 721)], 1, 0, (1280, 720), {}),
          ([(1280, 1024), (1920, 1080)], 1, 0, (1280, 1024), {}),
          ([(1024, 768)], 1, 0, (1024, 768), {"SDL_VIDEODRIVER": "x11"})]
# KWin's outputs: each (width, height) in logical pixels at a scale, how many
# side by side; testcard opens on the first.
KWIN = [(1920, 1080, 1, 1), (1280, 720, 2, 1), (1024, 768, 1.25, 1), (1280, 1024, 1, 2)]


def mutter(testcard, pictures):
    for monitors, scale, pointer, size, extra in MUTTER:
        with MutterDesktop(monitors, scale, pointer) as desktop, \
                Process(desktop.user + [testcard], dict(desktop.env, **extra)) as program:
            steps_through_the_patterns(f"mutter {monitors} at scale {scale} {extra}", desktop, program, pictures,
                                       size)


def kwin(testcard, pictures):
    for width, height, scale, outputs in KWIN:
        with KWinDesktop(width, height, scale, outputs) as desktop, \
                Process(desktop.user + [testcard], desktop.env) as program:
            size = round(width * scale), round(height * scale)
            steps_through_the_patterns(f"KWin {outputs} x {width}x{height} at scale {scale}", desktop, program,
                                       pictures, size)


def input_method(testcard, pictures):
    # IBus running, as GNOME starts it, natively and through XWayland: each
    # key that types a character steps once, also when the input method's
    # answer comes late.
    def settled(step, size):
        time.sleep(SETTLE)
        return size
    for extra in ({}, {"SDL_VIDEODRIVER": "x11"}):
        with MutterDesktop([(1024, 768)], input_method=True) as desktop, \
                Process(desktop.user + [testcard], dict(desktop.env, **extra)) as program:
            steps_through_the_patterns(f"mutter with IBus {extra}", desktop, program, pictures, (1024, 768),
                                       settled)


if __name__ == "__main__":
    group, testcard, testcard_render = sys.argv[1:]
    pictures = functools.lru_cache(lambda size: render(testcard_render, size))
    {"mutter": mutter, "kwin": kwin, "input-method": input_method}[group](testcard, pictures)
