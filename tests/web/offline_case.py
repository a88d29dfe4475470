# SPDX-License-Identifier: MIT
# The page served over HTTP from 127.0.0.1, as it is installed from. On the
# first visit Chromium must find the manifest valid and the page installable,
# with each icon the manifest names a PNG of the size it names. With the
# server gone and the network cut off, the page must open again and answer
# for every file of the site: all of it was kept on that one visit. A page
# changed on the server must show on the next visit online, and then open
# offline in its turn and step through its patterns exactly (cycle.py).

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


def serve(folder, port=0):
    server = ThreadingHTTPServer(("127.0.0.1", port),
                                 functools.partial(QuietHandler, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def network(driver, online):
    driver.execute_cdp_cmd("Network.emulateNetworkConditions", {
        "offline": not online, "latency": 0, "downloadThroughput": -1, "uploadThroughput": -1})


def open_offline(driver, url, served, title, where):
    # The page at `url` with no network, which must be the one titled
    # `title` and answer for every file the page loads: all but the worker
    # itself, which the browser keeps on its own.
    network(driver, online=False)
    driver.get(url)
    assert driver.title == title, f"{where}: the page opened is '{driver.title}', not '{title}'"
    files = sorted(path.name for path in served.iterdir() if path.name != "service-worker.js")
    missing = driver.execute_async_script(FETCH_ALL, files)
    assert not missing, f"{where}: files the page cannot load: {missing}"


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
            driver.execute_cdp_cmd("Network.enable", {})
            driver.get(url)
            browser.wait_for(driver, "return !!navigator.serviceWorker.controller",
                             "the service worker to take the page")
            check_manifest(driver, served, where)
            server.shutdown()
            server.server_close()
            open_offline(driver, url, served, "testcard", f"{where}, offline after one visit")

            index = served / "index.html"
            index.write_text(index.read_text().replace("<title>testcard<", "<title>testcard 2<"))
            # The server dates files to the second: make the change a newer one.
            changed = index.stat().st_mtime + 5
            os.utime(index, (changed, changed))
            server = serve(served, server.server_port)
            network(driver, online=True)
            driver.get(url)
            assert driver.title == "testcard 2", \
                f"{where}: the visit after a change shows '{driver.title}', not the new page"
            server.shutdown()
            server.server_close()
            where += ", offline after a new version"
            open_offline(driver, url, served, "testcard 2", where)
            cycle.walk(driver, render, "keyboard", where)
        finally:
            driver.quit()
            server.server_close()
    print(f"ok: {where}")
