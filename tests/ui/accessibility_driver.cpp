#include "tests/ui/accessibility_driver.h"

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QtGui/qpa/qwindowsysteminterface.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/testing.h"

namespace mirabo::test {

namespace {

std::vector<AccessibleEvent>& Noted() {
    static std::vector<AccessibleEvent> events;
    return events;
}

void Note(QAccessibleEvent* event) {
    AccessibleEvent noted{event->type(), event->object(), QString(), QString()};
    switch (event->type()) {
    case QAccessible::TextInserted:
        noted.inserted = static_cast<QAccessibleTextInsertEvent*>(event)->textInserted();
        break;
    case QAccessible::TextRemoved:
        noted.removed = static_cast<QAccessibleTextRemoveEvent*>(event)->textRemoved();
        break;
    case QAccessible::TextUpdated:
        noted.removed = static_cast<QAccessibleTextUpdateEvent*>(event)->textRemoved();
        noted.inserted = static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted();
        break;
    default:
        break;
    }
    Noted().push_back(noted);
}

// The switch a screen reader turns on (the accessibility bus on Linux).
void SetActive(bool active) {
    if (QPlatformIntegration* integration = QGuiApplicationPrivate::platformIntegration()) {
        if (QPlatformAccessibility* accessibility = integration->accessibility())
            accessibility->setActive(active);
    }
}

}  // namespace

void PrintTo(const AccessibleControl& control, std::ostream* os) {
    *os << "{role 0x" << std::hex << control.role << std::dec << ", \"" << control.name.toStdString()
        << "\", value \"" << control.value.toStdString() << "\"" << (control.readOnly ? ", read-only" : "")
        << (control.editable ? ", editable" : "") << (control.isDefault ? ", default" : "");
    if (!control.labelledBy.isEmpty()) *os << ", labelled by \"" << control.labelledBy.toStdString() << "\"";
    if (!control.labelFor.isEmpty()) *os << ", label for \"" << control.labelFor.toStdString() << "\"";
    if (!control.controls.isEmpty()) *os << ", controls \"" << control.controls.toStdString() << "\"";
    if (!control.description.isEmpty())
        *os << ", described as \"" << control.description.toStdString() << "\"";
    *os << "}";
}

AccessibilityListener::AccessibilityListener() {
    Noted().clear();
    QAccessible::installUpdateHandler(&Note);
    SetActive(true);
}

AccessibilityListener::~AccessibilityListener() {
    SetActive(false);
    QAccessible::installUpdateHandler(nullptr);
    Noted().clear();
}

const std::vector<AccessibleEvent>& AccessibilityListener::Events() const { return Noted(); }

void AccessibilityListener::Clear() { Noted().clear(); }

bool AccessibilityListener::Saw(QAccessible::Event type, QObject* object) const {
    for (const AccessibleEvent& event : Noted()) {
        if (event.type == type && event.object == object) return true;
    }
    return false;
}

QString AccessibilityListener::LastInserted(QObject* object) const {
    QString text;
    for (const AccessibleEvent& event : Noted()) {
        if (event.object == object && !event.inserted.isNull()) text = event.inserted;
    }
    return text;
}

bool AccessibilityListener::SawRemoved(QObject* object, const QString& text) const {
    for (const AccessibleEvent& event : Noted()) {
        if (event.object == object && event.removed == text) return true;
    }
    return false;
}

bool WaitUntilActive() {
    QWidget* screen = mirabo::testing::ScreenWidget();
    if (screen == nullptr || screen->windowHandle() == nullptr) return false;
    auto active = [screen] { return QApplication::activeWindow() == screen; };
    if (QTest::qWaitFor(active, 200)) return true;
    // Qt's offscreen platform keeps a hidden window as its focus window and so
    // does not activate it again when it comes back, as a desktop would:
    // the window system's own deactivation and activation.
    QWindowSystemInterface::handleWindowActivated(nullptr);
    QWindowSystemInterface::handleWindowActivated(screen->windowHandle(), Qt::ActiveWindowFocusReason);
    return QTest::qWaitFor(active, 5000);
}

QAccessibleInterface* AccessibleOf(HWND window) {
    QWidget* widget = mirabo::testing::WidgetOf(window);
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

namespace {

// The name of the first object in that relation to the accessible object.
QString RelatedName(QAccessibleInterface* accessible, QAccessible::Relation relation) {
    for (const auto& [other, kind] : accessible->relations(relation)) {
        if (other != nullptr && (kind & relation)) return other->text(QAccessible::Name);
    }
    return QString();
}

}  // namespace

AccessibleControl Read(QAccessibleInterface* accessible) {
    if (accessible == nullptr) return {};
    const QAccessible::State state = accessible->state();
    return {accessible->role(),
            accessible->text(QAccessible::Name),
            accessible->text(QAccessible::Value),
            state.readOnly != 0,
            state.editable != 0,
            state.defaultButton != 0,
            RelatedName(accessible, QAccessible::Label),
            RelatedName(accessible, QAccessible::Labelled),
            RelatedName(accessible, QAccessible::Controlled),
            accessible->text(QAccessible::Description)};
}

std::vector<AccessibleControl> ReadChildren(QAccessibleInterface* accessible) {
    std::vector<AccessibleControl> children;
    for (int i = 0; accessible != nullptr && i < accessible->childCount(); ++i)
        children.push_back(Read(accessible->child(i)));
    return children;
}

QAccessibleInterface* FindAccessible(QAccessibleInterface* root, QAccessible::Role role,
                                     const QString& name) {
    for (int i = 0; root != nullptr && i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        if (child == nullptr) continue;
        if (child->role() == role && (name.isNull() || child->text(QAccessible::Name) == name)) return child;
        if (QAccessibleInterface* found = FindAccessible(child, role, name)) return found;
    }
    return nullptr;
}

void PressThroughAccessibility(QAccessibleInterface* accessible) {
    QAccessibleActionInterface* actions = accessible ? accessible->actionInterface() : nullptr;
    ASSERT_NE(actions, nullptr) << "nothing to press";
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
}

}  // namespace mirabo::test
