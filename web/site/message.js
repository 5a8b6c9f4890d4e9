// The program's message boxes as modal alert dialogs: the text, the buttons,
// and the answer of the button pressed. Esc gives the box's escape answer;
// a box without one (Yes/No, which has no Cancel) ignores Esc, as the
// desktop's does, and waits for a button.

export function ask(dialog, caption, text, buttons, escapeAnswer) {
  return new Promise((resolve) => {
    dialog.querySelector(".message-caption").textContent = caption;
    dialog.querySelector(".message-text").textContent = text;
    const row = dialog.querySelector(".message-buttons");
    row.replaceChildren();
    const finish = (answer) => {
      dialog.removeEventListener("cancel", cancel);
      dialog.removeEventListener("keydown", escape);
      dialog.close();
      resolve(answer);
    };
    const cancel = (event) => {
      event.preventDefault();
      if (escapeAnswer !== null) finish(escapeAnswer);
    };
    // Esc asks the browser to close the dialog; without an escape answer
    // the request is not made at all (a refused cancel event may not be
    // offered again for a second Esc).
    const escape = (event) => {
      if (event.key === "Escape" && escapeAnswer === null) event.preventDefault();
    };
    for (const b of buttons) {
      const button = document.createElement("button");
      button.type = "button";
      button.textContent = b.text;
      button.addEventListener("click", () => finish(b.answer));
      row.append(button);
    }
    dialog.addEventListener("cancel", cancel);
    dialog.addEventListener("keydown", escape);
    dialog.showModal();
    row.firstElementChild.focus();
  });
}
