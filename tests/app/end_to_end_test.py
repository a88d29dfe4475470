#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# testcard as users meet it: real window systems started by each test (Xvfb
# with and without a window manager, sway headless with XWayland, weston in an
# Xvfb, GNOME's mutter and KDE's KWin headless), real key presses on real
# keyboard layouts, and the screen read back in device pixels and compared
# with what testcard-render draws.
#
# Usage: end_to_end_test.py x-screens|key-layouts|closed-window|sway|weston|mutter|kwin|input-method|no-display
#                           TESTCARD TESTCARD_RENDER

import functools, sys, time  # noqa: E401
from pathlib import Path

from PIL import Image

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "harness"))
from kwin_desktop import KWinDesktop  # noqa: E402
from mutter_desktop import MutterDesktop  # noqa: E402
from window_systems import (EXITS, SETTLE, Process, SwayDesktop, WestonDesktop, XSession, environment,
                            expect_showing, render, run)

# name, Xvfb (width, height, depth, dock height), the picture testcard is to show
X_SCREENS = [("bare X server", (800, 600, 24, 0), (800, 600)), ("depth 16", (320, 240, 16, 0), (320, 240)),
             ("odd-sized screen", (641, 481, 24, 0), (640, 480)), ("depth 30", (640, 480, 30, 0), (640, 480)),
             ("openbox and a dock at the top", (640, 480, 24, 40), (640, 480))]
# Keys are named by what they type on the US layout, so on another layout the
# same physical keys; "Ctrl+Shift+2", "Left*300" (repeated). Presses and the
# steps they make, each in a fresh testcard.
LAYOUTS = [
    ("us", "", [
        # Keys that type nothing, however many events they make.
        ("Left F1 Insert Delete Home KP_Delete Ctrl+Delete Shift_L Control_L Alt_L Super_L Alt_R", 0),
        ("Caps_Lock Caps_Lock Num_Lock Num_Lock Shift+Tab", 0),  # Shift+Tab: ISO_Left_Tab
        ("Left*300 space F5*300", 1), ("Shift+a", 1),
        # Control characters: CR, CR, ESC, BS, TAB, SOH, ESC, NUL, NUL.
        ("Return", 1), ("KP_Enter", 1), ("Escape", 1), ("BackSpace", 1), ("Tab", 1), ("Ctrl+a", 1),
        ("Ctrl+bracketleft", 1), ("Ctrl+space", 1), ("Ctrl+Shift+2", 1),
        ("Ctrl+1 Alt+a", 2), ("Alt+Return", 1)]),  # modifiers that still type the key's character
    # @ and z; Ctrl+Shift+2 types ", printable here; a dead ^ waits, then e is ê.
    ("de", "", [("AltGr+q y", 2), ("AltGr", 0), ("Ctrl+Shift+2", 1), ("grave", 0), ("grave e", 1)]),
    # Cyrillic ф, two bytes one character; with Ctrl still one step.
    ("ru", "", [("a", 1), ("Ctrl+a", 1)]),
    # A dead acute waits, then e types é; then space, the apostrophe.
    ("us", "intl", [("apostrophe", 0), ("apostrophe e", 1), ("apostrophe space", 1)])]
MODIFIERS = {"Ctrl": "Control_L", "Shift": "Shift_L", "Alt": "Alt_L", "AltGr": "Alt_R"}
# sway outputs (width, height, scale), the picture on the last, a change of
# the window's output or size once the grid shows with the picture after it,
# swaybar, and extra environment (SDL_VIDEODRIVER=x11: through XWayland).
SWAY = [([(1281, 721, 1)], (1280, 720), "output HEADLESS-1 resolution 1024x768", (1024, 768), True, {}),
        ([(1280, 720, 2)], (1280, 720), "output HEADLESS-1 scale 1", (1280, 720), False, {}),
        ([(1200, 900, 1.5)], (1200, 900), "", None, False, {}),
        ([(1000, 750, 1.25)], (1000, 750), "", None, False, {}),
        ([(1920, 1080, 1), (1280, 1024, 1)], (1280, 1024),
         "move container to output HEADLESS-1; focus output HEADLESS-1", (1920, 1080), False, {}),
        ([(1024, 768, 1)], (1024, 768), "", None, False, {"SDL_VIDEODRIVER": "x11"})]
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


def steps_through_the_patterns(what, screen, program, pictures, size, at_step=lambda step, size: size):
    # Left types nothing and leaves the grid; a, Return and Escape step to the
    # cross, the colour pattern and the end. at_step runs while each pattern
    # shows and may change the picture's size; the pattern must show again
    # after it. No click and no focus: keys must reach the window as it appears.
    for step, key in enumerate(("a", "Return", "Escape")):
        expect_showing(screen, pictures(size)[step], program, what=f"{what}, step {step}:")
        size = at_step(step, size)
        expect_showing(screen, pictures(size)[step], program, what=f"{what}, step {step} again:")
        if step == 0:
            screen.press("Left")
            time.sleep(SETTLE)
            expect_showing(screen, pictures(size)[0], program, 0, f"{what}, after Left:")
        screen.press(key)
    assert (status := program.wait(EXITS)) == 0, f"{what}: exit status {status}:\n{program.output()}"


def x_screens(testcard, pictures):
    for name, setup, size in X_SCREENS:
        with XSession(*setup) as x, Process([testcard], x.env) as program:
            def at_step(step, size):
                if step == 0 and x.dock:  # panels that raise themselves stay below
                    state = run(["xprop", "-name", "Form1", "_NET_WM_STATE"], x.env)
                    assert b"_NET_WM_STATE_FULLSCREEN" in state, f"{name}: {state}"
                if step == 1:  # the picture persists, covered and uncovered again
                    cover, colour = x.cover((0x33, 0x66, 0x99)), Image.new("RGB", x.size, (0x33, 0x66, 0x99))
                    expect_showing(x, colour, program, what=f"{name}, covered:")
                    cover.destroy()
                return size
            steps_through_the_patterns(name, x, program, pictures, size, at_step)


def key_layouts(testcard, pictures):
    grid = pictures((320, 240))
    with XSession(320, 240) as x:
        for layout, variant, cases in LAYOUTS:
            run(["setxkbmap", "-layout", "us"], x.env)
            codes = [[[x.keycode(MODIFIERS.get(n, n)) for n in word.partition("*")[0].split("+")]
                      for word in presses.split() for _ in range(int(word.partition("*")[2] or 1))]
                     for presses, _ in cases]
            run(["setxkbmap", "-layout", layout, "-variant", variant], x.env)
            for (presses, steps), press_codes in zip(cases, codes):
                print(f"{layout} {variant}: {presses}", flush=True)
                with Process([testcard], x.env) as program:
                    expect_showing(x, grid[0], program)
                    for press in press_codes:
                        x.press(*press)
                    expect_showing(x, grid[steps], program)
                    time.sleep(SETTLE)
                    expect_showing(x, grid[steps], program, 0, "stepped on:")
                    assert program.wait(0) is None, f"testcard ended:\n{program.output()}"


def closed_window(testcard, pictures):
    with XSession(320, 240) as x, Process([testcard], x.env) as program:
        expect_showing(x, pictures((320, 240))[0], program)
        run(["xdotool", "search", "--name", "^Form1$", "windowclose"], x.env)
        status, output = program.wait(EXITS), program.output()
        assert (status, output) == (1, "testcard: the window was closed by another program; ending.\n"), \
            f"exit status {status}: {output!r}"


def sway(testcard, pictures):
    for outputs, size, command, later, bar, extra in SWAY:
        with SwayDesktop(outputs, bar) as desktop, \
                Process(desktop.user + [testcard], dict(desktop.env, **extra)) as program:
            def at_step(step, size):
                if step == 0 and command:
                    desktop.command(command, 1)
                return later if step == 0 and command else size
            steps_through_the_patterns(f"sway {outputs} {command} {extra}", desktop, program, pictures, size,
                                       at_step)


def weston(testcard, pictures):
    for scale in (1, 2):
        with WestonDesktop(1280, 800, scale) as desktop, Process([testcard], desktop.env) as program:
            steps_through_the_patterns(f"weston at scale {scale}", desktop, program, pictures, (1280, 800))


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


def no_display(testcard, _):
    # Not even a Wayland runtime directory: the one message is testcard's own
    # (libwayland has one of its own to print).
    env = {k: v for k, v in environment().items() if k != "XDG_RUNTIME_DIR"}
    with Process([testcard], env) as program:
        status, output = program.wait(EXITS), program.output()
        assert status == 1 and output.startswith("testcard: "), f"exit status {status}: {output!r}"


if __name__ == "__main__":
    group, testcard, testcard_render = sys.argv[1:]
    pictures = functools.lru_cache(lambda size: render(testcard_render, size))
    {"x-screens": x_screens, "key-layouts": key_layouts, "closed-window": closed_window,
     "sway": sway, "weston": weston, "mutter": mutter, "kwin": kwin, "input-method": input_method,
     "no-display": no_display}[group](testcard, pictures)
