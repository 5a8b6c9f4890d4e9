// Serves a folder on http://127.0.0.1:PORT/ with the site's security headers,
// gzip where the browser takes it, and no caching by the browser itself (the
// service worker keeps the site). A file is read once: restart the server
// after rebuilding the site.
//   node web/serve.mjs FOLDER [PORT]
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { extname, join, normalize, sep } from "node:path";
import { gzipSync } from "node:zlib";

const [folder, port = "8080"] = process.argv.slice(2);
if (!folder) {
  console.error("usage: node web/serve.mjs FOLDER [PORT]");
  process.exit(64);
}
const root = normalize(folder) + sep;

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".json": "application/json",
  ".webmanifest": "application/manifest+json",
  ".wasm": "application/wasm",
  ".png": "image/png",
  ".svg": "image/svg+xml",
};
const CSP =
  "default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self'; " +
  "connect-src 'self'; manifest-src 'self'; worker-src 'self'; base-uri 'none'; form-action 'none'; " +
  "frame-ancestors 'none'";

// Files are read and compressed once, when first asked for.
const answers = new Map();

async function answerFor(file) {
  if (!answers.has(file)) {
    const body = await readFile(file);
    const compress = extname(file) !== ".png";
    answers.set(file, { body, gzipped: compress ? gzipSync(body, { level: 9 }) : null });
  }
  return answers.get(file);
}

const server = createServer(async (request, response) => {
  let path = decodeURIComponent(new URL(request.url, "http://x").pathname);
  if (path.endsWith("/")) path += "index.html";
  const file = normalize(join(root, path));
  if (!file.startsWith(root) || (request.method !== "GET" && request.method !== "HEAD")) {
    response.writeHead(404).end();
    return;
  }
  let answer;
  try {
    answer = await answerFor(file);
  } catch {
    response.writeHead(404, { "Content-Type": "text/plain" }).end("not found\n");
    return;
  }
  const headers = {
    "Content-Type": TYPES[extname(file)] ?? "application/octet-stream",
    "Content-Security-Policy": CSP,
    "X-Content-Type-Options": "nosniff",
    "Cache-Control": "no-cache",
  };
  let body = answer.body;
  if (answer.gzipped && /\bgzip\b/.test(request.headers["accept-encoding"] ?? "")) {
    body = answer.gzipped;
    headers["Content-Encoding"] = "gzip";
    headers["Vary"] = "Accept-Encoding";
  }
  headers["Content-Length"] = body.length;
  response.writeHead(200, headers);
  response.end(request.method === "HEAD" ? undefined : body);
});
server.listen(Number(port), "127.0.0.1", () => {
  console.log(`Mirabo is served on http://127.0.0.1:${server.address().port}/`);
});
