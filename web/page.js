// SPDX-License-Identifier: MIT
// The page is testcard's window system: it gives the WebAssembly side the
// canvas size in device pixels, passes on the key presses that yield a
// character, taps and clicks, and puts each new picture on the canvas pixel
// for pixel. A start screen says how to step until the first press takes it
// away; the grid is already drawn under it.
'use strict';

// Installing, and working offline: the manifest says how the page looks on
// a home screen, and a service worker keeps a copy of it for visits without
// a network. Opened from disk the page needs neither, and browsers refuse
// both there (the manifest as a cross-origin request, with an error).
if (location.protocol === 'https:' || location.protocol === 'http:') {
  const manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.append(manifest);
  navigator.serviceWorker?.register('service-worker.js')
      .catch((error) => console.warn(`testcard will not work offline: ${error.message}`));
}

(async () => {
  const kEnded = 0, kShow = 1;
  const canvas = document.getElementById('picture');
  const context = canvas.getContext('2d', {alpha: false});
  const startScreen = document.getElementById('start');
  const testcard = await createTestcard();
  let run = 0;  // the WebRun the WebAssembly side keeps, once started
  let ended = false;

  // Replaces the page with one line: the end of the run, or what failed.
  function say(text) {
    observer.disconnect();
    run = 0;
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    const line = document.createElement('p');
    line.textContent = text;
    document.body.replaceChildren(line);
  }

  function show(status) {
    if (status === kEnded) {
      ended = true;
      return say('testcard has ended. Tap, click or press a key to start again.');
    }
    if (status !== kShow) return say(testcard.UTF8ToString(testcard._testcard_error(run)));
    const width = testcard._testcard_width(run), height = testcard._testcard_height(run);
    // A view of the WebAssembly memory, made afresh: the memory may have
    // grown, and moved, during the call.
    const rgba = new Uint8ClampedArray(testcard.HEAPU8.buffer, testcard._testcard_pixels(run),
                                       width * height * 4);
    // The picture is even each way; an odd last column or row of the canvas
    // keeps the opaque black every resize of an alpha-free canvas starts with.
    context.putImageData(new ImageData(rgba, width, height), 0, 0);
  }

  function resize(width, height) {
    if (width === 0 || height === 0) return;  // hidden: nothing to draw on
    if (run && width === canvas.width && height === canvas.height) return;
    canvas.width = width;
    canvas.height = height;
    if (run) return show(testcard._testcard_resize(run, width, height));
    run = testcard._testcard_start(width, height);
    show(testcard._testcard_started(run) ? kShow : -1);
  }

  // The device pixels the canvas covers, as the browser lays them out where
  // it can say so; otherwise its CSS size times the ratio, rounded as the
  // browser rounds.
  function devicePixels(entry) {
    const box = entry.devicePixelContentBoxSize?.[0];
    if (box) return [box.inlineSize, box.blockSize];
    const ratio = window.devicePixelRatio;
    return [Math.round(entry.contentRect.width * ratio), Math.round(entry.contentRect.height * ratio)];
  }
  const observer = new ResizeObserver((entries) => resize(...devicePixels(entries.at(-1))));
  try {
    observer.observe(canvas, {box: 'device-pixel-content-box'});
  } catch {
    observer.observe(canvas);
  }

  // One press of a key, a tap or a click. The first takes the start screen
  // away and shows the grid under it; after the end, one starts again.
  function step() {
    if (ended) return location.reload();
    if (!run) return;
    if (startScreen.isConnected) return startScreen.remove();
    // The name bench/README.md times it by; taps and clicks are timed too.
    performance.mark('testcard key');
    show(testcard._testcard_key(run));
    performance.measure('testcard key to picture', 'testcard key');
  }

  // Keys that yield a character: one character, or one of the control keys
  // that type one. With Ctrl, Alt or the system key they are the browser's
  // shortcuts (reload, close, ...) and stay the browser's. A remote's OK is
  // Enter; its arrows, media keys and Back have names, not characters.
  const controlKeys = new Set(['Enter', 'Escape', 'Backspace', 'Tab']);
  function yieldsCharacter(event) {
    const shortcut = (event.ctrlKey || event.altKey || event.metaKey) &&
                     !event.getModifierState('AltGraph');
    return !shortcut && !event.isComposing &&
           ([...event.key].length === 1 || controlKeys.has(event.key));
  }
  window.addEventListener('keydown', (event) => {
    if (!yieldsCharacter(event) || (ended && event.repeat)) return;
    event.preventDefault();  // no scrolling on space, no focus moving on Tab
    step();
  });

  // A tap or click steps like a key, except the one that brings the page to
  // full screen: that one keeps the pattern on show, which the new size draws
  // again, so no pattern goes by unseen. The tap that takes the start screen
  // away asks for full screen too. Keys never switch it, so each keeps its
  // meaning; in full screen Escape is a key like any other.
  function tap() {
    if (!run || ended || document.fullscreenElement || !document.fullscreenEnabled) return step();
    const starting = startScreen.isConnected;
    if (starting) step();
    document.documentElement.requestFullscreen().then(
        () => navigator.keyboard?.lock?.(['Escape']).catch(() => {}),
        () => starting || step());  // refused: the tap was a plain step after all
  }
  listenForTaps(window, tap);
})();
