# SPDX-License-Identifier: MIT
# GNOME's compositor as a test or a benchmark starts it: mutter 43 headless
# with XWayland, its own session bus and PipeWire (bus_desktop.py). The
# screen is read in device pixels through mutter's screen cast over
# PipeWire, and keys are typed through its RemoteDesktop interface, as
# GNOME's remote desktop does. The interface is window_systems' own: .env,
# .user, capture(), device_bytes(), press(keys).

import os, subprocess, threading  # noqa: E401
from pathlib import Path

from PIL import Image
from gi.repository import GLib
from Xlib import XK

from bus_desktop import BusDesktop
from window_systems import environment, wait_until


class ScreenCast:
    # One PipeWire stream read by gst-launch as RGBx frames of a known size;
    # a thread keeps the latest whole frame.
    def __init__(self, node, size, env):
        self.size, self.frame, self.log = size, None, Path(env["XDG_RUNTIME_DIR"], f"gst-{node}.log")
        self.popen = subprocess.Popen(
            ["/usr/bin/gst-launch-1.0", "-q", "pipewiresrc", f"path={node}", "always-copy=true", "!",
             "videoconvert", "!", "video/x-raw,format=RGBx", "!", "fdsink"],
            env=env, stdout=subprocess.PIPE, stderr=self.log.open("wb"), start_new_session=True)
        self.thread = threading.Thread(target=self.read, daemon=True)
        self.thread.start()

    def read(self):
        n = self.size[0] * self.size[1] * 4
        while len(frame := self.popen.stdout.read(n)) == n:
            self.frame = frame

    def latest(self):
        if self.frame is None:
            raise RuntimeError(f"no picture from the screen cast through PipeWire in 20 s; gst-launch said:\n"
                               f"{self.log.read_text(errors='replace')}")
        return self.frame

    def close(self):
        self.popen.kill()
        self.popen.wait()
        self.thread.join()


class MutterDesktop(BusDesktop):
    # mutter headless with XWayland, one virtual monitor per (width, height)
    # side by side from Meta-0, all at the offered scale nearest `scale`
    # (fractional ones with the framebuffers scaled, as GNOME's setting for
    # them does), number `primary` the primary one with the pointer in its
    # middle. capture() reads monitor number `output`, the primary unless told.
    # With input_method, also IBus as GNOME starts it, and the variables
    # that point programs to it in .env.
    def __init__(self, monitors, scale=1, primary=0, input_method=False):
        self.monitors, self.scale, self.output, self.input_method = monitors, scale, primary, input_method

    def start(self):
        self.begin({"config/glib-2.0/settings/keyfile":
                    "[org/gnome/mutter]\nexperimental-features=['scale-monitor-framebuffer']\n"})
        env = dict(self.own, PATH="/usr/bin:/bin")
        self.server(self.user + ["/usr/bin/pipewire"], env, lambda _: os.path.exists(self.dir + "/pipewire-0"))
        self.server(self.user + ["/usr/bin/wireplumber"], env, lambda _: True)
        monitors = [a for size in self.monitors for a in ("--virtual-monitor", "%dx%d" % size)]
        mutter = self.compositor(["/usr/bin/mutter", "--wayland", "--headless", "--wayland-display",
                                  "wayland-test", *monitors], dict(env, GSETTINGS_BACKEND="keyfile"),
                                 "org.gnome.Mutter.ScreenCast")
        x11 = wait_until(lambda: ([line for line in mutter.output().splitlines()
                                   if "Using public X11 display" in line] or [""])[0])
        # XWayland lets in the clients that know the cookie mutter wrote for it.
        self.env = environment(**self.own, WAYLAND_DISPLAY="wayland-test",
                               DISPLAY=x11.partition("display ")[2].partition(",")[0],
                               XAUTHORITY=str(next(Path(self.dir).glob(".mutter-Xwaylandauth.*"))))
        self.connectors = self.configure()
        if self.input_method:
            self.server(self.user + ["/usr/bin/ibus-daemon", "--panel=disable", "--emoji-extension=disable",
                                     "--xim"], dict(self.env, PATH="/usr/bin:/bin"),
                        lambda _: any(Path(self.dir, "config/ibus/bus").glob("*")))
            self.env.update(GTK_IM_MODULE="ibus", QT_IM_MODULE="ibus", XMODIFIERS="@im=ibus")

    def display_config(self, method, signature="", *args):
        return self.call("org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
                         "org.gnome.Mutter.DisplayConfig." + method, signature, *args)

    def configure(self, monitors=None):
        # Lays the monitors out side by side at the scale, `monitors` (indices)
        # of them only, and casts and types anew: mutter ends a remote desktop
        # session, its keyboard and casts, when a monitor it casts goes.
        # Returns all connectors.
        serial, state, _, _ = self.display_config("GetCurrentState")
        layout, left, connectors = [], 0, [m[0][0] for m in state]
        for i in range(len(state)) if monitors is None else monitors:
            (connector, *_), modes, _ = state[i]
            mode = next(m for m in modes if m[6].get("is-current"))
            scale = min(mode[5], key=lambda s: abs(s - self.scale))
            layout.append((left, 0, scale, 0, i == self.output, [(connector, mode[0], {})]))
            left += round(mode[1] / scale)
        self.display_config("ApplyMonitorsConfig", "uua(iiduba(ssa{sv}))a{sv}", serial, 1, layout, {})
        applied = [(x, scale) for x, _, scale, *_ in self.display_config("GetCurrentState")[2]]
        if sorted(applied) != [(x, scale) for x, _, scale, *_ in layout]:
            raise RuntimeError(f"mutter shows monitors at (x, scale) {applied}, not as asked: {layout}")
        for cast in getattr(self, "casts", {}).values():
            cast.close()
        self.cast_and_type(connectors, range(len(state)) if monitors is None else monitors)
        # mutter's virtual keyboard appears with its first key: one is pressed
        # now, so that a program started later knows the keyboard from the start.
        self.press("Shift_L")
        return connectors

    def cast_and_type(self, connectors, monitors):
        # A remote desktop session (its keyboard) with a screen cast of each
        # of `monitors` (indices), started together.
        mutter = "org.gnome.Mutter."
        self.remote, = self.call(mutter + "RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop",
                                 mutter + "RemoteDesktop.CreateSession")
        remote_id, = self.call(mutter + "RemoteDesktop", self.remote, "org.freedesktop.DBus.Properties.Get",
                               "ss", mutter + "RemoteDesktop.Session", "SessionId")
        cast, = self.call(mutter + "ScreenCast", "/org/gnome/Mutter/ScreenCast", mutter + "ScreenCast.CreateSession",
                          "a{sv}", {"remote-desktop-session-id": GLib.Variant("s", remote_id)})
        nodes, self.streams = {}, {}
        for connector in (connectors[i] for i in monitors):
            stream, = self.call(mutter + "ScreenCast", cast, mutter + "ScreenCast.Session.RecordMonitor", "sa{sv}",
                                connector, {"cursor-mode": GLib.Variant("u", 0)})  # no pointer in the picture
            self.streams[connector] = stream
            self.bus.signal_subscribe(mutter + "ScreenCast", mutter + "ScreenCast.Stream", "PipeWireStreamAdded",
                                      stream, None, 0, lambda *a, c=connector: nodes.update({c: a[-1][0]}))
        self.call(mutter + "RemoteDesktop", self.remote, mutter + "RemoteDesktop.Session.Start")
        context = GLib.MainContext.default()
        if not wait_until(lambda: [context.iteration(False)] and len(nodes) == len(self.streams)):
            raise RuntimeError(f"mutter's screen cast gave PipeWire streams for {sorted(nodes)} only "
                               f"of {sorted(self.streams)}")
        self.casts = {i: ScreenCast(nodes[connectors[i]], self.monitors[i], dict(self.own, PATH="/usr/bin:/bin"))
                      for i in monitors}
        for cast in self.casts.values():
            self.stack.callback(cast.close)
            wait_until(lambda: cast.frame)
        # New windows open on the monitor with the pointer: it goes to the middle of the one captured.
        self.call(mutter + "RemoteDesktop", self.remote, mutter + "RemoteDesktop.Session.NotifyPointerMotionAbsolute",
                  "sdd", self.streams[connectors[self.output]],
                  *(n / 2 / self.scale for n in self.monitors[self.output]))

    def capture(self):
        size = self.monitors[self.output]
        return size, Image.frombytes("RGB", size, self.casts[self.output].latest(), "raw", "RGBX").tobytes()

    device_bytes = staticmethod(Image.Image.tobytes)

    def press(self, *keys):
        # The last key pressed and released, the others held around it.
        keysyms = [XK.string_to_keysym(key) for key in keys]
        for keysym, down in [(k, True) for k in keysyms] + [(k, False) for k in keysyms[::-1]]:
            self.call("org.gnome.Mutter.RemoteDesktop", self.remote,
                      "org.gnome.Mutter.RemoteDesktop.Session.NotifyKeyboardKeysym", "ub", keysym, down)
