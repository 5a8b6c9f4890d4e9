// The web app in headless Chromium: each calculator through the page as a
// user types, at desktop size and on a phone, offline, and under axe-core.
import assert from "node:assert/strict";
import { after, afterEach, before, describe, test } from "node:test";
import {
  DESKTOP,
  PHONE,
  answer,
  axeSource,
  choose,
  field,
  focusedId,
  message,
  openPage,
  pressButton,
  startAll,
  stopAll,
  values,
} from "./harness.mjs";

const MISSING = "入力値が不足、\n或いはタイプミス";
const NEGATIVE = "入力値が不足、或いはタイプミス\n負の値は使用できません。";
const QUESTION = "正常に表示出来ません。\n引数及び結果が無限値、非数、\n計算不可値である可能性があります 。\n無視して表示しますか";

// Each calculator: where it is in the menus (in Japanese and in English), its
// fields in field order, and its first example typed into them.
// prettier-ignore
const CALCULATORS = {
  right:   { menu: ["関数", "直角三角形の計算"], english: ["Functions", "Right Triangle"],
             fields: [1001, 1002, 1003, 1004, 1005], missing: MISSING },
  oblique: { menu: ["関数", "非直角三角形の計算"], english: ["Functions", "Oblique Triangle"],
             fields: [1001, 1002, 1003, 1006, 1007, 1008], missing: NEGATIVE },
  rotate:  { menu: ["関数", "座標移動の計算"], english: ["Functions", "Coordinate Rotation"],
             fields: [1001, 1002, 1003, 1006, 1007], missing: MISSING },
  ohm:     { menu: ["計算", "オームの法則の計算"], english: ["Calculations", "Ohm's Law"],
             fields: [1001, 1002, 1003, 1004], missing: MISSING },
};

// What is typed (by field, in order) and what every field shows after
// 計算する, as mirabo-calc gives it.
// prettier-ignore
const EXAMPLES = [
  { form: "right",   typed: { 1001: "3", 1002: "4" },               shown: ["3.000", "4.000", "5.000", "53.130", "36.870"] },
  { form: "right",   typed: { 1001: "３", 1002: "４" },              shown: ["3.000", "4.000", "5.000", "53.130", "36.870"] },
  { form: "oblique", typed: { 1001: "7", 1002: "8", 1003: "9" },    shown: ["7.000", "8.000", "9.000", "58.412", "48.190", "73.398"] },
  { form: "rotate",  typed: { 1001: "3", 1002: "4", 1003: "30" },   shown: ["3", "4", "+30.000", "+0.598", "+4.964"] },
  { form: "rotate",  typed: { 1001: "－1", 1002: "-2", 1003: "−30" }, shown: ["－1", "-2", "-30.000", "-1.866", "-1.232"] },
  { form: "ohm",     typed: { 1001: "10", 1002: "2" },              shown: ["10.000", "2.000", "5.000", "20.000"] },
  { form: "ohm",     typed: { 1001: "１０．０", 1002: "２" },          shown: ["10.000", "2.000", "5.000", "20.000"] },
];

let page;
before(startAll);
after(stopAll);
afterEach(async () => {
  if (!page) return;
  const problems = page.problems;
  await page.closeContext();
  page = null;
  assert.deepEqual(problems, [], "no console errors or warnings, failed loads or other hosts");
});

async function open(form, viewport = DESKTOP) {
  page = await openPage(viewport);
  await choose(page, ...CALCULATORS[form].menu);
  return CALCULATORS[form];
}

async function typeAll(typed) {
  for (const [id, text] of Object.entries(typed)) await page.type(field(id), text);
}

describe("each calculator's examples, typed and computed", () => {
  for (const { form, typed, shown } of EXAMPLES) {
    test(`${form} ${Object.values(typed).join(" ")}`, async () => {
      const { fields } = await open(form);
      await typeAll(typed);
      await pressButton(page, "計算する");
      assert.deepEqual(await values(page, fields), shown);
    });
  }
});

describe("missing input: the message, then the focus on the first field", () => {
  for (const [form, { missing }] of Object.entries(CALCULATORS)) {
    test(form, async () => {
      await open(form);
      await page.focus(field(1003));
      await pressButton(page, "計算する");
      assert.deepEqual(await message(page), { role: "alertdialog", text: missing, buttons: ["OK"] });
      await answer(page, "OK");
      assert.equal(await focusedId(page), "field-1001");
    });
  }
});

describe("クリア empties every field and focuses the first; 戻る and Esc go back to the menus", () => {
  for (const [form, example] of [
    ["right", EXAMPLES[0]],
    ["rotate", EXAMPLES[3]],
  ]) {
    test(`${form} クリア`, async () => {
      const { fields } = await open(form);
      await typeAll(example.typed);
      await pressButton(page, "計算する");
      await pressButton(page, "クリア");
      assert.deepEqual(await values(page, fields), fields.map(() => ""));
      assert.equal(await focusedId(page), "field-1001");
    });
  }
  // prettier-ignore
  const LEAVING = [
    { name: "戻る",             menu: CALCULATORS.ohm.menu,          leave: () => pressButton(page, "戻る") },
    { name: "Esc",              menu: CALCULATORS.ohm.menu,          leave: () => page.keyboard.press("Escape") },
    { name: "the About box OK", menu: ["バージョン", "バージョン情報"], leave: () => page.click("#done") },
  ];
  for (const { name, menu, leave } of LEAVING) {
    test(name, async () => {
      page = await openPage();
      await choose(page, ...menu);
      await leave();
      assert.equal(await page.$(".dialog"), null);
      assert.equal(await page.$eval("#caption", (e) => e.textContent), "Mirabo for PocketPC");
      assert.equal(await page.$eval(".main-text", (e) => e.textContent), "Mirabo for PocketPC with TAVORN");
    });
  }
  test("終了 in a browser's tab leaves the tab to the user", async () => {
    page = await openPage();
    await page.click("nav button");
    const [exit] = await page.$$(`xpath/.//*[@role="menuitem"][normalize-space()="終了"]`);
    await exit.click();
    assert.equal(await page.$(".popup"), null);
    assert.equal(await page.$eval("#caption", (e) => e.textContent), "Mirabo for PocketPC");
  });
});

describe("whatever is typed, the calculator's own message", () => {
  // prettier-ignore
  const ODD = [
    { form: "right",  typed: { 1001: "😀", 1002: "4" },     text: MISSING },
    { form: "ohm",    typed: { 1001: "1e3", 1002: "2" },    text: MISSING },
    { form: "rotate", typed: { 1001: "1,5", 1002: "2", 1003: "3" }, text: MISSING },
  ];
  for (const { form, typed, text } of ODD) {
    test(`${form} ${Object.values(typed).join(" ")}`, async () => {
      const { fields } = await open(form);
      await typeAll(typed);
      await pressButton(page, "計算する");
      assert.equal((await message(page)).text, text);
      await answer(page, "OK");
      assert.deepEqual(await values(page, fields.slice(0, 2)), Object.values(typed).slice(0, 2));
    });
  }
});

describe("the language: Japanese for Japanese, English for any other, with a switch between them", () => {
  const JAPANESE = { lang: "ja", menus: ["関数", "計算", "バージョン"], switchShown: true };
  const ENGLISH = { lang: "en", menus: ["Functions", "Calculations", "Version"], switchShown: true };
  for (const [languages, expected] of [["ja-JP,ja", JAPANESE], ["en-US,en", ENGLISH], ["fr-FR", ENGLISH]]) {
    test(languages, async () => {
      page = await openPage(DESKTOP, { languages });
      const shown = await page.evaluate(() => ({
        lang: document.documentElement.lang,
        menus: [...document.querySelectorAll("#menubar button")].map((b) => b.textContent),
        switchShown: !document.getElementById("languages").hidden,
      }));
      assert.deepEqual(shown, expected);
    });
  }
});

describe("the question about values that are not finite", () => {
  // prettier-ignore
  // Keys pressed first: a Yes/No box has no Cancel, so Esc answers nothing.
  const ANSWERS = [
    { reply: "はい",   keys: [],                   shown: ["1.000", "0.000", "∞", "0.000"] },
    { reply: "いいえ", keys: [],                   shown: ["1", "0", "", ""] },
    { reply: "はい",   keys: ["Escape", "Escape"], shown: ["1.000", "0.000", "∞", "0.000"] },
  ];
  for (const { reply, keys, shown } of ANSWERS) {
    test(`answered ${[...keys, reply].join(", ")}`, async () => {
      const { fields } = await open("ohm");
      await typeAll({ 1001: "1", 1002: "0" });
      await pressButton(page, "計算する");
      assert.deepEqual(await message(page), { role: "alertdialog", text: QUESTION, buttons: ["はい", "いいえ"] });
      for (const key of keys) await page.keyboard.press(key);
      assert.equal(await page.$eval("#message", (d) => d.matches(":modal")), true);
      await answer(page, reply);
      assert.deepEqual(await values(page, fields), shown);
    });
  }
});

describe("Enter presses 計算する where the dialog has it as its default button", () => {
  // prettier-ignore
  const ENTER = [
    { form: "right",  typed: { 1001: "3", 1002: "4" },             field: 1003, shown: "5.000" },
    { form: "ohm",    typed: { 1001: "10", 1002: "2" },            field: 1003, shown: "5.000" },
    { form: "rotate", typed: { 1001: "3", 1002: "4", 1003: "30" }, field: 1006, shown: "" },
  ];
  for (const { form, typed, field: id, shown } of ENTER) {
    test(form, async () => {
      await open(form);
      await typeAll(typed);
      await page.keyboard.press("Enter");
      assert.deepEqual(await values(page, [id]), [shown]);
      assert.equal(await page.$("dialog#message[open]"), null);
    });
  }
});

describe("a field takes 99 characters, typed or pasted", () => {
  // Counted in UTF-16 units: a character beyond U+FFFF takes two, and one
  // that would cross the limit is left out whole.
  const EMOJI = "\u{1F600}";
  // prettier-ignore
  const LIMITS = [
    { how: "typed",  text: "1".repeat(120),               kept: "1".repeat(99) },
    { how: "pasted", text: "1".repeat(120),               kept: "1".repeat(99) },
    { how: "typed",  text: "1".repeat(98) + EMOJI,        kept: "1".repeat(98) },
    { how: "pasted", text: "1".repeat(98) + EMOJI,        kept: "1".repeat(98) },
    { how: "pasted", text: "1".repeat(97) + EMOJI + "1",  kept: "1".repeat(97) + EMOJI },
  ];
  for (const { how, text, kept } of LIMITS) {
    test(`${how} ${text.length} units, ${kept.length} kept`, async () => {
      await open("right");
      await page.focus(field(1001));
      if (how === "typed") await page.keyboard.type(text);
      else await page.keyboard.sendCharacter(text);
      assert.equal((await values(page, [1001]))[0], kept);
    });
  }
});

describe("works offline once visited", () => {
  test("installable, by the program's name", async () => {
    page = await openPage();
    await page.evaluate(() => navigator.serviceWorker.ready);
    const client = await page.createCDPSession();
    const { installabilityErrors } = await client.send("Page.getInstallabilityErrors");
    // Each test's context is a private one, where nothing is installed.
    const errors = installabilityErrors.map((e) => e.errorId).filter((id) => id !== "in-incognito");
    assert.deepEqual(errors, []);
    const { data } = await client.send("Page.getAppManifest");
    assert.equal(JSON.parse(data).name, "Mirabo 工学計算機");
  });

  test("reload with the network off", async () => {
    page = await openPage();
    await page.evaluate(async () => {
      await navigator.serviceWorker.ready;
      if (!navigator.serviceWorker.controller) {
        await new Promise((r) => navigator.serviceWorker.addEventListener("controllerchange", r, { once: true }));
      }
    });
    await page.setOfflineMode(true);
    await page.reload();
    await page.waitForSelector("body[data-ready=true]");
    await choose(page, ...CALCULATORS.right.menu);
    await typeAll(EXAMPLES[0].typed);
    await pressButton(page, "計算する");
    assert.deepEqual(await values(page, CALCULATORS.right.fields), EXAMPLES[0].shown);
  });
});

// Every control's box on the page, for the layout checks.
async function controlBoxes() {
  return page.evaluate(() =>
    [...document.querySelectorAll("input, button, select, [role=menuitem]")]
      .filter((e) => e.checkVisibility())
      .map((e) => {
        const r = e.getBoundingClientRect();
        const name = e.id || e.textContent || e.getAttribute("aria-label");
        return { name, left: r.left, top: r.top + scrollY, right: r.right, bottom: r.bottom + scrollY };
      }),
  );
}

function overlapping(boxes) {
  const pairs = [];
  for (let i = 0; i < boxes.length; ++i) {
    for (let j = i + 1; j < boxes.length; ++j) {
      const [a, b] = [boxes[i], boxes[j]];
      if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) pairs.push([a.name, b.name]);
    }
  }
  return pairs;
}

describe("on a phone (360 x 640)", () => {
  for (const form of Object.keys(CALCULATORS)) {
    test(form, async () => {
      await open(form, PHONE);
      await page.waitForFunction(() => [...document.images].every((i) => i.complete));
      const layout = await page.evaluate(() => ({
        scrollWidth: document.documentElement.scrollWidth,
        width: document.documentElement.clientWidth,
        pictures: [...document.querySelectorAll(".dialog img")].map((i) => i.complete && i.naturalWidth > 0),
        inputModes: [...document.querySelectorAll(".dialog input")].map((i) => i.inputMode),
        aligns: [...document.querySelectorAll(".dialog label")].map((l) => getComputedStyle(l).textAlign),
      }));
      assert.ok(layout.scrollWidth <= layout.width, `no horizontal scrolling: ${layout.scrollWidth} > ${layout.width}`);
      assert.ok(layout.pictures.every(Boolean));
      assert.ok(layout.inputModes.every((m) => m === (form === "rotate" ? "text" : "decimal")));
      assert.ok(layout.aligns.every((a) => a === "left"), `labels before their fields: ${layout.aligns}`);
      const boxes = await controlBoxes();
      const small = boxes.filter((b) => b.bottom - b.top < 44).map((b) => b.name);
      assert.deepEqual(small, [], "every control at least 44 pixels high");
      assert.deepEqual(overlapping(boxes), [], "no controls overlapping");
      assert.ok(boxes.every((b) => b.left >= 0 && b.right <= layout.width), "every control within the width");
    });
  }
  test("the menu", async () => {
    page = await openPage(PHONE);
    await page.click("nav button");
    const boxes = await controlBoxes();
    assert.deepEqual(boxes.filter((b) => b.bottom - b.top < 44).map((b) => b.name), []);
    assert.deepEqual(boxes.filter((b) => b.name.includes("の計算")).length, 3);
  });
});

describe("the handheld's screen at desktop size", () => {
  test("title strip on top, menu bar along the bottom, scaled to fit", async () => {
    page = await openPage(DESKTOP);
    const layout = await page.evaluate(() => {
      const box = (s) => document.querySelector(s).getBoundingClientRect().toJSON();
      return {
        screen: box("#screen"),
        title: box(".title-strip"),
        bar: box("#menubar"),
        buttons: [...document.querySelectorAll("#menubar button")].map((b) => b.textContent),
      };
    });
    assert.deepEqual(layout.buttons, ["関数", "計算", "バージョン"]);
    assert.equal(Math.round(layout.screen.height), 800);
    assert.equal(Math.round(layout.screen.width), Math.round((800 * 320) / 240));
    assert.equal(Math.round(layout.title.top), Math.round(layout.screen.top));
    assert.equal(Math.round(layout.bar.bottom), Math.round(layout.screen.bottom));
  });
  for (const [form, { menu, english }] of Object.entries(CALCULATORS)) {
    for (const [languages, path] of [["ja-JP,ja", menu], ["en-US,en", english]]) {
      test(`every text inside its control: ${form}, ${languages}`, async () => {
        page = await openPage(DESKTOP, { languages });
        await choose(page, ...path);
        const cut = await page.evaluate(() =>
          [...document.querySelectorAll(".dialog button, .dialog label, .dialog .static")]
            .filter((e) => {
              const text = document.createRange();
              text.selectNodeContents(e);
              // Inside the border, as the scaled screen draws it.
              const [ink, box] = [text.getBoundingClientRect(), e.getBoundingClientRect()];
              const scale = box.width / e.offsetWidth;
              const left = box.left + e.clientLeft * scale;
              return ink.left < left || ink.right > left + e.clientWidth * scale;
            })
            .map((e) => e.textContent),
        );
        assert.deepEqual(cut, []);
      });
    }
  }
  test("a label aligned as its template says", async () => {
    await open("rotate");
    const aligns = await page.evaluate(() =>
      [...document.querySelectorAll(".dialog label")].map((l) => getComputedStyle(l).textAlign),
    );
    assert.deepEqual(aligns, ["center", "start", "start", "start", "start"]);
  });
});

describe("axe-core finds no violations", () => {
  // prettier-ignore
  const VIEWS = [
    { name: "main screen",                  viewport: DESKTOP, show: async () => {} },
    { name: "menu open",                    viewport: DESKTOP, show: async () => page.click("nav button") },
    { name: "about box",                    viewport: DESKTOP, show: async () => choose(page, "バージョン", "バージョン情報") },
    ...Object.keys(CALCULATORS).map((form) => (
      { name: form,                         viewport: DESKTOP, show: async () => choose(page, ...CALCULATORS[form].menu) })),
    { name: "missing-input message",        viewport: DESKTOP, show: async () => {
        await choose(page, ...CALCULATORS.right.menu);
        await pressButton(page, "計算する");
        await message(page);
      } },
    { name: "right triangle on a phone",    viewport: PHONE,   show: async () => choose(page, ...CALCULATORS.right.menu) },
  ];
  for (const { name, viewport, show } of VIEWS) {
    test(name, async () => {
      page = await openPage(viewport);
      await show();
      await page.evaluate(axeSource);
      const violations = await page.evaluate(async () => {
        const result = await window.axe.run(document);
        return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
      });
      assert.deepEqual(violations, []);
    });
  }
});
