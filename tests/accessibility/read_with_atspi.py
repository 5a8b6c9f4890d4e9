#!/usr/bin/python3
"""Mirabo as a screen reader meets it: the program runs on an X display with
the desktop's accessibility bus, and everything below is read and done
through that bus (AT-SPI) alone, except the typing, which goes through the
X keyboard. It reads the main window's description (the line it paints)
and the menu bar's name, opens the right triangle from the 関数 (Functions)
menu, reads the dialog, its five fields, their labels and its picture, the
default button and what the title strip's OK controls, types 3 Tab 4, presses
計算する (Calculate) and reads the results and the text-change and focus
events, empties the form with クリア (Clear), reads the message box that
計算する then brings up, reads the coordinate rotation's read-only (and not
editable) result fields, and ends the program with 終了 (Exit).

    read_with_atspi.py PROGRAM ja|en

The program runs with the environment as it is, whose locale must choose
the language named (LANG=ja_JP.UTF-8 or LANG=en_US.UTF-8); every name is
expected in that language. Needs DISPLAY and a session bus
(dbus-run-session). Prints the tree of the dialog after the calculation;
exits 0 when everything matched, 1 otherwise.
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TITLE = "Mirabo for PocketPC"

# The right triangle's fields in tab order: the name each is read with and
# its text after 3 Tab 4 and Calculate; the same in every language.
FIELDS = [
    ("a", "3.000"),
    ("b", "4.000"),
    ("c", "5.000"),
    ("α", "53.130"),
    ("β", "36.870"),
]

# Which of the coordinate rotation's fields only the program writes into:
# those are read-only, and only the others editable.
ROTATION_READ_ONLY = [False, False, False, True, True]

# The line the main window paints, its description; the same in every language.
MAIN_TEXT = "Mirabo for PocketPC with TAVORN"

# What is read in each language (res/mirabo.rc), Japanese and English: the
# first menu-bar button, its items used here, the dialogs' captions, buttons
# and picture, the message for missing input and its button, and the
# coordinate rotation's field names.
TEXTS = {
    "functions": ("関数", "Functions"),
    "right_item": ("直角三角形の計算", "Right Triangle"),
    "dialog": ("直角三角関数の計算", "Right Triangle"),
    "calculate": ("計算する", "Calculate"),
    "clear": ("クリア", "Clear"),
    "back": ("戻る", "Back"),
    "picture": ("直角三角形の図：底辺 a、右の縦の辺 b、斜辺 c。a と c の間の角が α、"
                "c と b の間の角が β、a と b の間が直角",
                "Right triangle diagram: base a, right vertical side b, hypotenuse c. "
                "Angle α between a and c, angle β between c and b, a right angle between a and b"),
    "missing_input": ("入力値が不足、\n或いはタイプミス", "Missing input\nor a typing error."),
    "ok": ("OK", "OK"),
    "rotation_item": ("座標移動の計算", "Coordinate Rotation"),
    "rotation": ("座標移動の計算", "Coordinate Rotation"),
    "rotation_fields": (["移動するXの値", "移動するYの値", "移動する角度", "移動後のXの値", "移動後のYの値"],
                        ["Point X", "Point Y", "Angle", "Rotated X", "Rotated Y"]),
    "exit": ("終了", "Exit"),
}
LANGUAGES = {"ja": 0, "en": 1}
TEXT = {}  # the texts in the language of this run, set by main


def others():
    """What the dialog holds besides the fields: role and name, in template order."""
    buttons = [(pyatspi.ROLE_PUSH_BUTTON, TEXT[key]) for key in ("calculate", "clear", "back")]
    labels = [(pyatspi.ROLE_LABEL, name) for name, _ in FIELDS]
    return buttons + labels + [(pyatspi.ROLE_IMAGE, TEXT["picture"])]  # the picture named with what it shows

passed = []
failures = []


def check(condition, message):
    (passed if condition else failures).append(message)
    if not condition:
        print("FAIL:", message)
    return condition


def pump(seconds):
    """Lets the bus deliver its events for a while."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(what, find, timeout=10.0):
    deadline = time.monotonic() + timeout
    while True:
        try:
            found = find()
        except Exception:  # an object that went away while we looked
            found = None
        if found:
            return found
        if time.monotonic() > deadline:
            raise SystemExit("FAIL: timed out waiting for " + what)
        pump(0.1)


def children(accessible):
    for i in range(accessible.childCount):
        child = accessible.getChildAtIndex(i)
        if child is not None:
            yield child


def descendants(accessible):
    for child in children(accessible):
        yield child
        yield from descendants(child)


def first(root, role, test=lambda accessible: True):
    """The first object of the role below root that passes the test, or None."""
    return next((a for a in descendants(root) if a.getRole() == role and test(a)), None)


def find(root, role, name):
    return first(root, role, lambda accessible: accessible.name == name)


def related(accessible, relation):
    """The names of the objects in that relation to the accessible object."""
    return [rel.getTarget(i).name
            for rel in accessible.getRelationSet() if rel.getRelationType() == relation
            for i in range(rel.getNTargets())]


def showing(accessible):
    return accessible is not None and accessible.getState().contains(pyatspi.STATE_SHOWING)


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def press(accessible):
    action = accessible.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    index = names.index("press") if "press" in names else 0
    action.doAction(index)


def listen(kind, note):
    """Notes the events of a kind; events of objects already gone are dropped."""
    def noted(event):
        try:
            note(event)
        except GLib.Error:
            pass
    pyatspi.Registry.registerEventListener(noted, kind)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def dump(accessible, depth=0):
    line = "  " * depth + "%s %r" % (accessible.getRoleName(), accessible.name)
    if accessible.getRole() == pyatspi.ROLE_TEXT:
        line += " = %r" % text_of(accessible)
        if accessible.getState().contains(pyatspi.STATE_READ_ONLY):
            line += " (read-only)"
    print(line)
    for child in children(accessible):
        dump(child, depth + 1)


def open_dialog(app, frame, item, caption):
    """Chooses the item of the first menu and waits for its dialog."""
    functions = TEXT["functions"]
    press(wait_for("the %s button" % functions, lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, functions)))
    press(wait_for("the item " + item, lambda: find(app, pyatspi.ROLE_MENU_ITEM, item)))
    return wait_for("the dialog " + caption,
                    lambda: first(frame, pyatspi.ROLE_DIALOG, lambda d: d.name == caption and showing(d)))


def main(program, language):
    TEXT.update((key, texts[LANGUAGES[language]]) for key, texts in TEXTS.items())
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    process = subprocess.Popen([program], env=env)
    try:
        run(process)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
            check(False, "the program was still running at the end")
    check(process.returncode == 0, "the program ended with exit code %s" % process.returncode)
    print("%d passed, %d failed" % (len(passed), len(failures)))
    return 1 if failures else 0


def run(process):
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for("the program on the bus", lambda: next(
        (a for a in children(desktop) if a.name == os.path.basename(sys.argv[1])), None))
    frame = wait_for("the desktop window", lambda: find(app, pyatspi.ROLE_FRAME, TITLE))
    print("application %r, frame %r" % (app.name, frame.name))
    main_window = wait_for("the main window", lambda: find(frame, pyatspi.ROLE_FILLER, TITLE))
    check(main_window.description == MAIN_TEXT, "the main window described as %r" % main_window.description)
    bar = wait_for("the menu bar", lambda: first(frame, pyatspi.ROLE_MENU_BAR))
    check(bar.name == TITLE and bar.parent.name == TITLE,
          "the menu bar %r in the strip %r" % (bar.name, bar.parent.name))

    dialog = open_dialog(app, frame, TEXT["right_item"], TEXT["dialog"])

    fields = [a for a in descendants(dialog) if a.getRole() == pyatspi.ROLE_TEXT]
    check([f.name for f in fields] == [name for name, _ in FIELDS],
          "field names %r" % [f.name for f in fields])
    check(all(text_of(f) == "" for f in fields), "fields start empty")
    read = [(a.getRole(), a.name) for a in children(dialog) if a.getRole() != pyatspi.ROLE_TEXT]
    check(read == others(), "the dialog's other controls %r" % read)
    wait_for("the focus in field a", lambda: fields[0].getState().contains(pyatspi.STATE_FOCUSED))
    check(find(dialog, pyatspi.ROLE_PUSH_BUTTON, TEXT["calculate"]).getState().contains(pyatspi.STATE_IS_DEFAULT)
          and not find(dialog, pyatspi.ROLE_PUSH_BUTTON, TEXT["clear"]).getState().contains(pyatspi.STATE_IS_DEFAULT),
          "%s, and it alone, is the default button" % TEXT["calculate"])
    for field in fields:
        label = find(dialog, pyatspi.ROLE_LABEL, field.name)
        check(related(field, pyatspi.RELATION_LABELLED_BY) == [field.name] and label is not None and
              related(label, pyatspi.RELATION_LABEL_FOR) == [field.name],
              "field %s and its label labelled by and label for each other" % field.name)
    ok = first(frame, pyatspi.ROLE_PUSH_BUTTON, lambda a: a.name == TEXT["ok"] and showing(a))
    check(ok is not None and related(ok, pyatspi.RELATION_CONTROLLER_FOR) == [TEXT["dialog"]],
          "the title strip's OK controls %r" % (related(ok, pyatspi.RELATION_CONTROLLER_FOR) if ok else None))

    changes = []
    listen("object:text-changed", lambda event: changes.append((event.type, event.source.name, event.any_data)))
    focus = []
    listen("object:state-changed:focused",
           lambda event: focus.append((event.source.getRole(), event.source.name, event.detail1)))

    xdotool("type", "3")
    xdotool("key", "Tab")
    xdotool("type", "4")
    wait_for("3 and 4 in fields a and b", lambda: text_of(fields[0]) == "3" and text_of(fields[1]) == "4")
    pump(0.3)
    check((pyatspi.ROLE_TEXT, "b", 1) in focus, "Tab announced field b taking the focus: %r" % focus)
    press(find(dialog, pyatspi.ROLE_PUSH_BUTTON, TEXT["calculate"]))
    wait_for("the results", lambda: text_of(fields[4]) != "")
    pump(0.5)
    for field, (name, value) in zip(fields, FIELDS):
        check(text_of(field) == value, "field %s reads %r, not %r" % (name, text_of(field), value))
        check(("object:text-changed:insert", name, value) in changes,
              "no text-change event gave field %s its %r" % (name, value))
    print("after 3 Tab 4 and %s:" % TEXT["calculate"])
    dump(dialog)

    changes.clear()
    press(find(dialog, pyatspi.ROLE_PUSH_BUTTON, TEXT["clear"]))
    wait_for("the fields emptied", lambda: all(text_of(f) == "" for f in fields))
    pump(0.5)
    for field, (name, value) in zip(fields, FIELDS):
        check(("object:text-changed:delete", name, value) in changes,
              "no text-change event took %r out of field %s" % (value, name))
    check((pyatspi.ROLE_TEXT, "a", 1) in focus[-3:], "%s announced field a taking the focus" % TEXT["clear"])

    press(find(dialog, pyatspi.ROLE_PUSH_BUTTON, TEXT["calculate"]))
    alert = wait_for("the message box", lambda: first(frame, pyatspi.ROLE_ALERT, showing))
    print("message box:")
    dump(alert)
    check([a.name for a in children(alert) if a.getRole() == pyatspi.ROLE_LABEL] == [TEXT["missing_input"]],
          "the message box's text")
    ok = find(alert, pyatspi.ROLE_PUSH_BUTTON, TEXT["ok"])
    check(ok is not None and ok.getState().contains(pyatspi.STATE_FOCUSED), "its OK button has the focus")
    press(ok)
    wait_for("the message box to go", lambda: not showing(alert))

    press(find(dialog, pyatspi.ROLE_PUSH_BUTTON, TEXT["back"]))
    wait_for("the dialog to close", lambda: not showing(dialog))

    rotation = open_dialog(app, frame, TEXT["rotation_item"], TEXT["rotation"])
    fields = [(a.name, a.getState().contains(pyatspi.STATE_READ_ONLY), a.getState().contains(pyatspi.STATE_EDITABLE))
              for a in descendants(rotation) if a.getRole() == pyatspi.ROLE_TEXT]
    expected = [(name, read_only, not read_only) for name, read_only in zip(TEXT["rotation_fields"], ROTATION_READ_ONLY)]
    check(fields == expected, "the coordinate rotation's fields (name, read-only, editable) %r" % fields)
    press(find(rotation, pyatspi.ROLE_PUSH_BUTTON, TEXT["back"]))
    wait_for("the dialog to close", lambda: not showing(rotation))

    press(find(frame, pyatspi.ROLE_PUSH_BUTTON, TEXT["functions"]))
    press(wait_for("the %s item" % TEXT["exit"], lambda: find(app, pyatspi.ROLE_MENU_ITEM, TEXT["exit"])))
    process.wait(timeout=10)


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[2] not in LANGUAGES:
        sys.exit("usage: read_with_atspi.py PROGRAM ja|en")
    sys.exit(main(sys.argv[1], sys.argv[2]))
