# SPDX-License-Identifier: MIT
# Window systems a test starts itself, their screens read back in device
# pixels: a private Xvfb (optionally with openbox and a dock), sway headless
# with XWayland, weston in an Xvfb. Each is a context manager that ends all it
# started; one that cannot start raises RuntimeError with the reason and what
# the server said. Every screen has .env (the environment for a program on it),
# capture() -> ((width, height), device bytes), device_bytes(RGB image) -> the
# bytes the screen holds for that picture, and press(keysym name).

import contextlib
import ctypes
import io
import os
import pwd
import re
import shutil
import signal
import subprocess
import tempfile
import time

from PIL import Image
from Xlib import X, XK, Xatom, display
from Xlib.ext import xtest

APPEARS, SETTLE, EXITS = 15, 0.3, 3  # seconds


def environment(**extra):
    # This process's environment without the variables that name a display.
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    return dict(env, **extra)


def run(argv, env):
    # Runs a program to its end and returns its output; raises if it fails.
    try:
        done = subprocess.run(argv, env=env, capture_output=True, timeout=20)
    except (OSError, subprocess.TimeoutExpired) as e:
        raise RuntimeError(f"cannot run {argv[0]} (is it installed?): {e}") from e
    if done.returncode != 0:
        raise RuntimeError(f"{argv[0]} failed:\n{done.stdout.decode()}{done.stderr.decode()}")
    return done.stdout.decode()


def wait_until(done, failure, timeout=20):
    deadline = time.monotonic() + timeout
    while not done():
        if time.monotonic() > deadline:
            raise RuntimeError(failure())
        time.sleep(0.02)


class Process:
    # A program in a process group of its own (SDL shows its message box from
    # a process of its own), stdout and stderr to one file. Leaving the `with`
    # ends the group: SIGTERM, SIGKILL two seconds on.
    def __init__(self, argv, env):
        self.file = tempfile.TemporaryFile()
        try:
            self.popen = subprocess.Popen(argv, env=env, stdout=self.file, stderr=subprocess.STDOUT,
                                          start_new_session=True)
        except OSError as e:
            raise RuntimeError(f"cannot run {argv[0]} (is it installed?): {e}") from e

    def wait(self, timeout):  # the exit status, None if still running
        with contextlib.suppress(subprocess.TimeoutExpired):
            return self.popen.wait(timeout)

    def running(self):
        return self.popen.poll() is None

    def output(self):
        self.file.seek(0)
        return self.file.read().decode(errors="replace")

    def __enter__(self):
        return self

    def __exit__(self, *_):
        with contextlib.suppress(ProcessLookupError):
            if self.running():
                os.killpg(self.popen.pid, signal.SIGTERM)
                self.wait(2)
            os.killpg(self.popen.pid, signal.SIGKILL)
        self.popen.wait()


class Session:
    # start() brings the window system up; what it enters on self.stack ends with it.
    def __enter__(self):
        self.stack = contextlib.ExitStack()
        try:
            self.start()
        except BaseException:
            self.stack.close()
            raise
        return self

    def __exit__(self, *_):
        self.stack.close()

    def server(self, argv, env, ready):
        server = self.stack.enter_context(Process(argv, env))
        wait_until(lambda: ready() or not server.running(),
                   lambda: f"{argv[0]} did not start in 20 s:\n{server.output()}")
        if not ready():
            raise RuntimeError(f"{argv[0]} did not start:\n{server.output()}")
        return server


def showing(screen, picture, timeout=APPEARS):
    # Polls the screen until it shows `picture` from its top-left corner and
    # black beyond; returns "" then, or how many pixels differ and the first.
    deadline, wanted = time.monotonic() + timeout, {}
    while True:
        size, got = screen.capture()
        if size not in wanted:
            canvas = Image.new("RGB", size)
            canvas.paste(picture)
            wanted[size] = screen.device_bytes(canvas)
        want = wanted[size]
        if got == want:
            return ""
        if time.monotonic() > deadline:
            n = len(want) // (size[0] * size[1])
            differ = [i for i in range(0, len(want), n) if got[i:i + n] != want[i:i + n]]
            if not differ or len(got) != len(want):
                return f"the screen has {len(got)} bytes where {len(want)} were expected"
            i, value = differ[0], lambda b: hex(int.from_bytes(b[differ[0]:differ[0] + n], "little"))
            return (f"{len(differ)} pixels differ of {len(want) // n}, first at ({i // n % size[0]}, "
                    f"{i // n // size[0]}) {value(got)} where {value(want)} was expected")
        time.sleep(0.02)


class XSession(Session):
    # Xvfb on a display number of its own choosing, its root window black, with
    # XTest; with a dock height, also openbox and a dock window reserving that
    # strip at the top, as desktops' panels do.
    def __init__(self, width, height, depth=24, dock=0):
        self.size, self.depth, self.dock = (width, height), depth, dock

    def start(self):
        screen = "%dx%dx%d" % (self.size + (self.depth,))
        server = self.stack.enter_context(Process(
            ["Xvfb", "-displayfd", "1", "-screen", "0", screen, "-br", "-nolisten", "tcp"],
            environment()))
        # Its messages share the file: the number is the one line of digits alone.
        number = lambda: re.search(r"^(\d+)\n", server.output(), re.M)
        wait_until(lambda: number() or not server.running(),
                   lambda: "Xvfb did not start:\n" + server.output())
        try:
            self.env = environment(DISPLAY=":" + number().group(1))
            self.x = display.Display(self.env["DISPLAY"])
            self.stack.callback(self.x.close)
            assert self.x.has_extension("XTEST")
        except Exception as e:
            raise RuntimeError(f"Xvfb did not start with a screen of {screen} and XTest "
                               f"(is the xvfb package installed?): {e!r}\n{server.output()}") from e
        self.root, root_visual = self.x.screen().root, self.x.screen().root_visual
        visual = next(v for d in self.x.screen().allowed_depths for v in d.visuals
                      if v.visual_id == root_visual)
        self.masks = (visual.red_mask, visual.green_mask, visual.blue_mask)
        if self.dock:
            self.add_openbox_and_dock()

    def add_openbox_and_dock(self):
        atom = self.x.intern_atom
        self.server(["openbox"], self.env, lambda: self.root.get_full_property(
            atom("_NET_SUPPORTING_WM_CHECK"), X.AnyPropertyType))
        dock = self.root.create_window(0, 0, self.size[0], self.dock, 0, X.CopyFromParent,
                                       background_pixel=self.value((0, 255, 0)))
        dock.change_property(atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32,
                             [atom("_NET_WM_WINDOW_TYPE_DOCK")])
        dock.change_property(atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32,
                             [0, 0, self.dock, 0, 0, 0, 0, 0, 0, self.size[0] - 1, 0, 0])
        dock.map()
        self.x.sync()

    def capture(self):
        # The depth's planes only: the pad byte holds what whoever drew wrote there.
        image = self.root.get_image(0, 0, *self.size, X.ZPixmap, (1 << self.depth) - 1)
        return self.size, image.data

    def value(self, rgb):
        # 8 bits a channel as they are, 10 bits as v * 1023 / 255 rounded,
        # fewer bits as SDL converts them (the top bits of each value).
        value = 0
        for mask, v in zip(self.masks, rgb):
            shift = (mask & -mask).bit_length() - 1
            top = mask >> shift
            value |= ((v * top + 127) // 255 if top > 255 else v * (top + 1) // 256) << shift
        return value

    def device_bytes(self, picture):
        if self.depth == 24:
            return picture.tobytes("raw", "BGRX")
        n, known = (2 if self.depth == 16 else 4), {}
        return b"".join(known.get(p) or known.setdefault(p, self.value(p).to_bytes(n, "little"))
                        for p in picture.getdata())

    def keycode(self, name):  # in the layout the connection began with (us)
        code = self.x.keysym_to_keycode(XK.string_to_keysym(name))
        if not code:
            raise RuntimeError("no key types " + name)
        return code

    def press(self, key):
        self.press_codes([self.keycode(key)])

    def press_codes(self, codes):
        # A real press and release of the last key, the others held around it.
        for code in codes:
            xtest.fake_input(self.x, X.KeyPress, code)
        for code in reversed(codes):
            xtest.fake_input(self.x, X.KeyRelease, code)
        self.x.sync()

    def cover(self, rgb):
        # A window filled with `rgb` over the whole screen, no window manager moving it.
        window = self.root.create_window(0, 0, *self.size, 0, X.CopyFromParent,
                                         override_redirect=True, background_pixel=self.value(rgb))
        window.configure(stack_mode=X.Above)
        window.map()
        self.x.sync()
        return window


def runtime_directory(session):
    path = tempfile.mkdtemp(prefix="testcard-desktop-")
    session.stack.callback(shutil.rmtree, path, ignore_errors=True)
    return path


class SwayDesktop(Session):
    # sway headless (software rendering, a virtual keyboard its one input) with
    # XWayland, on sockets in a runtime directory of its own. As root it runs
    # as "nobody", this whole process in private mount and network namespaces
    # so that XWayland meets no other X server. Outputs HEADLESS-1, -2, ...
    # stand side by side; the last has the focus and is the one captured.
    def __init__(self, outputs, bar=False):
        self.outputs, self.bar, self.user = outputs, bar, []

    def start(self):
        if os.geteuid() == 0:
            self.make_private_namespaces()
        self.dir = runtime_directory(self)
        ready, config, left = self.dir + "/ready", [], 0
        for i, (width, height, scale) in enumerate(self.outputs, 1):
            config.append(f"output HEADLESS-{i} resolution {width}x{height} position {left} 0 "
                          f"scale {scale}")
            left += int(width / scale)
        config += ["xwayland enable", "bar {\n  swaybar_command swaybar\n}" if self.bar else "",
                   f'exec_always echo "WAYLAND_DISPLAY=$WAYLAND_DISPLAY" >{ready}']
        with open(self.dir + "/config", "w") as file:
            file.write("\n".join(config) + "\n")
        if os.geteuid() == 0:  # sway refuses to run as root
            nobody = pwd.getpwnam("nobody")
            os.chown(self.dir, nobody.pw_uid, nobody.pw_gid)
            self.user = ["/usr/bin/setpriv", f"--reuid={nobody.pw_uid}",
                         f"--regid={nobody.pw_gid}", "--clear-groups"]
        own = {"XDG_RUNTIME_DIR": self.dir, "SWAYSOCK": self.dir + "/sway.sock"}
        variable = lambda: open(ready).readline().strip() if os.path.exists(ready) else ""
        self.server(self.as_user(["/usr/bin/sway", "-c", self.dir + "/config"]), dict(
            own, PATH="/usr/bin:/bin", HOME=self.dir, WLR_BACKENDS="headless",
            WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1",
            WLR_HEADLESS_OUTPUTS=str(len(self.outputs))), variable)
        self.env = environment(**own, WAYLAND_DISPLAY=variable().partition("=")[2])
        # XWayland listens a moment later; from then on sway's children see DISPLAY.
        def xwayland_display():
            run(["/usr/bin/swaymsg", f"exec echo DISPLAY=$DISPLAY >{ready}"], self.env)
            return variable().startswith("DISPLAY=:")
        wait_until(xwayland_display, lambda: "sway started no XWayland")
        self.env["DISPLAY"] = variable().partition("=")[2]
        self.command(f"focus output HEADLESS-{len(self.outputs)}", len(self.outputs))
        # A keyboard there all along, as a user's is: a program sees no keys
        # from a keyboard that came and went before it knew of it.
        self.stack.enter_context(Process(["/usr/bin/wtype", "-s", "3600000"], self.env))

    @staticmethod
    def make_private_namespaces():
        # X11 sockets of their own, in the file system and abstract; the lock
        # files stay in the shared /tmp, where X servers look for a free
        # display number, and the program under test may live anywhere.
        if not os.path.isdir("/tmp/.X11-unix"):
            os.mkdir("/tmp/.X11-unix")
            os.chmod("/tmp/.X11-unix", 0o1777)
        libc = ctypes.CDLL(None, use_errno=True)
        clone_newns, clone_newnet, ms_rec, ms_private = 0x20000, 0x40000000, 0x4000, 0x40000
        if (libc.unshare(clone_newns | clone_newnet) or libc.mount(None, b"/", None, ms_rec | ms_private, None)
                or libc.mount(b"tmpfs", b"/tmp/.X11-unix", b"tmpfs", 0, b"mode=1777")):
            raise RuntimeError("cannot make private namespaces for sway (unshare, mount: "
                               f"{os.strerror(ctypes.get_errno())}); a container needs CAP_SYS_ADMIN")

    def as_user(self, argv):  # the command line that runs argv as the user sway runs as
        return self.user + argv

    def command(self, commands, output):  # sway commands; capture HEADLESS-`output` from then on
        run(["/usr/bin/swaymsg", commands], self.env)
        self.output = f"HEADLESS-{output}"

    def capture(self):
        ppm = subprocess.run(["/usr/bin/grim", "-o", self.output, "-t", "ppm", "-"], env=self.env,
                             capture_output=True, check=True).stdout
        image = Image.open(io.BytesIO(ppm)).convert("RGB")
        return image.size, image.tobytes()

    def device_bytes(self, picture):
        return picture.tobytes()

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
                    lambda: os.path.exists(self.env["XDG_RUNTIME_DIR"] + "/wayland-test"))
        self.env["WAYLAND_DISPLAY"] = "wayland-test"
