# SPDX-License-Identifier: MIT
# KDE Plasma's compositor as a test or a benchmark starts it: KWin 5.27 on
# its virtual backend with XWayland and its own session bus
# (bus_desktop.py). The screen is read in device pixels through KWin's
# ScreenShot2 interface, and keys are typed through its fake input protocol,
# as KDE Connect does. The interface is window_systems' own: .env, .user,
# capture(), device_bytes(), press(keys).

import os, shutil, socket, struct, subprocess, sys, threading  # noqa: E401
from pathlib import Path

from PIL import Image
from gi.repository import GLib

from bus_desktop import BusDesktop
from window_systems import environment, wait_until


class FakeKeyboard:
    # A Wayland client of KWin's org_kde_kwin_fake_input, spoken on the wire
    # directly (a request: object id, size << 16 | opcode, 32-bit arguments,
    # strings with their length and NUL padded to 4 bytes). KWin offers the
    # protocol only to a program a .desktop file names, by its executable.
    KEYS = {"Escape": 1, "BackSpace": 14, "Tab": 15, "Return": 28, "Control_L": 29, "a": 30, "Shift_L": 42,
            "Alt_L": 56, "space": 57, "F4": 62, "Left": 105, "Super_L": 125}

    def __init__(self, path):
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.socket.connect(path)
        self.send(1, 1, 2)  # wl_display.get_registry -> 2
        globals_ = {interface: (name, version) for name, interface, version in self.roundtrip(3, 2)}
        if "org_kde_kwin_fake_input" not in globals_:
            raise RuntimeError("KWin offers this process no org_kde_kwin_fake_input (it does so to "
                               f"programs its .desktop files name); it offers {sorted(globals_)}")
        name, version = globals_["org_kde_kwin_fake_input"]
        self.send(2, 0, name, "org_kde_kwin_fake_input", min(version, 4), 4)  # wl_registry.bind -> 4
        self.send(4, 0, "testcard tests", "typing keys")  # authenticate
        self.roundtrip(5, None)

    def send(self, target, opcode, *args):
        body = b""
        for arg in args:
            if isinstance(arg, str):
                data = arg.encode() + b"\0"
                body += struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)
            else:
                body += struct.pack("<I", arg)
        self.socket.sendall(struct.pack("<II", target, (8 + len(body)) << 16 | opcode) + body)

    def roundtrip(self, callback, registry):
        # wl_display.sync -> callback; the wl_registry.global events until it is done.
        self.send(1, 0, callback)
        found, data = [], b""
        while True:
            while len(data) < 8 or len(data) < struct.unpack_from("<II", data)[1] >> 16:
                if not (more := self.socket.recv(65536)):
                    raise RuntimeError("KWin closed the fake keyboard's connection")
                data += more
            target, size_opcode = struct.unpack_from("<II", data)
            message, data = data[8:size_opcode >> 16], data[size_opcode >> 16:]
            if target == callback:
                return found
            if target == 1 and size_opcode & 0xffff == 0:  # wl_display.error
                raise RuntimeError("KWin refused the fake keyboard: " + message[12:].decode(errors="replace"))
            if target == registry and size_opcode & 0xffff == 0:
                name, length = struct.unpack_from("<II", message)
                version, = struct.unpack_from("<I", message, 8 + length + -length % 4)
                found.append((name, message[8:7 + length].decode(), version))

    def press(self, *keys):
        codes = [self.KEYS[key] for key in keys]
        for code, state in [(c, 1) for c in codes] + [(c, 0) for c in codes[::-1]]:
            self.send(4, 10, code, state)  # keyboard_key
        self.roundtrip(5, None)


class KWinDesktop(BusDesktop):
    # kwin_wayland on its virtual backend with XWayland: `outputs` outputs of
    # (width, height) logical pixels each at `scale`, side by side. capture()
    # reads output number `output`.
    def __init__(self, width, height, scale=1, outputs=1, output=0):
        self.logical, self.scale, self.outputs, self.output = (width, height), scale, outputs, output

    def start(self):
        # KWin finds a client's .desktop file by its executable: the keyboard
        # runs a copy of Python that no other file names (Python's own does).
        self.begin({"share/applications/testcard-keys.desktop": "[Desktop Entry]\nType=Application\n"
                    "Name=testcard keys\nExec={dir}/testcard-keys\nX-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n"})
        python = shutil.copy(os.path.realpath(sys.executable), self.dir + "/testcard-keys")
        Path(self.dir, "tell-display").write_text(
            f"#!/bin/sh\necho $DISPLAY >{self.dir}/display.new && mv {self.dir}/display.new {self.dir}/display\n")
        os.chmod(self.dir + "/tell-display", 0o755)
        # The package's binary carries a file capability a container may
        # refuse to run; a plain copy has none, and needs none here.
        kwin = shutil.copy("/usr/bin/kwin_wayland", self.dir + "/kwin_wayland")
        self.compositor([kwin, "--virtual", "--width", str(self.logical[0]), "--height", str(self.logical[1]),
                         "--scale", str(self.scale), "--output-count", str(self.outputs), "--socket",
                         "wayland-test", "--xwayland", "--no-lockscreen",
                         self.dir + "/tell-display"],  # run once XWayland is up, with its DISPLAY
                        dict(self.own, PATH="/usr/bin:/bin", KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1"),
                        "org.kde.KWin")
        if not wait_until(lambda: os.path.exists(self.dir + "/display")):
            raise RuntimeError("KWin started no XWayland (its DISPLAY never came)")
        self.env = environment(**self.own, WAYLAND_DISPLAY="wayland-test",
                               DISPLAY=Path(self.dir, "display").read_text().strip())
        # KWin names a client's program from /proc, which it may read only
        # for processes of its own user: the keyboard is a process of that user.
        self.keyboard = self.stack.enter_context(subprocess.Popen(
            self.user + [python, __file__, self.dir + "/wayland-test"], stdin=subprocess.PIPE,
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, bufsize=1))
        self.stack.callback(self.keyboard.stdin.close)
        if (said := self.keyboard.stdout.readline()) != "ready\n":
            raise RuntimeError(said + self.keyboard.stdout.read())

    def capture(self):
        read, write = os.pipe()
        chunks = []
        reader = threading.Thread(target=lambda: chunks.extend(iter(lambda: os.read(read, 1 << 20), b"")))
        reader.start()
        try:
            info = self.call("org.kde.KWin", "/org/kde/KWin/ScreenShot2",
                             "org.kde.KWin.ScreenShot2.CaptureScreen", "sa{sv}h", f"Virtual-{self.output}",
                             {"native-resolution": GLib.Variant("b", True)}, 0, fds=[write])[0]
        finally:
            os.close(write)
            reader.join()
            os.close(read)
        if info.get("format") not in (4, 5, 6):  # QImage's RGB32, ARGB32, ARGB32_Premultiplied: B, G, R, A bytes
            raise RuntimeError(f"KWin's screenshot is in QImage format {info.get('format')}, not 32-bit RGB")
        size = info["width"], info["height"]
        return size, Image.frombytes("RGB", size, b"".join(chunks), "raw", "BGRX", info["stride"]).tobytes()

    device_bytes = staticmethod(Image.Image.tobytes)

    def press(self, *keys):
        print(*keys, file=self.keyboard.stdin)
        if (said := self.keyboard.stdout.readline()) != "done\n":
            raise RuntimeError(f"the fake keyboard failed to press {keys}: {said}")


def serve_fake_keyboard(path):
    # Keys by name, a press a line, each answered once KWin has it.
    try:
        keyboard = FakeKeyboard(path)
        print("ready", flush=True)
        for line in sys.stdin:
            keyboard.press(*line.split())
            print("done", flush=True)
    except (RuntimeError, KeyError, OSError) as error:
        print(f"{type(error).__name__}: {error}", flush=True)


if __name__ == "__main__":
    serve_fake_keyboard(sys.argv[1])
