#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# Nothing lost between start and picture: a close request (swaymsg kill,
# Alt+F4 under mutter and KWin) ends testcard at once with status 0; and a
# monitor turned off under it, or GNOME's Super+Shift+arrow, sends the
# window to the other monitor, where the pattern on show is exact for that
# monitor's size. Real desktops, as in end_to_end_test.py.
#
# Usage: close_and_unplug_test.py close-request|other-monitor TESTCARD TESTCARD_RENDER

import functools, re, sys, time  # noqa: E401
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "harness"))
from end_to_end_test import steps_through_the_patterns  # noqa: E402
from kwin_desktop import KWinDesktop  # noqa: E402
from mutter_desktop import MutterDesktop  # noqa: E402
from wayland_desktops import SwayDesktop  # noqa: E402
from window_systems import Process, expect_showing, render, run, wait_until  # noqa: E402

CLOSED_WITHIN = 0.1  # seconds
# Seconds from the window's appearance to the close request, all through
# start-up; None: once the picture shows.
DELAYS = [0, 0.05, 0.1, 0.2, 0.4, 0.7, 1.0, 1.5, 2.0, None]


def closes_at_once(what, screen, program, picture, appeared, close, delay):
    # appeared(): whether the window is there to close; close() asks for it,
    # `delay` seconds after that (None: once `picture` shows).
    assert wait_until(appeared), f"{what}: the window never appeared:\n{program.output()}"
    if delay is None:
        expect_showing(screen, picture, program, what=f"{what}:")
    time.sleep(delay or 0)
    assert program.wait(0) is None, f"{what}: ended before the close request:\n{program.output()}"
    close()
    status = program.wait(CLOSED_WITHIN)
    assert status == 0, f"{what}: status {status} {CLOSED_WITHIN} s after the close request:\n{program.output()}"


def sway_kill(testcard, grid):
    with SwayDesktop([(1024, 768, 1)]) as sway:
        for delay in DELAYS:
            with Process(sway.user + [testcard], sway.env) as program:
                closes_at_once(f"sway, swaymsg kill {delay} s after the window appeared", sway, program, grid,
                               lambda: b'"name": "Form1"' in run(["/usr/bin/swaymsg", "-t", "get_tree"], sway.env),
                               lambda: run(["/usr/bin/swaymsg", '[title="^Form1$"] kill'], sway.env), delay)


def alt_f4(name, desktop):
    def close(testcard, grid):
        with desktop() as screen:
            for delay in DELAYS:
                # Alt+F4 closes the window with the keyboard focus: from the
                # moment testcard has it (its WAYLAND_DEBUG log says when).
                with Process(screen.user + [testcard], dict(screen.env, WAYLAND_DEBUG="1")) as program:
                    closes_at_once(f"{name}, Alt+F4 {delay} s after the focus", screen, program, grid,
                                   lambda: re.search(r"wl_keyboard@\d+\.enter\(", program.output()),
                                   lambda: screen.press("Alt_L", "F4"), delay)
    return close


def close_request(testcard, pictures):
    for close in (sway_kill, alt_f4("mutter", lambda: MutterDesktop([(1024, 768)])),
                  alt_f4("KWin", lambda: KWinDesktop(1024, 768))):
        close(testcard, pictures((1024, 768))[0])


def other_monitor(testcard, pictures):
    # testcard opens on the left monitor, where the pointer is; while the grid
    # shows, that monitor is turned off or the window moved to the right one
    # with the keyboard. testcard follows its window there.
    for change, to_the_right in TO_THE_RIGHT.items():
        def move(step, size):
            if step != 0:
                return size
            mutter.output = 1  # the one read from now on
            to_the_right(mutter)
            return mutter.monitors[mutter.output]
        with MutterDesktop([(1920, 1080), (1280, 1024)]) as mutter, \
                Process(mutter.user + [testcard], mutter.env) as program:
            steps_through_the_patterns(f"mutter, monitor 0 {change}", mutter, program, pictures,
                                       mutter.monitors[0], move)


# Ways the window goes from the left monitor to the right one.
TO_THE_RIGHT = {"turned off": lambda mutter: mutter.configure([1]),
                "left with Super+Shift+Right": lambda mutter: mutter.press("Super_L", "Shift_L", "Right")}


if __name__ == "__main__":
    group, testcard, testcard_render = sys.argv[1:]
    pictures = functools.lru_cache(lambda size: render(testcard_render, size))
    {"close-request": close_request, "other-monitor": other_monitor}[group](testcard, pictures)
