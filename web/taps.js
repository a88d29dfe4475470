// SPDX-License-Identifier: MIT
// Taps and clicks, told apart from every other touch: a press of one finger,
// pen or the main mouse button, let go soon and close to where it came down,
// with no other finger on the screen meanwhile. A long press, a drag or
// scroll, a pinch or any touch of two fingers is no tap, and neither is a
// touch the browser took over (pointercancel).
'use strict';

// Calls onTap(event) with the pointerup of each tap on target.
function listenForTaps(target, onTap) {
  const kLongPressMs = 500;  // about where phones start a long press
  const kSlopCssPixels = 12;  // a finger wobbles a little even when it taps
  const down = new Set();  // pointers on the screen now
  let press = null;  // the press that is a tap if it ends now

  target.addEventListener('pointerdown', (event) => {
    // The first finger of a new touch (or the mouse) starts afresh, even if
    // the last pointerup never came (released outside the window).
    if (event.isPrimary) down.clear();
    down.add(event.pointerId);
    const mainButton = event.pointerType !== 'mouse' || event.button === 0;
    press = down.size === 1 && mainButton ?
        {id: event.pointerId, x: event.clientX, y: event.clientY, time: event.timeStamp} :
        null;
  });
  target.addEventListener('pointermove', (event) => {
    if (press?.id === event.pointerId &&
        Math.hypot(event.clientX - press.x, event.clientY - press.y) > kSlopCssPixels) {
      press = null;
    }
  });
  target.addEventListener('pointerup', (event) => {
    down.delete(event.pointerId);
    if (press?.id !== event.pointerId) return;
    const quick = event.timeStamp - press.time < kLongPressMs;
    press = null;
    if (quick) onTap(event);
  });
  target.addEventListener('pointercancel', (event) => {
    down.delete(event.pointerId);
    press = null;
  });
  // A long press on a touch screen opens the browser's menu for the canvas
  // (save image, ...) over the pattern; the mouse's menu stays.
  target.addEventListener('contextmenu', (event) => {
    if (event.pointerType !== 'mouse') event.preventDefault();
  });
}
