// The web app in headless Chromium on this machine: from navigation to the
// first calculation possible (the page's "mirabo-ready" mark), median of
// ROUNDS, cold (a fresh browser context each time) and with the service
// worker warm (reloads in one context); the bytes a first visit transfers,
// compressed as served; and one calculation through the page (計算する to
// every field written). Targets: 100 kB, 150 ms cold, 60 ms warm. Beside
// them, the same cold measure for a bare page that runs one tiny script: what
// this browser on this machine takes before any page's own work.
//   node bench/web/bench.mjs [ROUNDS]
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { choose, openPage, origin, serve, startAll, stopAll } from "../../tests/web/harness.mjs";

const rounds = Number(process.argv[2] ?? 20);
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const readyAt = (page) => page.evaluate(() => performance.getEntriesByName("mirabo-ready")[0].startTime);

// Bytes on the wire for everything the page itself loads, and for what its
// service worker stores on the first visit.
async function firstVisitBytes(page) {
  const client = await page.createCDPSession();
  await client.send("Network.enable");
  let bytes = 0;
  client.on("Network.loadingFinished", (e) => (bytes += e.encodedDataLength));
  await client.send("Network.clearBrowserCache");
  return () => bytes;
}

// A page that is ready as soon as its one script runs.
function bareSite() {
  const folder = mkdtempSync(join(tmpdir(), "mirabo-bare-"));
  writeFileSync(
    join(folder, "index.html"),
    '<!doctype html><html lang="en"><head><meta charset="utf-8"><title>bare</title>' +
      '<script type="module" src="bare.js"></script></head><body><p>bare</p></body></html>',
  );
  writeFileSync(join(folder, "bare.js"), 'document.body.dataset.ready = "true"; performance.mark("mirabo-ready");\n');
  return folder;
}

await startAll();
const bareFolder = bareSite();
const bare = await serve(bareFolder);
try {
  const floor = [];
  for (let i = 0; i < rounds; ++i) {
    const page = await openPage(undefined, { at: bare.origin });
    floor.push(await readyAt(page));
    await page.closeContext();
  }
  const cold = [];
  let pageBytes = 0;
  for (let i = 0; i < rounds; ++i) {
    const page = await openPage(undefined, {
      beforeGoto: async (p) => {
        if (i === 0) pageBytes = await firstVisitBytes(p);
      },
    });
    cold.push(await readyAt(page));
    if (i === 0) {
      await page.evaluate(() => navigator.serviceWorker.ready);
      pageBytes = pageBytes();
    }
    await page.closeContext();
  }

  const page = await openPage();
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller) {
      await new Promise((r) => navigator.serviceWorker.addEventListener("controllerchange", r, { once: true }));
    }
  });
  const warm = [];
  for (let i = 0; i < rounds; ++i) {
    await page.reload();
    await page.waitForSelector("body[data-ready=true]");
    warm.push(await readyAt(page));
  }

  await choose(page, "関数", "直角三角形の計算");
  const calculation = await page.evaluate(() => {
    const set = (id, text) => (document.getElementById(`field-${id}`).value = text);
    const button = [...document.querySelectorAll(".dialog button")].find((b) => b.textContent === "計算する");
    const times = [];
    for (let i = 0; i < 1000; ++i) {
      set(1001, "3");
      set(1002, "4");
      for (const id of [1003, 1004, 1005]) set(id, "");
      const start = performance.now();
      button.click();
      times.push(performance.now() - start);
      if (document.getElementById("field-1005").value !== "36.870") throw new Error("not computed");
    }
    return times.reduce((a, b) => a + b) / times.length;
  });
  await page.closeContext();

  const ms = (x) => `${x.toFixed(1)} ms`;
  console.log(`site ${origin}, ${rounds} rounds`);
  console.log(`a bare page's script run, cold:    median ${ms(median(floor))}`);
  console.log(`first calculation possible, cold:  median ${ms(median(cold))} (target 150 ms)`);
  console.log(`first calculation possible, warm:  median ${ms(median(warm))} (target 60 ms)`);
  console.log(`first visit, page's own loads:     ${(pageBytes / 1000).toFixed(1)} kB (target 100 kB)`);
  console.log(`one calculation through the page:  ${(calculation * 1000).toFixed(0)} µs (mean of 1000)`);
} finally {
  bare.process.kill();
  rmSync(bareFolder, { recursive: true });
  await stopAll();
}
