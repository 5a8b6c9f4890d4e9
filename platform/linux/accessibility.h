// What screen readers are told about the handheld's windows, through Qt's
// accessibility (which Qt hands on to the desktop's accessibility bus), in the
// platform's terms: the desktop window is a frame named with the main
// window's title, a dialog is a dialog named with its caption, a message box
// an alert, a static control a label or, for a picture, an image named with
// what it shows; an edit field is named after the label beside it, which
// labels it; a program window is described by the lines it paints; a push
// button is "default" while it is the default one. Everything else (pop-up
// menus, their items) Qt describes itself.
#pragma once

#include <QString>

#include <vector>

#include "platform/linux/dialog_template.h"

class QWidget;

namespace mirabo::platform {

// What a window's widget is, for screen readers.
enum class AccessibleKind {
    Desktop,        // the desktop window showing the handheld's screen
    ProgramWindow,  // a window made with CreateWindowExW
    Dialog,
    MessageBox,
    MenuBar,
};

// Puts our descriptions in place (once; a QApplication must exist).
void InstallAccessibility();

// Marks a window's widget as what it is; it is named with its window's text
// (the desktop window with its title). Mark a widget before it is shown.
void MarkAccessible(QWidget* widget, AccessibleKind kind);

// Names each edit field of a dialog after its label, chosen by position:
// `widgets[i]` is the control made from `items[i]`.
void NameFieldsAfterLabels(const std::vector<DialogItemTemplate>& items,
                           const std::vector<QWidget*>& widgets);

// What picture `resource` (a bitmap or icon group) shows, in words: the
// program's string of the same number, or an empty text.
QString PictureDescription(WORD resource);

// What a program window painted in words, the lines it drew with DrawTextW:
// its description for screen readers.
void SetPaintedText(QWidget* widget, const QString& text);

// Tells screen readers that the widget's name has changed, or that a message
// box has come up (the platform's alert event).
void NotifyNameChanged(QWidget* widget);
void NotifyAlert(QWidget* box);

}  // namespace mirabo::platform
