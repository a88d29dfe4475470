# SPDX-License-Identifier: MIT
# Window systems a test or a benchmark starts itself, their screens read back
# in device pixels: here a private Xvfb (optionally with openbox and a dock)
# and what every desktop shares; sway and weston in wayland_desktops.py,
# mutter and KWin in their own modules. Each is a context manager that ends all it
# started; one that cannot start raises RuntimeError with the reason and what
# the server said (or OSError naming a program that is not installed). Every
# screen has .env (the environment for a program on it), capture() ->
# ((width, height), device bytes), device_bytes(RGB image) -> the bytes the
# screen holds for that picture, and press(keysym name).

import contextlib, ctypes, io, os, re, shutil, signal, subprocess, tempfile, time  # noqa: E401

from PIL import Image
from Xlib import X, XK, Xatom, display
from Xlib.ext import randr, xtest

APPEARS, SETTLE, EXITS = 30, 0.3, 3  # seconds; a busy machine may take long to start


def environment(**extra):
    # This process's environment without the variables that name a display.
    return {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")} | extra


def run(argv, env=None):
    # Runs a program to its end and returns its stdout; raises if it fails.
    done = subprocess.run(argv, env=env, capture_output=True, timeout=20)
    if done.returncode != 0:
        raise RuntimeError(f"{argv[0]} failed:\n{(done.stdout + done.stderr).decode(errors='replace')}")
    return done.stdout


def wait_until(done, timeout=20):  # done()'s last value, true unless it timed out
    deadline = time.monotonic() + timeout
    while not (value := done()) and time.monotonic() < deadline:
        time.sleep(0.02)
    return value


def render(program, size):
    # The grid, the cross and the colour pattern as testcard-render draws them.
    return [Image.open(io.BytesIO(run([program, "--pattern", pattern, "--size", "%dx%d" % size, "--output",
                                       "-"]))).convert("RGB") for pattern in ("grid", "cross", "colour")]


class Process(contextlib.AbstractContextManager):
    # A program in a process group of its own (SDL shows its message box from
    # a process of its own), stdout and stderr to one file. Leaving the `with`
    # ends the group: SIGTERM, SIGKILL two seconds on.
    def __init__(self, argv, env):
        self.file, self.argv = tempfile.TemporaryFile(), argv
        self.popen = subprocess.Popen(argv, env=env, stdout=self.file, stderr=subprocess.STDOUT,
                                      start_new_session=True)

    def wait(self, timeout):  # the exit status, None if still running
        with contextlib.suppress(subprocess.TimeoutExpired):
            return self.popen.wait(timeout)

    def output(self):
        return os.pread(self.file.fileno(), 1 << 24, 0).decode(errors="replace")

    def __exit__(self, *_):
        with contextlib.suppress(ProcessLookupError):
            if self.wait(0) is None:
                os.killpg(self.popen.pid, signal.SIGTERM)
                self.wait(2)
            os.killpg(self.popen.pid, signal.SIGKILL)
        self.popen.wait()


class Session:
    # start() brings the window system up; what it enters on self.stack ends
    # with the session, at once if start() fails.
    def __enter__(self):
        with contextlib.ExitStack() as self.stack:
            self.start()
            self.stack = self.stack.pop_all()
        return self

    def __exit__(self, *_):
        self.stack.close()

    def server(self, argv, env, ready):  # ready(server): whether it is up; .servers lists them
        server = self.stack.enter_context(Process(argv, env))
        self.servers = [*getattr(self, "servers", []), server]
        wait_until(lambda: ready(server) or server.wait(0) is not None)
        if not ready(server):
            raise RuntimeError(f"{argv[0]} did not start (in 20 s):\n{server.output()}")
        return server


def expect_showing(screen, picture, program, timeout=APPEARS, what=""):
    # Polls the screen until it shows `picture` from its top-left corner and
    # black beyond (as crop() pads). Else fails with how many pixels differ,
    # the first of them, and what the program said.
    deadline, wanted = time.monotonic() + timeout, {}
    while True:
        size, got = screen.capture()
        if size not in wanted:
            wanted[size] = screen.device_bytes(picture.crop((0, 0) + size))
        if got == wanted[size]:
            return
        if time.monotonic() > deadline:
            want, n = wanted[size], len(got) // (size[0] * size[1])
            differ = [i // n for i in range(0, len(want), n) if got[i:i + n] != want[i:i + n]]
            a, b = (s[differ[0] * n:differ[0] * n + n][::-1].hex() for s in (got, want))
            raise AssertionError(f"{what} {len(differ)} pixels differ of {size[0] * size[1]}, first at "
                                 f"({differ[0] % size[0]}, {differ[0] // size[0]}) 0x{a} where 0x{b} was "
                                 f"expected; {program.argv[-1]} said:\n{program.output()}")
        time.sleep(0.02)


class XSession(Session):
    # Xvfb on a display number of its own choosing, its root window black, with
    # XTest; with a dock height, also openbox and a dock window reserving that
    # strip at the top, as desktops' panels do.
    def __init__(self, width, height, depth=24, dock=0):
        self.size, self.depth, self.dock = (width, height), depth, dock

    def start(self):
        # Its messages share the file: the number is the one line of digits alone.
        number = lambda server: re.search(r"^(\d+)\n", server.output(), re.M)
        server = self.server(["Xvfb", "-displayfd", "1", "-screen", "0", "%dx%dx%d" % (
            self.size + (self.depth,)), "-br", "-nolisten", "tcp"], environment(), number)
        self.env = environment(DISPLAY=":" + number(server).group(1))
        self.x = display.Display(self.env["DISPLAY"])  # closed as Xvfb ends
        if not self.x.has_extension("XTEST"):
            raise RuntimeError("Xvfb has no XTest extension")
        screen = self.x.screen()
        visual = next(v for d in screen.allowed_depths for v in d.visuals
                      if v.visual_id == screen.root_visual)
        # Each channel's largest value and place.
        self.root, self.channels = screen.root, [(m >> s, s) for m in (
            visual.red_mask, visual.green_mask, visual.blue_mask) for s in [(m & -m).bit_length() - 1]]
        if self.dock:
            self.add_openbox_and_dock()

    def add_openbox_and_dock(self):
        atom = self.x.intern_atom
        self.server(["openbox"], self.env, lambda _: self.root.get_full_property(
            atom("_NET_SUPPORTING_WM_CHECK"), X.AnyPropertyType))
        dock = self.root.create_window(0, 0, self.size[0], self.dock, 0, X.CopyFromParent,
                                       background_pixel=self.value((0, 255, 0)))
        dock.change_property(atom("_NET_WM_WINDOW_TYPE"), Xatom.ATOM, 32, [atom("_NET_WM_WINDOW_TYPE_DOCK")])
        strut = [0, 0, self.dock, 0, 0, 0, 0, 0, 0, self.size[0] - 1, 0, 0]  # top, from x 0 to the right
        dock.change_property(atom("_NET_WM_STRUT_PARTIAL"), Xatom.CARDINAL, 32, strut)

        # openbox announces itself before it handles map requests, and loses
        # those that come in between: the dock is mapped until it shows, and
        # then openbox is ready for testcard's window too.
        def dock_shows():
            dock.map()
            self.x.sync()
            return dock.get_attributes().map_state == X.IsViewable
        if not wait_until(dock_shows):
            raise RuntimeError("openbox never mapped the dock window")

    def capture(self):
        # The depth's planes only: the pad byte holds what whoever drew wrote there.
        return self.size, self.root.get_image(0, 0, *self.size, X.ZPixmap, (1 << self.depth) - 1).data

    def value(self, rgb):
        # 8 bits a channel as they are, 10 bits as v * 1023 / 255 rounded,
        # fewer bits as SDL converts them (the top bits of each value).
        return sum(((v * top + 127) // 255 if top > 255 else v * (top + 1) // 256) << shift
                   for (top, shift), v in zip(self.channels, rgb))

    def device_bytes(self, picture):
        if self.depth == 24:
            return picture.tobytes("raw", "BGRX")
        n, known = (2 if self.depth == 16 else 4), {}
        return b"".join(known.get(p) or known.setdefault(p, self.value(p).to_bytes(n, "little"))
                        for p in picture.getdata())

    def resize(self, width, height):
        # The screen made width x height through RandR, as a user's display
        # settings do: a mode of that size on the one output. Xvfb's frame
        # buffer is allocated at start, so neither side can grow past it.
        top = randr.get_screen_size_range(self.root)
        if not (0 < width <= top.max_width and 0 < height <= top.max_height):
            raise RuntimeError(f"Xvfb cannot make its screen {width}x{height} (at most "
                               f"{top.max_width}x{top.max_height}, the size it started with)")
        resources = randr.get_screen_resources(self.root)
        name = f"{width}x{height}"
        mode = randr.create_mode(self.root, dict(
            id=0, width=width, height=height, dot_clock=0, h_sync_start=0, h_sync_end=0, h_total=0,
            h_skew=0, v_sync_start=0, v_sync_end=0, v_total=0, name_length=len(name), flags=0), name).mode
        randr.add_output_mode(self.x, resources.outputs[0], mode)
        if randr.set_crtc_config(self.x, resources.crtcs[0], X.CurrentTime, 0, 0, mode, randr.Rotate_0,
                                 resources.outputs[:1]).status != 0:
            raise RuntimeError(f"Xvfb refused the mode {name}")
        randr.set_screen_size(self.root, width, height, width * 254 // 960, height * 254 // 960)
        self.x.sync()
        self.size = (width, height)

    def keycode(self, name):  # in the layout the connection began with (us)
        code = self.x.keysym_to_keycode(XK.string_to_keysym(name))
        if not code:
            raise RuntimeError("no key types " + name)
        return code

    def press(self, *keys):
        # A real press and release of the last key, the others held around it;
        # keys by keysym name or key code.
        codes = [key if isinstance(key, int) else self.keycode(key) for key in keys]
        for code, event in [(c, X.KeyPress) for c in codes] + [(c, X.KeyRelease) for c in codes[::-1]]:
            xtest.fake_input(self.x, event, code)
        self.x.sync()

    def cover(self, rgb):
        # A window filled with `rgb` over the whole screen (a new window is
        # the topmost), no window manager moving it.
        window = self.root.create_window(0, 0, *self.size, 0, X.CopyFromParent, override_redirect=True,
                                         background_pixel=self.value(rgb))
        window.map()
        return window


def runtime_directory(session):
    path = tempfile.mkdtemp(prefix="testcard-desktop-")
    session.stack.callback(shutil.rmtree, path, ignore_errors=True)
    return path


def make_private_namespaces(session):
    # This process in mount and network namespaces of its own with X11
    # sockets of their own, in the file system and abstract, so that XWayland
    # meets no other X server. The lock files stay in the shared /tmp, where
    # X servers look for a free display number; the program under test may
    # live anywhere, /tmp included. Namespaces are made once (a process with
    # threads, as D-Bus clients have, cannot leave its mount namespace); each
    # session gets an empty socket directory of its own.
    os.makedirs("/tmp/.X11-unix", exist_ok=True)
    os.chmod("/tmp/.X11-unix", 0o1777)
    libc = ctypes.CDLL(None, use_errno=True)
    if (not PRIVATE_NAMESPACES and (libc.unshare(0x20000 | 0x40000000)  # CLONE_NEWNS | CLONE_NEWNET
                                    or libc.mount(None, b"/", None, 0x4000 | 0x40000, None))  # MS_REC | MS_PRIVATE
            or libc.mount(b"tmpfs", b"/tmp/.X11-unix", b"tmpfs", 0, b"mode=1777")):
        raise RuntimeError("cannot make private namespaces for the desktop (unshare, mount: "
                           f"{os.strerror(ctypes.get_errno())}); a container needs CAP_SYS_ADMIN")
    PRIVATE_NAMESPACES.append(True)
    session.stack.callback(libc.umount2, b"/tmp/.X11-unix", 2)  # MNT_DETACH


PRIVATE_NAMESPACES = []
