#include "platform/linux/edit_widget.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include <algorithm>

#include "platform/linux/fonts.h"
#include "platform/linux/menu_resource.h"
#include "platform/linux/resource_directory.h"
#include "platform/linux/widgets.h"
#include "res/resource.h"

namespace mirabo::platform {

namespace {

// The limit that EM_LIMITTEXT with 0 gives a single-line edit control.
constexpr int kLargestLimit = 0x7FFFFFFE;

bool ClipboardHasText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

}  // namespace

EditWidget::EditWidget(QWidget* parent, double scale) : QLineEdit(parent), scale_(scale) {
    setMaxLength(kDefaultLimit);
    // The edit menu is the platform's, not Qt's.
    setContextMenuPolicy(Qt::DefaultContextMenu);
    QObject::connect(this, &QLineEdit::textChanged, this, [this] { FollowText(); });
    QObject::connect(this, &QLineEdit::textEdited, this, [this] { DropCutHalf(); });
}

void EditWidget::SetLimit(int characters) {
    limit_ = characters <= 0 ? kLargestLimit : characters;
    FollowText();
}

void EditWidget::SetProgramText(const QString& text) {
    int wanted = std::max(limit_, static_cast<int>(text.size()));
    if (maxLength() != wanted) setMaxLength(wanted);
    setText(text);
    // The platform shows a new text from its start.
    setCursorPosition(0);
}

void EditWidget::FollowText() {
    int wanted = std::max(limit_, static_cast<int>(text().size()));
    if (maxLength() != wanted) setMaxLength(wanted);
}

void EditWidget::DropCutHalf() {
    const QString current = text();
    const int at = cursorPosition();
    if (at == 0 || at > current.size()) return;
    const QChar before = current.at(at - 1);
    // A high half with no room left for its low half: Qt cut the pair at
    // the limit. (Typed in halves, a high half waits for its low one while
    // there is room.)
    const bool cutHigh = before.isHighSurrogate() &&
                         !(at < current.size() && current.at(at).isLowSurrogate()) &&
                         current.size() >= limit_;
    // A low half whose high half was taken out before it arrived.
    const bool loneLow = before.isLowSurrogate() && !(at >= 2 && current.at(at - 2).isHighSurrogate());
    if (cutHigh || loneLow) backspace();
}

void EditWidget::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse) {
        OpenEditMenu(event->globalPos());
    } else {
        OpenEditMenu(mapToGlobal(cursorRect().bottomLeft()));
    }
}

void EditWidget::keyPressEvent(QKeyEvent* event) {
    Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    bool shiftF10 = event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier;
    bool menuKey = event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier;
    if (shiftF10 || menuKey) {
        event->accept();
        OpenEditMenu(mapToGlobal(cursorRect().bottomLeft()));
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EditWidget::OpenEditMenu(const QPoint& globalPosition) {
    // The Menu key may reach the control both as a key and as a request for
    // the menu: one menu opens.
    if (menu_ != nullptr && menu_->isVisible()) return;
    if (!hasFocus()) setFocus(Qt::PopupFocusReason);
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setFont(ShellFont(scale_));
    menu->setStyleSheet(MenuStyleSheet(scale_));

    const bool writable = !isReadOnly();
    const bool selection = hasSelectedText();
    const bool shown = echoMode() == QLineEdit::Normal;  // a password is neither cut nor copied
    const bool everythingSelected = selectedText().size() == text().size();
    bool separate = false;  // a separator comes before the next item
    auto add = [this, menu, &separate](const QString& text, bool enabled, auto act) {
        if (separate && !menu->actions().isEmpty()) menu->addSeparator();
        separate = false;
        QAction* action = menu->addAction(text);
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, this, [this, act] { (this->*act)(); });
    };
    // The items and their texts come from the program's edit menu resource.
    std::vector<MenuItem> items;
    const ResourceEntry* resource = FindProgramResource(RT_MENU, MAKEINTRESOURCEW(IDR_EDIT_MENU));
    if (resource != nullptr && ParseMenu(resource->data, resource->size, &items) && !items.empty()) {
        for (const MenuItem& item : items.front().children) {
            // clang-format off
            switch (item.kind == MenuItem::Kind::Separator ? 0 : item.id) {
            case 0:                   separate = true; break;
            case IDM_EDIT_UNDO:       if (writable) add(item.text, isUndoAvailable(), &QLineEdit::undo); break;
            case IDM_EDIT_CUT:        if (writable) add(item.text, selection && shown, &QLineEdit::cut); break;
            case IDM_EDIT_COPY:       add(item.text, selection && shown, &QLineEdit::copy); break;
            case IDM_EDIT_PASTE:      if (writable) add(item.text, ClipboardHasText(), &QLineEdit::paste); break;
            case IDM_EDIT_DELETE:     if (writable) add(item.text, selection, &QLineEdit::del); break;
            case IDM_EDIT_SELECT_ALL: add(item.text, !text().isEmpty() && !everythingSelected, &QLineEdit::selectAll); break;
            default: break;
            }
            // clang-format on
        }
    }
    menu_ = menu;
    menu->popup(globalPosition);
}

}  // namespace mirabo::platform
