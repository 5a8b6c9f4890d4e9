// The site served by web/serve.mjs and headless Chromium driven by
// puppeteer-core: one server and one browser for a run, and pages that
// record every console error or warning, failed load and request to another
// host, so that a test can insist there were none.
import { spawn } from "node:child_process";
import { once } from "node:events";
import { readFileSync } from "node:fs";
import { dirname, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";

const here = dirname(fileURLToPath(import.meta.url));
const top = resolve(here, "../..");
export const site = resolve(process.env.MIRABO_WEB_SITE ?? `${top}/build-web/site`);
export const axeSource = readFileSync(resolve(here, "node_modules/axe-core/axe.min.js"), "utf8");

export const DESKTOP = { width: 1280, height: 800 };
export const PHONE = { width: 360, height: 640, isMobile: true, hasTouch: true, deviceScaleFactor: 2 };

let server;
let browser;
export let origin;

// Serves a folder with web/serve.mjs; its address and the server's process.
export async function serve(folder) {
  const process_ = spawn(process.execPath, [`${top}/web/serve.mjs`, folder, "0"], {
    stdio: ["ignore", "pipe", "inherit"],
  });
  const [line] = await once(process_.stdout, "data");
  return { origin: String(line).match(/http:\/\/127\.0\.0\.1:\d+/)[0], process: process_ };
}

export async function startAll() {
  ({ origin, process: server } = await serve(site));
  const args = ["--disable-gpu", "--no-first-run", "--no-default-browser-check"];
  if (process.getuid?.() === 0) args.push("--no-sandbox");
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    headless: true,
    args,
  });
}

export async function stopAll() {
  await browser?.close();
  server?.kill();
}

// A page in a context of its own (no service worker or storage from another
// test), with what went wrong on it collected in page.problems.
export async function openPage(viewport = DESKTOP, { languages = "ja-JP,ja", beforeGoto, at = origin } = {}) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.problems = [];
  page.on("console", (m) => {
    if (m.type() === "error" || m.type() === "warn") page.problems.push(`console ${m.type()}: ${m.text()}`);
  });
  page.on("pageerror", (e) => page.problems.push(`page error: ${e.message}`));
  page.on("requestfailed", (r) => page.problems.push(`failed: ${r.url()} ${r.failure()?.errorText}`));
  page.on("request", (r) => {
    const url = new URL(r.url());
    if (url.protocol.startsWith("http") && url.origin !== at) page.problems.push(`other host: ${r.url()}`);
  });
  await page.setExtraHTTPHeaders({ "Accept-Language": languages });
  await page.evaluateOnNewDocument((list) => {
    Object.defineProperty(navigator, "languages", { get: () => list });
  }, languages.split(","));
  await page.setViewport(viewport);
  await beforeGoto?.(page);
  await page.goto(`${at}/`);
  await page.waitForSelector("body[data-ready=true]");
  page.closeContext = () => context.close();
  return page;
}

// Opens a menu of the menu bar by its caption and chooses an item.
export async function choose(page, caption, item) {
  const [button] = await page.$$(`xpath/.//nav//button[normalize-space()="${caption}"]`);
  await button.click();
  const [entry] = await page.$$(`xpath/.//*[@role="menuitem"][normalize-space()="${item}"]`);
  await entry.click();
  await page.waitForSelector(".dialog");
}

export async function pressButton(page, text) {
  const [button] = await page.$$(`xpath/.//section[contains(@class,"dialog")]//button[normalize-space()="${text}"]`);
  await button.click();
}

export const field = (id) => `#field-${id}`;

export async function values(page, ids) {
  return page.evaluate((list) => list.map((id) => document.getElementById(`field-${id}`).value), ids);
}

export async function focusedId(page) {
  return page.evaluate(() => document.activeElement?.id ?? "");
}

// The open message box: its text and its buttons' texts, once it is shown.
export async function message(page) {
  await page.waitForSelector("dialog#message[open]");
  return page.evaluate(() => ({
    role: document.getElementById("message").getAttribute("role"),
    text: document.getElementById("message-text").textContent,
    buttons: [...document.querySelectorAll("#message-buttons button")].map((b) => b.textContent),
  }));
}

export async function answer(page, text) {
  const [button] = await page.$$(`xpath/.//dialog[@id="message"]//button[normalize-space()="${text}"]`);
  await button.click();
  await page.waitForSelector("dialog#message:not([open])");
}
