#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# testcard as users meet it: real window systems started by each test (Xvfb
# with and without a window manager, sway headless with XWayland, weston in an
# Xvfb), real key presses on real keyboard layouts, and the screen read back
# in device pixels and compared with what testcard-render draws.
#
# Usage: end_to_end_test.py GROUP TESTCARD TESTCARD_RENDER, GROUP one of x-screens,
#        x-resized, key-layouts, closed-window, sway, weston, wayland-0, no-display

import functools, sys, time  # noqa: E401
from pathlib import Path

from PIL import Image

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "harness"))
from wayland_desktops import SwayDesktop, WestonDesktop  # noqa: E402
from window_systems import (EXITS, SETTLE, Process, XSession, environment,
                            expect_showing, render, run, wait_until)

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


def x_resized(testcard, pictures):
    # A desktop's display settings make the screen smaller while the cross
    # shows (its width alone) and while the colour pattern shows (its
    # height alone): each is drawn again for the new size.
    sizes = {1: (560, 480), 2: (560, 400)}
    with XSession(640, 480, 24, 40) as x, Process([testcard], x.env) as program:
        def at_step(step, size):
            if step in sizes:
                x.resize(*sizes[step])
            return x.size
        steps_through_the_patterns("screen resized", x, program, pictures, (640, 480), at_step)


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


def written(program):  # bytes the program has written so far, to the X server too
    return int(Path(f"/proc/{program.popen.pid}/io").read_text().split("wchar: ")[1].split()[0])


def closed_window(testcard, pictures):
    # Destroyed by another program, the window ends testcard with one line
    # of its own, no Xlib error dump, whichever X error comes first: one
    # about a request SDL makes for the window as it goes, or one about the
    # picture being put into it.
    for when in ("shown", "drawing"):
        with XSession(320, 240) as x, Process([testcard], x.env) as program:
            expect_showing(x, pictures((320, 240))[0], program)
            window = next(w for w in x.root.query_tree().children if w.get_wm_name() == "Form1")
            if when == "drawing":
                # With the server held, testcard is asked to show its picture
                # again and sends it; the window goes before the server
                # takes that in.
                x.x.grab_server()
                before = written(program)
                window.clear_area(exposures=True)
                x.x.sync()
                if not wait_until(lambda: written(program) > before, 5):
                    raise AssertionError(f"testcard never sent its picture:\n{program.output()}")
                time.sleep(SETTLE)
            window.destroy()
            x.x.ungrab_server()
            x.x.sync()
            status, output = program.wait(EXITS), program.output()
            assert (status, output) == (1, "testcard: the window was closed by another program; ending.\n"), \
                f"window destroyed while {when}: exit status {status}: {output!r}"


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


def wayland_0(testcard, pictures):
    # WAYLAND_DISPLAY unset, as some sessions leave it: testcard finds the
    # compositor at its usual socket, wayland-0, and shows the pattern
    # through it, exact in device pixels at scale 2; not on the X server
    # behind (DISPLAY is set), where the picture would look the same.
    with WestonDesktop(640, 480, 2) as desktop:
        folder = Path(desktop.env["XDG_RUNTIME_DIR"])
        (folder / desktop.env.pop("WAYLAND_DISPLAY")).rename(folder / "wayland-0")
        with Process([testcard], desktop.env) as program:
            expect_showing(desktop, pictures((640, 480))[0], program)
            on_x = [w for w in desktop.root.query_tree().children if w.get_wm_name() == "Form1"]
            assert not on_x, f"testcard opened its window on X11, not Wayland:\n{program.output()}"


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
    {"x-screens": x_screens, "x-resized": x_resized, "key-layouts": key_layouts,
     "closed-window": closed_window, "sway": sway, "weston": weston, "wayland-0": wayland_0,
     "no-display": no_display}[group](testcard, pictures)
