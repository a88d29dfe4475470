# SPDX-License-Identifier: MIT
# The page served over HTTP from 127.0.0.1, as it is installed from. On the
# first visit Chromium must find the manifest valid and the page installable,
# with each icon the manifest names a PNG of the size it names. A page
# changed on the server must show on the next visit. Then, with the server
# gone and the network cut off, that page must open again, answer for every
# file of the site, and step through its patterns exactly (cycle.py).

import functools
import json
import os
import shutil
import tempfile
import threading
from http.server import SimpleHTTPRequestHandler, ThreadingHTTPServer
from pathlib import Path

from PIL import Image

import browser
import cycle

FETCH_ALL = """
const [files, done] = arguments;
Promise.all(files.map((file) => fetch(file).then((response) => response.ok ? null :
    `${file}: ${response.status}`, (error) => `${file}: ${error.message}`)))
  .then((failed) => done(failed.filter(Boolean)));
"""


class QuietHandler(SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    server = ThreadingHTTPServer(("127.0.0.1", 0),
                                 functools.partial(QuietHandler, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def check_manifest(driver, site, where):
    app = driver.execute_cdp_cmd("Page.getAppManifest", {})
    assert app["url"].endswith("/manifest.webmanifest") and not app["errors"], \
        f"{where}: the manifest {app['url'] or '(none)'} has errors {app['errors']}"
    errors = driver.execute_cdp_cmd("Page.getInstallabilityErrors", {})["installabilityErrors"]
    assert not errors, f"{where}: Chromium would not install the page: {errors}"
    manifest = json.loads(app["data"])
    look = [manifest.get(key) for key in ("display", "background_color", "theme_color")]
    assert look == ["fullscreen", "#000000", "#000000"], \
        f"{where}: display, background and theme are {look}, not full screen on black"
    sizes = set()
    for icon in manifest["icons"]:
        named = {tuple(map(int, size.split("x"))) for size in icon["sizes"].split()}
        with Image.open(site / icon["src"]) as image:
            found = (image.format, image.size)
        assert icon["type"] == "image/png" and named == {found[1]} and found[0] == "PNG", \
            f"{where}: icon {icon['src']} is {found}, the manifest says {icon['sizes']} PNG"
        sizes |= named
    assert {(192, 192), (512, 512)} <= sizes, f"{where}: no icons of 192 and 512 but {sizes}"


def run(site, render):
    with tempfile.TemporaryDirectory() as folder:
        served, profile = Path(folder) / "site", Path(folder) / "profile"
        shutil.copytree(site, served)
        server = serve(served)
        url = f"http://127.0.0.1:{server.server_port}/"
        where = f"ratio 1.5, served from {url}"
        driver = browser.start_browser(1.5, (700, 500), profile)
        try:
            driver.get(url)
            browser.wait_for(driver, "return !!navigator.serviceWorker.controller",
                             "the service worker to take the page")
            check_manifest(driver, served, where)

            index = served / "index.html"
            index.write_text(index.read_text().replace("<title>testcard<", "<title>testcard 2<"))
            # The server dates files to the second: make the change a newer one.
            changed = index.stat().st_mtime + 5
            os.utime(index, (changed, changed))
            driver.get(url)
            assert driver.title == "testcard 2", \
                f"{where}: the visit after a change shows '{driver.title}', not the new page"

            server.shutdown()
            server.server_close()
            driver.execute_cdp_cmd("Network.enable", {})
            driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
                "offline": True, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})
            where += ", offline"
            driver.get(url)
            assert driver.title == "testcard 2", \
                f"{where}: the page opened is '{driver.title}', not the last one seen online"
            # All but the worker itself, which the browser keeps on its own.
            files = sorted(path.name for path in served.iterdir()
                           if path.name != "service-worker.js")
            missing = driver.execute_async_script(FETCH_ALL, files)
            assert not missing, f"{where}: files the page cannot load: {missing}"
            cycle.walk(driver, render, "keyboard", where)
        finally:
            driver.quit()
            server.server_close()
    print(f"ok: {where}")
