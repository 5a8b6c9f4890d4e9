// Reading the program as a screen reader does, in a test: Qt's accessibility
// switched on as when a screen reader listens, the events Qt sends noted, and
// the controls read as role, name and value through Qt's accessibility
// interfaces.
#pragma once

#include <QAccessible>
#include <QString>

#include <ostream>
#include <vector>

#include "platform/win32.h"

class QObject;

namespace mirabo::test {

// What a screen reader reads of one control.
struct AccessibleControl {
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    QString value;
    bool readOnly = false;
    bool editable = false;
    bool isDefault = false;  // the default button
    QString labelledBy;      // the name of the label that labels it
    QString labelFor;        // the name of what it labels
    QString controls;        // the name of what it controls
    QString description;

    bool operator==(const AccessibleControl&) const = default;
};
void PrintTo(const AccessibleControl& control, std::ostream* os);

// One event sent to screen readers: its kind, the object it is about, and
// for text changes the text taken out and put in.
struct AccessibleEvent {
    QAccessible::Event type;
    QObject* object;
    QString removed;
    QString inserted;
};

// While it lives, Qt's accessibility is on (as with a screen reader
// listening) and every event is noted.
class AccessibilityListener {
public:
    AccessibilityListener();
    ~AccessibilityListener();
    AccessibilityListener(const AccessibilityListener&) = delete;
    AccessibilityListener& operator=(const AccessibilityListener&) = delete;

    const std::vector<AccessibleEvent>& Events() const;
    void Clear();
    // Whether an event of that kind came for the object.
    bool Saw(QAccessible::Event type, QObject* object) const;
    // The text the object's text-change events put in last, or a null text
    // when none came.
    QString LastInserted(QObject* object) const;
    // Whether a text-change event took the text out of the object.
    bool SawRemoved(QObject* object, const QString& text) const;
};

// Waits until the desktop window is the active one, as it is for a user
// (focus events are sent only in the active window); false after 5 seconds.
bool WaitUntilActive();

// The accessible interface of a window's widget, or null.
QAccessibleInterface* AccessibleOf(HWND window);
AccessibleControl Read(QAccessibleInterface* accessible);
// The children of an accessible object, read in order.
std::vector<AccessibleControl> ReadChildren(QAccessibleInterface* accessible);
// The first object under `root` (depth first) with the role, and with the
// name unless that is null; or null.
QAccessibleInterface* FindAccessible(QAccessibleInterface* root, QAccessible::Role role,
                                     const QString& name = QString());
// Does what a screen reader's "press" does.
void PressThroughAccessibility(QAccessibleInterface* accessible);

}  // namespace mirabo::test
