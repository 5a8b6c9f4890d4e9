#include "platform/linux/accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QMenu>
#include <QVariant>
#include <QWidget>

#include "platform/field_labels.h"
#include "platform/linux/string_table.h"
#include "platform/linux/widgets.h"
#include "platform/linux/window.h"

namespace mirabo::platform {

namespace {

const char kKindProperty[] = "mirabo.accessibleKind";

bool IsPicture(DWORD style) {
    DWORD type = style & SS_TYPEMASK;
    return type == SS_BITMAP || type == SS_ICON;
}

QString LabelText(const QString& text, DWORD style) {
    return QString::fromStdWString(LabelName(text.toStdWString(), style & SS_NOPREFIX));
}

QAccessible::Role RoleOf(AccessibleKind kind) {
    switch (kind) {
    case AccessibleKind::Desktop:
        return QAccessible::Window;
    case AccessibleKind::Dialog:
        return QAccessible::Dialog;
    case AccessibleKind::MessageBox:
        return QAccessible::AlertMessage;
    case AccessibleKind::MenuBar:
        return QAccessible::MenuBar;
    case AccessibleKind::ProgramWindow:
        break;
    }
    return QAccessible::Client;
}

// A window's widget: its role, and its window's text as its name.
class WindowAccessible : public QAccessibleWidget {
public:
    WindowAccessible(QWidget* widget, AccessibleKind kind)
        : QAccessibleWidget(widget, RoleOf(kind)), kind_(kind) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            Window* window = Window::FromWidget(widget());
            if (window != nullptr && window->Widget() == widget()) return window->Text();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (kind_ == AccessibleKind::Dialog || kind_ == AccessibleKind::MessageBox) state.modal = true;
        return state;
    }

private:
    AccessibleKind kind_;
};

// A static control: a label read as its text, or a picture read as what it
// shows.
class StaticAccessible : public QAccessibleWidget {
public:
    explicit StaticAccessible(StaticWidget* widget)
        : QAccessibleWidget(widget,
                            IsPicture(widget->Style()) ? QAccessible::Graphic : QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            auto* label = static_cast<StaticWidget*>(widget());
            return IsPicture(label->Style()) ? QString() : LabelText(label->Text(), label->Style());
        }
        return QAccessibleWidget::text(t);
    }
};

// A button of the menu bar: a menu button whose pop-up, once made, is its
// child, so that the menu and its items are found from the button (Qt leaves
// pop-up windows out of the application's own children).
class MenuButtonAccessible : public QAccessibleWidget {
public:
    explicit MenuButtonAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::ButtonMenu) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return Button()->text();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.hasPopup = true;
        state.expandable = true;
        QMenu* popup = Popup();
        state.expanded = popup != nullptr && popup->isVisible();
        return state;
    }

    int childCount() const override { return Popup() != nullptr ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        QMenu* popup = Popup();
        return index == 0 && popup != nullptr ? QAccessible::queryAccessibleInterface(popup) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() != nullptr && child->object() == Popup() ? 0 : -1;
    }

    QStringList actionNames() const override { return {QAccessibleActionInterface::pressAction()}; }
    void doAction(const QString& name) override {
        if (name == QAccessibleActionInterface::pressAction()) Button()->click();
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
    QMenu* Popup() const { return widget()->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly); }
};

bool IsKind(const QWidget* widget, AccessibleKind kind) {
    QVariant value = widget != nullptr ? widget->property(kKindProperty) : QVariant();
    return value.isValid() && value.toInt() == static_cast<int>(kind);
}

QAccessibleInterface* Describe(const QString&, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (auto* label = dynamic_cast<StaticWidget*>(widget)) return new StaticAccessible(label);
    if (auto* button = qobject_cast<QAbstractButton*>(widget);
        button != nullptr && IsKind(button->parentWidget(), AccessibleKind::MenuBar)) {
        return new MenuButtonAccessible(button);
    }
    QVariant kind = widget->property(kKindProperty);
    if (kind.isValid()) return new WindowAccessible(widget, static_cast<AccessibleKind>(kind.toInt()));
    return nullptr;
}

void Notify(QWidget* widget, QAccessible::Event type) {
    if (!QAccessible::isActive()) return;
    QAccessibleEvent event(widget, type);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

void InstallAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(&Describe);
}

void MarkAccessible(QWidget* widget, AccessibleKind kind) {
    widget->setProperty(kKindProperty, static_cast<int>(kind));
}

void NameFieldsAfterLabels(const std::vector<DialogItemTemplate>& items,
                           const std::vector<QWidget*>& widgets) {
    std::vector<ControlBox> boxes;
    std::vector<QString> names;
    for (const DialogItemTemplate& item : items) {
        ControlBox box{ControlRole::Other, item.x, item.y, item.x + item.cx, item.y + item.cy};
        QString name;
        if (item.Class() == ControlClass::Edit) {
            box.role = ControlRole::Field;
        } else if (item.Class() == ControlClass::Static && !IsPicture(item.style) && !item.title.isOrdinal) {
            name = LabelText(item.title.text, item.style);
            if (!name.isEmpty()) box.role = ControlRole::Label;
        }
        boxes.push_back(box);
        names.push_back(name);
    }
    std::vector<int> labels = FieldLabels(boxes);
    for (std::size_t i = 0; i < labels.size() && i < widgets.size(); ++i) {
        if (labels[i] >= 0) widgets[i]->setAccessibleName(names[static_cast<std::size_t>(labels[i])]);
    }
}

QString PictureDescription(WORD resource) { return ProgramString(resource); }

void NotifyNameChanged(QWidget* widget) { Notify(widget, QAccessible::NameChanged); }

void NotifyAlert(QWidget* box) { Notify(box, QAccessible::Alert); }

}  // namespace mirabo::platform
