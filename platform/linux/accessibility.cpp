#include "platform/linux/accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include "platform/field_labels.h"
#include "platform/linux/edit_widget.h"
#include "platform/linux/string_table.h"
#include "platform/linux/widgets.h"
#include "platform/linux/window.h"

namespace mirabo::platform {

namespace {

const char kKindProperty[] = "mirabo.accessibleKind";
const char kPaintedProperty[] = "mirabo.paintedText";
const char kLabelForProperty[] = "mirabo.labelFor";
const char kLabelledByProperty[] = "mirabo.labelledBy";

// The widget a label names, or the label that names a field.
QWidget* RelatedWidget(const QWidget* widget, const char* property) {
    QVariant value = widget->property(property);
    return value.isValid() ? value.value<QPointer<QWidget>>().data() : nullptr;
}

using Relations = QList<QPair<QAccessibleInterface*, QAccessible::Relation>>;

// The relation of `other` to the widget, when `other` exists and is wanted.
void AddRelation(Relations* relations, QAccessible::Relation match, QAccessible::Relation relation,
                 QWidget* other) {
    if (!(match & relation) || other == nullptr) return;
    if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(other))
        relations->append({accessible, relation});
}

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

// A program window: what it paints in words (the lines it draws with
// DrawTextW) is its description. A window not painted yet paints once
// here, off the screen, so that its description is there from the start.
class ProgramWindowAccessible : public WindowAccessible {
public:
    explicit ProgramWindowAccessible(QWidget* widget)
        : WindowAccessible(widget, AccessibleKind::ProgramWindow) {}

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Description) return WindowAccessible::text(t);
        QWidget* window = widget();
        if (!window->property(kPaintedProperty).isValid() && !window->size().isEmpty()) {
            QImage offscreen(window->size(), QImage::Format_ARGB32_Premultiplied);
            window->render(&offscreen);
        }
        return window->property(kPaintedProperty).toString();
    }
};

// A push button: pressed as Qt's buttons are, and "default" while it is the
// dialog's default button. The title strip's OK controls the active window.
class PushButtonAccessible : public QAccessibleWidget {
public:
    explicit PushButtonAccessible(PushButtonWidget* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QString::fromStdWString(LabelName(Button()->text().toStdWString(), false));
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.defaultButton = Button()->IsDefault();
        state.pressed = Button()->isDown();
        return state;
    }

    Relations relations(QAccessible::Relation match) const override {
        Relations relations = QAccessibleWidget::relations(match);
        if (Button()->IsTitleStripButton())
            AddRelation(&relations, match, QAccessible::Controlled, ActiveWindow());
        return relations;
    }

    QStringList actionNames() const override { return {QAccessibleActionInterface::pressAction()}; }
    void doAction(const QString& name) override {
        // As Qt's buttons do: the click comes from the event loop, so that
        // the screen reader has its answer before a modal loop starts.
        if (name == QAccessibleActionInterface::pressAction() && Button()->isEnabled())
            Button()->animateClick();
    }

private:
    PushButtonWidget* Button() const { return static_cast<PushButtonWidget*>(widget()); }

    // The topmost shown window on the handheld's screen (its widgets are
    // stacked in the order the windows were brought to the top).
    QWidget* ActiveWindow() const {
        QWidget* strip = widget()->parentWidget();
        QWidget* screen = strip != nullptr ? strip->parentWidget() : nullptr;
        if (screen == nullptr) return nullptr;
        const QObjectList& children = screen->children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            if (!(*it)->isWidgetType()) continue;
            auto* child = static_cast<QWidget*>(*it);
            if (child->isVisibleTo(screen) && child->property(kKindProperty).isValid()) return child;
        }
        return nullptr;
    }
};

// An edit field: Qt's line edit as screen readers read it, except that a
// read-only field is read-only and not editable, and that the label beside
// it labels it.
class FieldAccessible : public QAccessibleWidget,
                        public QAccessibleTextInterface,
                        public QAccessibleEditableTextInterface {
public:
    explicit FieldAccessible(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface && !Edit()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return Edit()->echoMode() == QLineEdit::Normal ? Edit()->text() : QString();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
        } else if (!Edit()->isReadOnly()) {
            Edit()->setText(text);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = Edit()->isReadOnly();
        state.editable = !state.readOnly;
        state.passwordEdit = Edit()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }

    Relations relations(QAccessible::Relation match) const override {
        Relations relations = QAccessibleWidget::relations(match);
        AddRelation(&relations, match, QAccessible::Label, RelatedWidget(widget(), kLabelledByProperty));
        return relations;
    }

    // The text interface.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !Edit()->hasSelectedText()) return;
        *start = Edit()->selectionStart();
        *end = *start + Edit()->selectionLength();
    }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) Edit()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index == 0) Edit()->setSelection(start, end - start);
    }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    QString text(int start, int end) const override {
        if (Edit()->echoMode() != QLineEdit::Normal) return QString();
        return Edit()->text().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Edit()->text().size()); }
    QRect characterRect(int offset) const override {
        // Where the character stands when the text is shown from its start.
        QFontMetrics metrics(Edit()->font());
        const QString text = Edit()->text();
        QRect area = Edit()->contentsRect().marginsRemoved(Edit()->textMargins());
        int x = area.x() + metrics.horizontalAdvance(text.left(offset));
        QRect rect(x, area.y() + (area.height() - metrics.height()) / 2,
                   metrics.horizontalAdvance(text.mid(offset, 1)), metrics.height());
        return QRect(Edit()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int start, int end) override {
        Edit()->setCursorPosition(end);
        Edit()->setCursorPosition(start);
    }
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return QString();
    }

    // The editable text interface (not offered while read-only).
    void deleteText(int start, int end) override {
        Edit()->setText(Edit()->text().remove(start, end - start));
    }
    void insertText(int offset, const QString& text) override {
        Edit()->setText(Edit()->text().insert(offset, text));
    }
    void replaceText(int start, int end, const QString& text) override {
        Edit()->setText(Edit()->text().replace(start, end - start, text));
    }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
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

    Relations relations(QAccessible::Relation match) const override {
        Relations relations = QAccessibleWidget::relations(match);
        AddRelation(&relations, match, QAccessible::Labelled, RelatedWidget(widget(), kLabelForProperty));
        return relations;
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
    if (auto* edit = dynamic_cast<EditWidget*>(widget)) return new FieldAccessible(edit);
    if (auto* push = dynamic_cast<PushButtonWidget*>(widget)) return new PushButtonAccessible(push);
    if (auto* button = qobject_cast<QAbstractButton*>(widget);
        button != nullptr && IsKind(button->parentWidget(), AccessibleKind::MenuBar)) {
        return new MenuButtonAccessible(button);
    }
    QVariant kind = widget->property(kKindProperty);
    if (kind.isValid() && static_cast<AccessibleKind>(kind.toInt()) == AccessibleKind::ProgramWindow)
        return new ProgramWindowAccessible(widget);
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
        if (labels[i] < 0) continue;
        const auto label = static_cast<std::size_t>(labels[i]);
        widgets[i]->setAccessibleName(names[label]);
        if (label >= widgets.size()) continue;
        widgets[i]->setProperty(kLabelledByProperty, QVariant::fromValue(QPointer<QWidget>(widgets[label])));
        widgets[label]->setProperty(kLabelForProperty, QVariant::fromValue(QPointer<QWidget>(widgets[i])));
    }
}

void SetPaintedText(QWidget* widget, const QString& text) {
    QVariant before = widget->property(kPaintedProperty);
    widget->setProperty(kPaintedProperty, text);
    if (before.isValid() && before.toString() != text) Notify(widget, QAccessible::DescriptionChanged);
}

QString PictureDescription(WORD resource) { return ProgramString(resource); }

void NotifyNameChanged(QWidget* widget) { Notify(widget, QAccessible::NameChanged); }

void NotifyAlert(QWidget* box) { Notify(box, QAccessible::Alert); }

}  // namespace mirabo::platform
