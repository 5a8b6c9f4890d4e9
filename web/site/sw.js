// Keeps the site for use offline: everything is stored on the first visit
// and served from the store afterwards, each answer refreshed from the server
// in the background when the server can be reached.

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
  event.waitUntil(self.clients.claim());
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    caches.open(STORE).then(async (store) => {
      const stored = await store.match(request, { ignoreSearch: true });
      const fresh = fetch(request)
        .then((response) => {
          if (response.ok) store.put(request, response.clone());
          return response;
        })
        .catch(() => stored);
      if (stored) {
        event.waitUntil(fresh.catch(() => undefined));
        return stored;
      }
      return fresh;
    }),
  );
});
