// The program's message boxes as modal alert dialogs: the text, the buttons,
// and the answer of the button pressed (Esc gives the box's escape answer).

export function ask(dialog, caption, text, buttons, escapeAnswer) {
  return new Promise((resolve) => {
    dialog.querySelector(".message-caption").textContent = caption;
    dialog.querySelector(".message-text").textContent = text;
    const row = dialog.querySelector(".message-buttons");
    row.replaceChildren();
    const finish = (answer) => {
      dialog.removeEventListener("cancel", cancel);
      dialog.close();
      resolve(answer);
    };
    const cancel = (event) => {
      event.preventDefault();
      finish(escapeAnswer);
    };
    for (const b of buttons) {
      const button = document.createElement("button");
      button.type = "button";
      button.textContent = b.text;
      button.addEventListener("click", () => finish(b.answer));
      row.append(button);
    }
    dialog.addEventListener("cancel", cancel);
    dialog.showModal();
    row.firstElementChild.focus();
  });
}
