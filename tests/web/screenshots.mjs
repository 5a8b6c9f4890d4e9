// Pictures of the web app for the README, taken in headless Chromium: the
// right triangle after its first example at desktop size (desktop.png) and
// on a phone, the whole page (phone.png).
//   MIRABO_WEB_SITE=SITE node tests/web/screenshots.mjs FOLDER
import { PHONE, choose, openPage, pressButton, startAll, stopAll } from "./harness.mjs";

const folder = process.argv[2];
if (!folder) {
  console.error("usage: node tests/web/screenshots.mjs FOLDER");
  process.exit(64);
}
const SHOTS = [
  { file: "desktop.png", viewport: { width: 960, height: 720 }, fullPage: false },
  { file: "phone.png", viewport: { ...PHONE, deviceScaleFactor: 1 }, fullPage: true },
];

await startAll();
try {
  for (const { file, viewport, fullPage } of SHOTS) {
    const page = await openPage(viewport);
    await choose(page, "関数", "直角三角形の計算");
    await page.type("#field-1001", "3");
    await page.type("#field-1002", "4");
    await pressButton(page, "計算する");
    await page.waitForFunction(() => [...document.images].every((i) => i.complete));
    await page.screenshot({ path: `${folder}/${file}`, fullPage });
    await page.closeContext();
  }
} finally {
  await stopAll();
}
