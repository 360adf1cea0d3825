// Keeps the installed page working offline. The network comes first, so that
// a new build is taken as soon as it is served; without one, the copy from the
// last visit answers. A new build also brings a new worker (its version is the
// build's), which fetches every file afresh and drops the old copies.
'use strict';
const kCache = 'manacalc-@VERSION@';
const kFiles = '@FILES@'.split(' ');

self.addEventListener('install', (event) => {
    event.waitUntil(
        caches
            .open(kCache)
            .then((cache) => cache.addAll(kFiles))
            .then(() => self.skipWaiting()),
    );
});

self.addEventListener('activate', (event) => {
    event.waitUntil(
        caches
            .keys()
            .then((names) =>
                Promise.all(names.filter((n) => n !== kCache).map((n) => caches.delete(n))),
            )
            .then(() => self.clients.claim()),
    );
});

self.addEventListener('fetch', (event) => {
    const { request } = event;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
    event.respondWith(
        fetch(request)
            .then((response) => {
                if (response.ok) {
                    const copy = response.clone();
                    event.waitUntil(caches.open(kCache).then((cache) => cache.put(request, copy)));
                }
                return response;
            })
            .catch(() =>
                caches
                    .match(request, { ignoreSearch: true })
                    .then((cached) => cached ?? Response.error()),
            ),
    );
});
