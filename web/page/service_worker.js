// The site's copy for working offline: the worker of this version of the site
// caches all its files when it installs, then answers every request from that
// cache, so that the calculator opens with no network at all. A new version
// of the site has a new worker, named by the files' hash, which caches the new
// files and removes the older copies once it takes over.
const cacheName = 'kalventa-@SITE_HASH@';
const files = [@SITE_FILES@];

self.addEventListener('install', event => {
  event.waitUntil(caches.open(cacheName).then(cache => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(keys => Promise.all(keys.filter(key => key.startsWith('kalventa-') && key !== cacheName)
      .map(key => caches.delete(key))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', event => {
  if (event.request.method !== 'GET')
    return;
  event.respondWith(caches.open(cacheName)
    .then(cache => cache.match(event.request, { ignoreSearch: true }))
    .then(cached => cached ?? fetch(event.request)));
});
