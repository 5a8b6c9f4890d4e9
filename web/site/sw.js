// Keeps the site for use offline: everything is stored when the worker is
// installed and served from that store. scripts/web.sh names the store after
// the site's contents, so a changed site is a changed worker, which the
// browser installs in the background; the old store goes when it takes over.

const STORE = "mirabo";
const SITE = [
  "./",
  "index.html",
  "style.css",
  "app.js",
  "calculators.js",
  "message.js",
  "language.js",
  "mirabo.wasm",
  "resources.json",
  "manifest.webmanifest",
  "icons/32.png",
  "icons/64.png",
  "icons/256.png",
  "icons/scalable.svg",
];

async function storeSite() {
  const store = await caches.open(STORE);
  await store.addAll(SITE);
  // The pictures are named in the resources.
  const resources = await (await store.match("resources.json")).json();
  await store.addAll(Object.values(resources.pictures).map((p) => p.file));
}

self.addEventListener("install", (event) => {
  event.waitUntil(storeSite().then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((n) => n !== STORE).map((n) => caches.delete(n))))
      .then(() => self.clients.claim()),
  );
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    caches.match(request, { cacheName: STORE, ignoreSearch: true }).then((stored) => stored ?? fetch(request)),
  );
});
