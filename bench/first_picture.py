#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# testcard's first exact picture against ffplay's at 1920 x 1080 on each
# window system, where testcard's start-up time goes on Wayland, and how long
# a key takes to become the next picture there:
#
#   bench/first_picture.py [runs] [system ...]   (as root; default 3 runs, all systems)
#   TESTCARD_TRACE_DIR=DIR bench/first_picture.py ...   (also keeps the traced logs in DIR)
#
# Systems: x (a bare Xvfb), sway, mutter, kwin, and mutter-x11 and kwin-x11
# (testcard through XWayland there). Every run gets a desktop of its own
# (harness/); runs alternate between testcard and ffplay (Debian's ffmpeg)
# showing testcard's own grid as a PNG full screen. Both start as a user
# starts them, with the desktop's environment (where there is XWayland, SDL
# gives ffplay X11), and are timed from the start of the process until the
# screen shows the picture exactly. On Wayland each testcard run is followed
# by one with WAYLAND_DEBUG=1, whose time-stamped requests and events give the
# phases of its start and, for two key presses, the time from the key event
# reaching testcard to its commit of the next picture. Before each program
# the desktop serves a Wayland and an X client, as a desktop in use has.

import os, re, statistics, subprocess, sys, time  # noqa: E401
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "harness"))
from kwin_desktop import KWinDesktop  # noqa: E402
from mutter_desktop import MutterDesktop  # noqa: E402
from wayland_desktops import SwayDesktop  # noqa: E402
from window_systems import Process, XSession, render  # noqa: E402

BUILD = Path(os.environ.get("TESTCARD_BUILD", ROOT / "build"))
TESTCARD, RENDER = str(BUILD / "app" / "testcard"), str(BUILD / "tools" / "testcard-render")
SIZE = (1920, 1080)
# system: (desktop, testcard's extra environment)
SYSTEMS = {"x": (lambda: XSession(*SIZE), {}), "sway": (lambda: SwayDesktop([SIZE + (1,)]), {}),
           "mutter": (lambda: MutterDesktop([SIZE]), {}), "kwin": (lambda: KWinDesktop(*SIZE), {}),
           "mutter-x11": (lambda: MutterDesktop([SIZE]), {"SDL_VIDEODRIVER": "x11"}),
           "kwin-x11": (lambda: KWinDesktop(*SIZE), {"SDL_VIDEODRIVER": "x11"})}
# The phases of a start in WAYLAND_DEBUG's log, each where the first line
# matching it is; the commits are found in parse().
PHASES = [("first request", r"^ -> "), ("window asked for", r"-> xdg_surface@\d+\.get_toplevel"),
          ("first picture committed", None), ("keyboard focus", r"wl_keyboard@\d+\.enter"),
          ("full screen asked for", r"-> xdg_toplevel@\d+\.set_fullscreen"),
          ("full-screen size given", r"xdg_toplevel@\d+\.configure\(%d, %d," % SIZE),
          ("full-size picture committed", None), ("on the screen", None)]
LINE = re.compile(r"^\[ *(\d+)\.(\d+)\] (.*)$")


def debug_clock():
    # libwayland stamps WAYLAND_DEBUG lines with the real time in
    # microseconds, kept in 32 bits.
    return (time.time_ns() // 1000) % (1 << 32)


def until_showing(screen, wanted, start, timeout=20):
    # Milliseconds from `start` (time.monotonic()) until the screen holds
    # `wanted`, and the median time one look took. Looks are 5 ms apart: on
    # two cores, looking without a pause would take a core from the desktop.
    looks = []
    while time.monotonic() - start < timeout:
        before = time.monotonic()
        shows = screen.capture()[1] == wanted
        looks.append(time.monotonic() - before)
        if shows:
            return (time.monotonic() - start) * 1000, statistics.median(looks) * 1000
        time.sleep(0.005)
    raise AssertionError(f"the picture did not show within {timeout} s")


def in_use(desktop):
    # A fresh desktop does work of its own on its first clients: mutter
    # answered its first Wayland client's first round trip only after 100 to
    # 160 ms, and it is as slow for a while after XWayland's first X client.
    # A desktop in use has long done that: one client of each kind goes
    # first, then a second's rest, as the bare X server is drawn on first.
    for argv in (["/usr/bin/weston-info"], ["/usr/bin/xdpyinfo"]):
        subprocess.run(desktop.user + argv, env=desktop.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=True, timeout=20)
    time.sleep(1)


def shown(screen, argv, env, wanted):
    # One run: start to exact picture, then the program ended and the
    # desktop back.
    start = time.monotonic()
    with Process(getattr(screen, "user", []) + argv, env) as program:
        try:
            took = until_showing(screen, wanted, start)
        except AssertionError as error:
            raise AssertionError(f"{argv[0]}: {error}; it said:\n{program.output()}") from None
    deadline = time.monotonic() + 10
    while screen.capture()[1] == wanted:
        assert time.monotonic() < deadline, "the picture stayed after the program ended"
    return took


def traced(screen, env, wanted, name):
    # One run with WAYLAND_DEBUG: the start's phases (ms from the start of
    # the process) and, for two keys, key event to commit of the next picture.
    # The log goes to $TESTCARD_TRACE_DIR/name.log too, where that is set.
    started = debug_clock()
    with Process(getattr(screen, "user", []) + [TESTCARD], dict(env, WAYLAND_DEBUG="1")) as program:
        until_showing(screen, wanted[0], time.monotonic())
        on_screen = (debug_clock() - started) % (1 << 32)
        for key, step in (("a", 1), ("Return", 2)):
            time.sleep(0.5)
            screen.press(key)
            until_showing(screen, wanted[step], time.monotonic())
        time.sleep(0.2)
        log = program.output()
    if os.environ.get("TESTCARD_TRACE_DIR"):
        Path(os.environ["TESTCARD_TRACE_DIR"], name + ".log").write_text(log)
    phases, keys = parse(log, started)
    phases["on the screen"] = on_screen / 1000
    return phases, keys


def parse(log, started):
    lines = [(int(a) * 1000 + int(b), text) for a, b, text in
             (m.groups() for m in map(LINE.match, log.splitlines()) if m)]
    phases, sizes, attached, pressed, keys = {}, {}, None, [], []
    since = lambda stamp: ((stamp - started) % (1 << 32)) / 1000
    for stamp, text in lines:
        for name, pattern in PHASES:
            if pattern and name not in phases and re.search(pattern, text):
                phases[name] = since(stamp)
        if m := re.search(r"create_buffer\(new id (wl_buffer@\d+), \d+, (\d+), (\d+),", text):
            sizes[m[1]] = (int(m[2]), int(m[3]))
        if m := re.search(r"-> wl_surface@\d+\.attach\((wl_buffer@\d+|nil)", text):
            attached = sizes.get(m[1], "unknown") if m[1] != "nil" else None
        if re.search(r"wl_keyboard@\d+\.key\(\d+, \d+, \d+, 1\)", text):
            pressed.append(stamp)
        if re.search(r"-> wl_surface@\d+\.commit", text) and attached:  # a new picture
            phases.setdefault("first picture committed", since(stamp))
            if attached == SIZE:
                phases.setdefault("full-size picture committed", since(stamp))
            keys += [(stamp - key) / 1000 for key in pressed]
            attached, pressed = None, []
    return phases, keys


def measure(system, runs):
    # Each run in a desktop of its own: a program that went before may leave
    # the compositor in a state a new one would not meet (see bench/README.md).
    make_desktop, extra = SYSTEMS[system]
    pictures = render(RENDER, SIZE)
    testcard, ffplay, looks, traces = [], [], [], []
    for run in range(runs):
        for program in ("testcard", "ffplay", "traced") if system in ("sway", "mutter", "kwin") else ("testcard",
                                                                                                       "ffplay"):
            with make_desktop() as desktop:
                if system == "x":
                    desktop.cover((0, 0, 0)).destroy()  # as in window_timing.py: a desktop's screen is in use
                else:
                    in_use(desktop)
                wanted = [desktop.device_bytes(p) for p in pictures]
                if program == "testcard":
                    ms, look = shown(desktop, [TESTCARD], dict(desktop.env, **extra), wanted[0])
                    testcard.append(ms)
                    looks.append(look)
                elif program == "ffplay":
                    png = Path(desktop.env.get("XDG_RUNTIME_DIR") or "/tmp", "testcard-grid.png")
                    pictures[0].save(png)
                    os.chmod(png, 0o644)
                    ffplay.append(shown(desktop, ["/usr/bin/ffplay", "-loglevel", "error", "-fs", "-an", str(png)],
                                        desktop.env, wanted[0])[0])
                    png.unlink()
                else:
                    traces.append(traced(desktop, desktop.env, wanted, f"{system}-{run + 1}"))
    return testcard, ffplay, looks, traces


def main(runs="3", *systems):
    for system in systems or SYSTEMS:
        testcard, ffplay, looks, traces = measure(system, int(runs))
        tc, ff = statistics.median(testcard), statistics.median(ffplay)
        print(f"{system}: first exact picture, median of {runs}: testcard {tc:.0f} ms {sorted(map(round, testcard))}, "
              f"ffplay {ff:.0f} ms {sorted(map(round, ffplay))}, ratio {tc / ff:.2f}; one look at the screen "
              f"{statistics.median(looks):.0f} ms", flush=True)
        if traces:
            names = [name for name, _ in PHASES]
            print("  traced start, ms from the process's start (median): " + ", ".join(
                f"{name} {statistics.median(t[0].get(name, float('nan')) for t in traces):.0f}" for name in names))
            shown_after = statistics.median(t["on the screen"] - t["full-size picture committed"] for t, _ in traces)
            print(f"  from the commit of the full-size picture to the picture on the screen (the compositor's "
                  f"share): {shown_after:.0f} ms, {shown_after / ff:.2f} of ffplay's time")
            keys = [k for _, ks in traces for k in ks]
            print(f"  key event to the commit of the next picture: median {statistics.median(keys):.1f} ms, "
                  f"all {sorted(round(k, 1) for k in keys)}", flush=True)


if __name__ == "__main__":
    main(*sys.argv[1:])
