#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# testcard through what a session does to it on Wayland and X11: keyboards
# that appear for one key and go (virtual keyboards, as wtype and on-screen
# keyboards make them), a key already held when testcard starts, a window
# made floating and resized, a close request right at start-up, and the
# compositor or X server going away. Screens are read back in device pixels
# and compared with what testcard-render draws.
#
# Usage: session_test.py keyboards|floating|display-lost TESTCARD TESTCARD_RENDER

import functools, io, json, os, signal, sys, time  # noqa: E401
from pathlib import Path

from PIL import Image

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "harness"))
from wayland_desktops import SwayDesktop  # noqa: E402
from window_systems import (EXITS, SETTLE, Process, XSession, expect_showing,  # noqa: E402
                            render, run)

# Each key as a keyboard of its own brings it, pressed the moment it appears
# with its keymap (wtype's arguments), so that the key is often already down
# when testcard gets the keyboard. It is held a moment, as a finger does: on
# a seat with no other keyboard, sway hands a press and release that come
# before any client could ask for the new keyboard to no one.
APPEARING_KEYS = [["-P", key, "-s", "200", "-p", key] for key in ("space", "Return", "a")]


def keyboards(testcard, pictures):
    grid = pictures((1024, 768))
    with SwayDesktop([(1024, 768, 1)], keyboard=False) as desktop:
        # Twenty runs in a row: each key from a keyboard that appears for it
        # steps exactly once, and nothing crashes.
        for attempt in range(20):
            with Process(desktop.user + [testcard], desktop.env) as program:
                for step, key in enumerate(APPEARING_KEYS):
                    expect_showing(desktop, grid[step], program, what=f"run {attempt}, step {step}:")
                    run(["/usr/bin/wtype"] + key, desktop.env)
                status = program.wait(EXITS)
                assert status == 0, f"run {attempt}: exit status {status}:\n{program.output()}"
        # A key held down as testcard starts (the Enter that started it from
        # a terminal) was pressed before the grid showed: it steps nothing,
        # and three presses after it end testcard.
        for attempt, held in enumerate(["space", "Left"] * 5):
            with Process(["/usr/bin/wtype", "-P", held, "-s", "1500", "-p", held], desktop.env) as holding:
                time.sleep(0.5)
                with Process(desktop.user + [testcard], desktop.env) as program:
                    expect_showing(desktop, grid[0], program, what=f"{held} held, run {attempt}:")
                    holding.wait(5)
                    time.sleep(SETTLE)
                    expect_showing(desktop, grid[0], program, 0, f"{held} held and let go, run {attempt}:")
                    for step, key in enumerate(APPEARING_KEYS):
                        run(["/usr/bin/wtype"] + key, desktop.env)
                        if step < 2:
                            expect_showing(desktop, grid[step + 1], program, what=f"after {held}:")
                    status = program.wait(EXITS)
                    assert status == 0, f"{held} held: exit status {status}:\n{program.output()}"
        # A key held down once the grid shows steps again and again, at the
        # compositor's repeat rate: through all three patterns.
        with Process(desktop.user + [testcard], desktop.env) as program:
            expect_showing(desktop, grid[0], program)
            run(["/usr/bin/wtype", "-P", "a", "-s", "1500", "-p", "a"], desktop.env)
            assert (status := program.wait(EXITS)) == 0, f"a held: exit status {status}:\n{program.output()}"


class WindowScreen:
    # A sway window's client area as a screen of its own, in the output's
    # pixels (scale 1), wherever the window is and however large.
    def __init__(self, desktop, pid):
        self.desktop, self.pid = desktop, pid

    def rectangle(self):
        def find(node):
            if node.get("pid") == self.pid:
                return node
            return next(filter(None, map(find, node.get("nodes", []) + node.get("floating_nodes", []))), None)
        node = find(json.loads(run(["/usr/bin/swaymsg", "-t", "get_tree"], self.desktop.env)))
        outer, inner = node["rect"], node["window_rect"]
        return outer["x"] + inner["x"], outer["y"] + inner["y"], inner["width"], inner["height"]

    def capture(self):
        x, y, width, height = self.rectangle()
        ppm = run(["/usr/bin/grim", "-g", f"{x},{y} {width}x{height}", "-t", "ppm", "-"], self.desktop.env)
        return (width, height), Image.open(io.BytesIO(ppm)).convert("RGB").tobytes()

    device_bytes = staticmethod(Image.Image.tobytes)


def floating(testcard, pictures):
    # Floating and resized, on each pattern, width and height alone too: the
    # window shows the pattern drawn for its new size, black beyond it.
    sizes = [(800, 600), (640, 600), (640, 481)]
    with SwayDesktop([(1024, 768, 1)]) as desktop, \
            Process(desktop.user + [testcard], desktop.env) as program:
        expect_showing(desktop, pictures((1024, 768))[0], program)
        desktop.command(f"[pid={program.popen.pid}] fullscreen disable, floating enable", 1)
        window = WindowScreen(desktop, program.popen.pid)
        for step, (width, height) in enumerate(sizes):
            desktop.command(f"[pid={program.popen.pid}] resize set {width} {height}", 1)
            time.sleep(SETTLE)
            size = window.rectangle()[2:]
            picture = pictures((size[0] // 2 * 2, size[1] // 2 * 2))[step]
            expect_showing(window, picture, program, what=f"resized to {size}, step {step}:")
            desktop.press(["a", "Return", "Escape"][step])
        status = program.wait(EXITS)
        assert status == 0, f"exit status {status}:\n{program.output()}"


def display_lost(testcard, pictures):
    # A close request the moment the window exists ends testcard at once,
    # with success.
    with SwayDesktop([(640, 480, 1)]) as desktop, \
            Process(desktop.user + [testcard], desktop.env) as program:
        while not run(["/usr/bin/swaymsg", "-t", "get_tree"], desktop.env).count(b'"pid": %d' % program.popen.pid):
            assert program.wait(0.005) is None, program.output()
        run(["/usr/bin/swaymsg", f"[pid={program.popen.pid}] kill"], desktop.env)
        assert (status := program.wait(1)) == 0, f"closed at start-up: {status}:\n{program.output()}"
    # The compositor or the X server gone: status 1 and one line, at once.
    for name in ("sway", "Xvfb"):
        with (SwayDesktop([(640, 480, 1)]) if name == "sway" else XSession(640, 480)) as session, \
                Process(getattr(session, "user", []) + [testcard], session.env) as program:
            expect_showing(session, pictures((640, 480))[0], program)
            os.kill(session.servers[0].popen.pid, signal.SIGKILL)
            status, output = program.wait(1), program.output()
            assert status == 1 and output.count("\n") == 1 and output.startswith("testcard: the connection"), \
                f"{name} killed: exit status {status}: {output!r}"


if __name__ == "__main__":
    group, testcard, testcard_render = sys.argv[1:]
    pictures = functools.lru_cache(lambda size: render(testcard_render, size))
    {"keyboards": keyboards, "floating": floating, "display-lost": display_lost}[group](testcard, pictures)
