# SPDX-License-Identifier: MIT
# What the GNOME and KDE Plasma desktops (mutter_desktop.py, kwin_desktop.py)
# share: a runtime directory and home of their own, and a D-Bus session bus
# of their own through which the test reads and types. As root, in private
# namespaces with everything running as "nobody", as SwayDesktop runs sway.

import os, pwd  # noqa: E401
from pathlib import Path

from gi.repository import Gio, GLib

from window_systems import Session, make_private_namespaces, runtime_directory

BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path={path}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/><allow own="*"/><allow send_destination="*"/><allow eavesdrop="true"/>
  </policy>
</busconfig>
"""  # no service directories: nothing is started on demand behind the test's back


class BusDesktop(Session):
    # A runtime directory, a home and a session bus (its policy lets this
    # process in as root too); the compositor comes in start().
    def begin(self, files):
        # files: {path under the runtime directory: text, where {dir} stands
        # for the directory}, written before all there is handed to the
        # compositor's user.
        self.dir, self.user = runtime_directory(self), []
        for sub in ("config", "share", "cache"):
            os.mkdir(f"{self.dir}/{sub}")
        for name, text in files.items():
            Path(self.dir, name).parent.mkdir(parents=True, exist_ok=True)
            Path(self.dir, name).write_text(text.replace("{dir}", self.dir))
        if os.geteuid() == 0:
            make_private_namespaces(self)
            nobody = pwd.getpwnam("nobody")
            for path in (self.dir, *map(str, Path(self.dir).rglob("*"))):
                os.chown(path, nobody.pw_uid, nobody.pw_gid)
            self.user = ["/usr/bin/setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}",
                         "--clear-groups"]
        Path(self.dir, "bus.conf").write_text(BUS_CONFIG.format(path=self.dir + "/bus"))
        self.own = {"XDG_RUNTIME_DIR": self.dir, "HOME": self.dir, "XDG_CONFIG_HOME": self.dir + "/config",
                    "XDG_DATA_HOME": self.dir + "/share", "XDG_CACHE_HOME": self.dir + "/cache",
                    "DBUS_SESSION_BUS_ADDRESS": f"unix:path={self.dir}/bus"}
        # The socket file comes before the daemon listens; the address it prints, after.
        self.server(self.user + ["/usr/bin/dbus-daemon", f"--config-file={self.dir}/bus.conf", "--nofork",
                                 "--print-address=1"], dict(self.own, PATH="/usr/bin:/bin"),
                    lambda bus: "unix:path=" in bus.output())
        self.bus = Gio.DBusConnection.new_for_address_sync(
            self.own["DBUS_SESSION_BUS_ADDRESS"], Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION, None, None)
        self.stack.callback(self.bus.close_sync, None)

    def call(self, service, path, method, signature="", *args, fds=None):
        # method: interface.member. Unpacked results; fds: descriptors sent along.
        interface, _, member = method.rpartition(".")
        params = GLib.Variant(f"({signature})", args) if signature else None
        if fds is None:
            return self.bus.call_sync(service, path, interface, member, params, None, 0, 20000, None).unpack()
        fd_list = Gio.UnixFDList()  # of copies, closed with it
        for fd in fds:
            fd_list.append(fd)
        try:
            return self.bus.call_with_unix_fd_list_sync(service, path, interface, member, params, None, 0, 20000,
                                                        fd_list, None)[0].unpack()
        finally:
            for fd in fd_list.steal_fds():  # now, not whenever the list is collected
                os.close(fd)

    def compositor(self, argv, env, service):
        # The compositor, up once it listens on its socket and owns `service`.
        has = lambda name: self.call("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus.NameHasOwner", "s", name)[0]
        return self.server(self.user + argv, env, lambda _: os.path.exists(
            f"{self.dir}/wayland-test") and has(service))
