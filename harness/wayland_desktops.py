# SPDX-License-Identifier: MIT
# The wlroots and reference Wayland desktops a test or a benchmark starts
# itself: sway headless with XWayland, and weston in an Xvfb, each read back
# in device pixels as window_systems.py describes.

import io, os, pwd  # noqa: E401
from pathlib import Path

from PIL import Image

from window_systems import (Process, Session, XSession, environment, make_private_namespaces, run,
                            runtime_directory, wait_until)


class SwayDesktop(Session):
    # sway headless (software rendering, a virtual keyboard its one input) with
    # XWayland, on sockets in a runtime directory of its own; as root, in
    # private namespaces and as "nobody" (sway refuses to run as root).
    # Outputs HEADLESS-1, -2, ... stand side by side; the last has the focus
    # and is the one captured. keyboard=False: no keyboard until a key is
    # pressed, each press by a keyboard that appears for it and goes.
    def __init__(self, outputs, bar=False, keyboard=True):
        # user: what runs a command as the user sway runs as.
        self.outputs, self.bar, self.keyboard, self.user = outputs, bar, keyboard, []

    def start(self):
        self.dir = runtime_directory(self)
        ready, config, left = self.dir + "/ready", [], 0
        for i, (width, height, scale) in enumerate(self.outputs, 1):
            config.append(f"output HEADLESS-{i} resolution {width}x{height} position {left} 0 scale {scale}")
            left += int(width / scale)
        Path(self.dir, "config").write_text("\n".join(config + [
            "xwayland enable", "bar {\n  swaybar_command swaybar\n}" if self.bar else "",
            f'exec_always echo "WAYLAND_DISPLAY=$WAYLAND_DISPLAY" >{ready}']) + "\n")
        if os.geteuid() == 0:
            make_private_namespaces(self)
            nobody = pwd.getpwnam("nobody")
            os.chown(self.dir, nobody.pw_uid, nobody.pw_gid)
            self.user = ["/usr/bin/setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}",
                         "--clear-groups"]
        own = {"XDG_RUNTIME_DIR": self.dir, "SWAYSOCK": self.dir + "/sway.sock"}
        variable = lambda *_: os.path.exists(ready) and Path(ready).read_text().strip()
        self.server(self.user + ["/usr/bin/sway", "-c", self.dir + "/config"], dict(
            own, PATH="/usr/bin:/bin", HOME=self.dir, WLR_BACKENDS="headless", WLR_RENDERER="pixman",
            WLR_LIBINPUT_NO_DEVICES="1", WLR_HEADLESS_OUTPUTS=str(len(self.outputs))), variable)
        self.env = environment(**own, WAYLAND_DISPLAY=variable().partition("=")[2])
        # XWayland listens a moment later; from then on sway's children see
        # DISPLAY. Each look starts a shell that rewrites the file: one read.
        def xwayland_display():
            run(["/usr/bin/swaymsg", f"exec echo DISPLAY=$DISPLAY >{ready}"], self.env)
            return (said := variable() or "").startswith("DISPLAY=:") and said.partition("=")[2]
        if not (xwayland := wait_until(xwayland_display)):
            raise RuntimeError("sway started no XWayland")
        self.env["DISPLAY"] = xwayland
        self.command(f"focus output HEADLESS-{len(self.outputs)}", len(self.outputs))
        # A keyboard there all along, as a user's is.
        if self.keyboard:
            self.stack.enter_context(Process(["/usr/bin/wtype", "-s", "3600000"], self.env))

    def command(self, commands, output):  # sway commands; capture HEADLESS-`output` from then on
        run(["/usr/bin/swaymsg", commands], self.env)
        self.output = f"HEADLESS-{output}"

    def capture(self):
        image = Image.open(io.BytesIO(run(["/usr/bin/grim", "-o", self.output, "-t", "ppm", "-"], self.env)))
        return image.size, image.convert("RGB").tobytes()

    device_bytes = staticmethod(Image.Image.tobytes)

    def press(self, key):
        run(["/usr/bin/wtype", "-k", key], self.env)


class WestonDesktop(XSession):
    # weston 10 on its X11 backend in a window filling an Xvfb of its own,
    # rendering in software at an integer scale. Keys reach its window without
    # a focus of their own: with no window manager, X gives them to the window
    # under the pointer, which it fills.
    def __init__(self, width, height, scale):
        super().__init__(width, height)
        self.scale = scale

    def start(self):
        super().start()
        self.env["XDG_RUNTIME_DIR"] = runtime_directory(self)
        width, height = (n // self.scale for n in self.size)  # logical pixels
        self.server(["/usr/bin/weston", "--backend=x11-backend.so", "--use-pixman", f"--width={width}",
                     f"--height={height}", f"--scale={self.scale}", "--socket=wayland-test",
                     "--idle-time=0"], self.env,
                    lambda _: os.path.exists(self.env["XDG_RUNTIME_DIR"] + "/wayland-test"))
        self.env["WAYLAND_DISPLAY"] = "wayland-test"
