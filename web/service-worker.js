// SPDX-License-Identifier: MIT
// Keeps a copy of the whole page so that it opens with no network once it
// has been opened with one. Online, every file still comes from the server
// (and refreshes the copy), so a new version shows on the first visit after
// it is published; the copy only answers when the server cannot.
'use strict';

const kCache = 'testcard';
// Everything the page loads. A file missing here would be missing offline;
// a file missing on the server fails the install, and the page stays online
// only, as before.
const kFiles = ['./', 'index.html', 'page.js', 'taps.js', 'testcard.js', 'manifest.webmanifest',
                'icon-16.png', 'icon-32.png', 'icon-64.png', 'icon-180.png', 'icon-192.png',
                'icon-512.png'];

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(kCache);
    await cache.addAll(kFiles.map((file) => new Request(file, {cache: 'no-cache'})));
    await self.skipWaiting();
  })());
});

// A page already open keeps the files it started with; this worker answers
// its next load at once rather than after every tab of it has closed.
self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

async function answer(request) {
  const cache = await caches.open(kCache);
  try {
    // 'no-cache' asks the server whether the browser's own copy is current,
    // so nothing older than the server's files is kept or shown.
    const response = await fetch(request, {cache: 'no-cache'});
    if (response.ok) await cache.put(request, response.clone());
    return response;
  } catch (offline) {
    const copy = await cache.match(request, {ignoreSearch: true}) ??
                 (request.mode === 'navigate' ? await cache.match('index.html') : undefined);
    if (copy) return copy;
    throw offline;
  }
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  event.respondWith(answer(request));
});
