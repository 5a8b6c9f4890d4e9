// The page: the handheld's screen with the program's menus and dialogs, built
// from the compiled resources (resources.json), with every check, message,
// focus move and number text coming from the calculators compiled to
// WebAssembly (mirabo.wasm). The page only shows what they decide.

import { loadCalculators } from "./calculators.js";
import { ask } from "./message.js";
import { chooseLanguage } from "./language.js";

const DEVICE_WIDTH = 320;
const DEVICE_HEIGHT = 240;
const STRIP_HEIGHT = 26;
const phone = window.matchMedia("(max-width: 599px)");

const $ = (id) => document.getElementById(id);
const state = { resources: null, lang: null, core: null, open: null };

function text(id) {
  return state.lang.strings[String(id)] ?? "";
}

// ---------------------------------------------------------------------------
// The screen's scale: the whole handheld screen fits the window; on a phone
// the screen is laid out for vertical scrolling instead.

function fitScreen() {
  const frame = $("frame");
  const screen = $("screen");
  document.body.classList.toggle("phone", phone.matches);
  if (phone.matches) {
    screen.style.transform = "";
    frame.style.width = frame.style.height = "";
    return;
  }
  const scale = Math.max(1, Math.min(window.innerWidth / DEVICE_WIDTH, window.innerHeight / DEVICE_HEIGHT));
  screen.style.transform = `scale(${scale})`;
  frame.style.width = `${DEVICE_WIDTH * scale}px`;
  frame.style.height = `${DEVICE_HEIGHT * scale}px`;
}

// ---------------------------------------------------------------------------
// Menu bar and pop-up menus.

function closeMenus() {
  for (const menu of document.querySelectorAll(".popup")) menu.remove();
  for (const b of document.querySelectorAll(".menu-button")) b.setAttribute("aria-expanded", "false");
}

function openMenu(button, items, focusFirst) {
  closeMenus();
  const menu = document.createElement("ul");
  menu.className = "popup";
  menu.setAttribute("role", "menu");
  menu.setAttribute("aria-label", button.textContent);
  for (const item of items) {
    const li = document.createElement("li");
    if (item.separator) {
      li.setAttribute("role", "separator");
      li.className = "separator";
    } else {
      li.setAttribute("role", "menuitem");
      li.tabIndex = -1;
      li.textContent = item.text;
      li.addEventListener("click", () => {
        closeMenus();
        runCommand(item.command);
      });
    }
    menu.append(li);
  }
  menu.addEventListener("keydown", (event) => menuKey(event, menu, button));
  button.setAttribute("aria-expanded", "true");
  button.after(menu);
  const left = button.offsetLeft;
  menu.style.left = `${left}px`;
  if (focusFirst) menu.querySelector("[role=menuitem]").focus();
}

function menuKey(event, menu, button) {
  const entries = [...menu.querySelectorAll("[role=menuitem]")];
  const at = entries.indexOf(document.activeElement);
  const buttons = [...document.querySelectorAll(".menu-button")];
  const b = buttons.indexOf(button);
  const go = { ArrowDown: 1, ArrowUp: -1 }[event.key];
  if (go) {
    entries[(at + go + entries.length) % entries.length].focus();
  } else if (event.key === "ArrowLeft" || event.key === "ArrowRight") {
    const next = buttons[(b + (event.key === "ArrowRight" ? 1 : -1) + buttons.length) % buttons.length];
    next.click();
    next.nextElementSibling?.querySelector("[role=menuitem]")?.focus();
  } else if (event.key === "Escape") {
    closeMenus();
    button.focus();
  } else if (event.key === "Enter" || event.key === " ") {
    document.activeElement.click();
  } else {
    return;
  }
  event.preventDefault();
}

function buildMenuBar() {
  const bar = $("menubar");
  bar.replaceChildren();
  bar.setAttribute("aria-label", text(state.core.title));
  const data = state.lang.menuBars[String(state.core.menu)];
  const popups = state.lang.menus[String(data.menu)];
  for (const b of data.buttons) {
    const button = document.createElement("button");
    button.type = "button";
    button.className = "menu-button";
    button.textContent = text(b.caption);
    button.setAttribute("aria-haspopup", "menu");
    button.setAttribute("aria-expanded", "false");
    button.addEventListener("click", (event) => {
      const wasOpen = button.getAttribute("aria-expanded") === "true";
      closeMenus();
      if (!wasOpen) openMenu(button, popups[b.popup].items, event.detail === 0);
    });
    button.addEventListener("keydown", (event) => {
      if (event.key === "ArrowUp" || event.key === "ArrowDown") {
        event.preventDefault();
        openMenu(button, popups[b.popup].items, true);
      }
    });
    bar.append(button);
  }
}

function runCommand(command) {
  const calculator = state.core.calculators.find((c) => c.command === command);
  if (calculator) {
    openDialog(calculator.template, calculator);
  } else if (command === state.core.about.command) {
    openDialog(state.core.about.template, null);
  } else if (command === state.core.exit && window.matchMedia("(display-mode: standalone)").matches) {
    // An installed app's window closes; a browser's tab is the user's to close.
    window.close();
  }
}

// ---------------------------------------------------------------------------
// Dialogs, laid out from their templates.

// Dialog units in device pixels: a quarter of the font's average letter width
// across, an eighth of its height down. The handheld's fonts have half-width
// letters.
function baseUnits(points) {
  const height = Math.round((points * 96) / 72);
  return { x: Math.round(height / 2) / 4, y: height / 8, font: height };
}

// The handheld's system font has half-width letters: the proportional font
// standing in for it is drawn smaller where the average of its 52 letters
// A to Z and a to z is wider than half the character height.
function systemFontSize(height) {
  const family = getComputedStyle(document.documentElement).getPropertyValue("--ui");
  const context = document.createElement("canvas").getContext("2d");
  const half = Math.round(height / 2);
  let size = height;
  for (; size > half; --size) {
    context.font = `${size}px ${family}`;
    const width = Math.round(context.measureText("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz").width);
    if (Math.floor((Math.floor(width / 26) + 1) / 2) <= half) break;
  }
  return size;
}

function place(element, item, units) {
  element.style.left = `${item.x * units.x}px`;
  element.style.top = `${item.y * units.y}px`;
  element.style.width = `${item.cx * units.x}px`;
  element.style.height = `${item.cy * units.y}px`;
}

function fieldId(id) {
  return `field-${id}`;
}

function buildDialog(template, calculator) {
  const data = state.lang.dialogs[String(template)];
  const units = baseUnits(data.points);
  const dialog = document.createElement("section");
  dialog.className = "dialog";
  dialog.setAttribute("role", "dialog");
  dialog.setAttribute("aria-labelledby", "caption");
  // The handheld's fixed-pitch Gothic, or its proportional system fonts.
  const system = data.font === "" || data.font.toLowerCase() === "system";
  dialog.style.fontSize = `${system ? systemFontSize(units.font) : units.font}px`;
  if (data.font !== "ＭＳ ゴシック") dialog.classList.add("proportional");
  const minus = calculator?.minus ?? false;
  const capacity = state.core.fieldCapacity - 1;
  for (const item of data.items) {
    let element;
    if (item.class === "edit") {
      const row = document.createElement("div");
      row.className = "row";
      const label = document.createElement("label");
      label.htmlFor = fieldId(item.id);
      label.textContent = item.label ?? "";
      const input = document.createElement("input");
      input.id = fieldId(item.id);
      input.type = "text";
      input.maxLength = capacity;
      input.autocomplete = "off";
      input.spellcheck = false;
      input.inputMode = minus ? "text" : "decimal";
      input.readOnly = item.readOnly;
      input.addEventListener("keydown", (event) => {
        if (event.key === "Enter" && !event.isComposing) {
          event.preventDefault();
          dialog.querySelector("button.default")?.click();
        }
      });
      const labelItem = data.items.find((other) => other.class === "static" && other.text === item.label);
      if (labelItem) {
        label.className = labelItem.align;
        place(label, labelItem, units);
      }
      place(input, item, units);
      row.append(label, input);
      element = row;
    } else if (item.class === "button") {
      element = document.createElement("button");
      element.type = "button";
      element.textContent = item.text;
      if (item.default) element.classList.add("default");
      element.addEventListener("click", () => dialogCommand(item.id));
      place(element, item, units);
    } else if (item.picture) {
      element = document.createElement("img");
      const picture = state.resources.pictures[String(item.resource)];
      // A picture that is no bitmap is the program's icon (the About box's).
      element.src = picture ? picture.file : "icons/64.png";
      element.alt = text(item.resource);
      element.className = picture ? "picture" : "picture icon";
      place(element, item, units);
      if (picture) {
        element.style.width = `${picture.width}px`;
        element.style.height = `${picture.height}px`;
      }
    } else if (data.items.some((other) => other.class === "edit" && other.label === item.text)) {
      continue;  // shown with its field
    } else {
      element = document.createElement("p");
      element.className = `static ${item.align}`;
      element.textContent = item.text;
      // Flowing down a phone's page, texts go in the order they stand.
      element.style.order = String(item.y + 1);
      place(element, item, units);
    }
    dialog.append(element);
  }
  return dialog;
}

function openDialog(template, calculator) {
  closeMenus();
  const data = state.lang.dialogs[String(template)];
  const dialog = buildDialog(template, calculator);
  state.open = { template, calculator, dialog, returnFocus: document.activeElement };
  $("work").replaceChildren(dialog);
  $("caption").textContent = data.caption;
  $("done").hidden = false;
  $("menubar").hidden = true;
  (dialog.querySelector("input:not([readonly]), button") ?? $("done")).focus();
}

function closeDialog() {
  state.open = null;
  showMain();
  document.querySelector(".menu-button")?.focus();
}

function showMain() {
  const line = document.createElement("p");
  line.className = "main-text";
  line.textContent = text(state.core.mainText);
  $("work").replaceChildren(line);
  $("caption").textContent = text(state.core.title);
  $("done").hidden = true;
  $("menubar").hidden = false;
  document.title = text(state.core.title);
}

async function dialogCommand(id) {
  const open = state.open;
  if (!open) return;
  if (id === state.core.back) {
    closeDialog();
  } else if (open.calculator && id === open.calculator.calculate) {
    await calculate(open);
  } else if (open.calculator && id === open.calculator.clear) {
    await actOut(open, state.calculators.clear(open.template), () => null);
  }
}

// The Done button: it ends the About box; a calculator does not answer it.
function donePressed() {
  if (state.open && !state.open.calculator) closeDialog();
}

function fieldsOf(open) {
  return open.calculator.fields.map((f) => ({ id: f.id, element: $(fieldId(f.id)) }));
}

// Runs the calculation and acts out what it did. A question stops the record
// until the user answers; the calculation then runs again with that answer,
// and the part already acted out is not repeated.
async function calculate(open) {
  const answers = [];
  let shown = 0;
  for (;;) {
    for (const f of fieldsOf(open)) state.calculators.setField(f.id, f.element.value);
    const record = state.calculators.calculate(open.template, answers);
    const next = await actOut(open, record, (event) => event.pending, shown);
    if (next === null) return;
    answers.push(await showMessage(open, record.events[next]));
    shown = next + 1;
  }
}

// Acts out the record's events from `from` on; stops at the first event for
// which `stop` is true and gives its index, else null.
async function actOut(open, record, stop, from = 0) {
  for (let i = from; i < record.events.length; ++i) {
    const event = record.events[i];
    if (state.open !== open) return null;
    if (stop(event)) return i;
    if ("field" in event) {
      $(fieldId(event.field)).value = event.text;
    } else if ("focus" in event) {
      $(fieldId(event.focus)).focus();
    } else if ("message" in event) {
      await showMessage(open, event);
    }
  }
  return null;
}

function showMessage(open, event) {
  const caption = state.lang.dialogs[String(open.template)].caption;
  const yesNo = event.buttons === state.core.buttonsYesNo;
  const buttons = yesNo
    ? [
        { text: text(state.core.buttonTexts.yes), answer: state.core.answerYes },
        { text: text(state.core.buttonTexts.no), answer: state.core.answerNo },
      ]
    : [{ text: text(state.core.buttonTexts.ok), answer: 1 }];
  // A Yes/No box has no Cancel: Esc does nothing there.
  return ask($("message"), caption, text(event.message), buttons, yesNo ? null : 1);
}

// ---------------------------------------------------------------------------
// Start.

function keyDown(event) {
  if (event.key === "Escape" && state.open && !$("message").open) {
    event.preventDefault();
    dialogCommand(state.core.back);
  }
}

function showLanguage() {
  buildMenuBar();
  document.documentElement.lang = state.lang.tag;
  if (state.open) {
    const { template, calculator } = state.open;
    openDialog(template, calculator);
  } else {
    showMain();
  }
}

async function start() {
  const [resources, calculators] = await Promise.all([
    fetch("resources.json").then((r) => r.json()),
    loadCalculators("mirabo.wasm"),
  ]);
  state.resources = resources;
  state.calculators = calculators;
  state.core = calculators.describe();
  state.lang = chooseLanguage(resources.languages, navigator.languages);
  const select = $("language");
  if (resources.languages.length > 1) {
    // Each language by its own name: 日本語, English.
    const nameOf = (tag) => new Intl.DisplayNames([tag], { type: "language" }).of(tag) ?? tag;
    for (const lang of resources.languages) select.append(new Option(nameOf(lang.tag), lang.tag));
    select.value = state.lang.tag;
    select.addEventListener("change", () => {
      state.lang = resources.languages.find((l) => l.tag === select.value);
      showLanguage();
    });
    $("languages").hidden = false;
  }
  $("done").addEventListener("click", donePressed);
  document.addEventListener("keydown", keyDown);
  document.addEventListener("click", (event) => {
    if (!event.target.closest(".menu-strip")) closeMenus();
  });
  phone.addEventListener("change", fitScreen);
  window.addEventListener("resize", fitScreen);
  fitScreen();
  showLanguage();
  document.body.dataset.ready = "true";
  performance.mark("mirabo-ready");
  if ("serviceWorker" in navigator) navigator.serviceWorker.register("sw.js");
}

start();
