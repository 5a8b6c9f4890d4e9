#include "platform/linux/menu_bar.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <string>

#include "platform/linux/accessibility.h"
#include "platform/linux/fonts.h"
#include "platform/linux/resource_directory.h"
#include "platform/linux/screen.h"
#include "platform/linux/string_table.h"
#include "platform/linux/widgets.h"

namespace mirabo::platform {

namespace {

std::vector<MenuBarWindow*>& MenuBars() {
    static std::vector<MenuBarWindow*> bars;
    return bars;
}

// A text button of the menu bar: black on the bar's grey, inverted while
// pressed or while its pop-up is open.
class BarButton : public QAbstractButton {
public:
    BarButton(QWidget* parent, double scale) : QAbstractButton(parent), scale_(scale) {
        setFocusPolicy(Qt::NoFocus);
        setCheckable(false);
    }

    void SetOpen(bool open) {
        open_ = open;
        update();
    }

    QSize sizeHint() const override {
        QFontMetrics metrics(font());
        int pad = static_cast<int>(std::lround(6 * scale_));
        return QSize(metrics.horizontalAdvance(text()) + 2 * pad, metrics.height());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        bool inverted = open_ || isDown();
        if (inverted) painter.fillRect(rect(), kTitleBlue);
        painter.setFont(font());
        painter.setPen(!isEnabled() ? QColor(Qt::gray) : inverted ? QColor(Qt::white) : QColor(Qt::black));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    }

private:
    double scale_;
    bool open_ = false;
};

// A pop-up of the menu bar: Left and Right go to the pop-up beside it, F10
// and a lone Alt close it.
class BarPopup : public QMenu {
public:
    // `move` opens the pop-up `step` buttons away (-1 left, +1 right).
    BarPopup(QWidget* parent, std::function<void(int step)> move) : QMenu(parent), move_(std::move(move)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool plain =
            (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
        altAlone_ = event->key() == Qt::Key_Alt;
        if (plain && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
            int step = event->key() == Qt::Key_Left ? -1 : 1;
            close();
            // The next pop-up opens once this one has gone.
            QMetaObject::invokeMethod(
                qApp, [move = move_, step] { move(step); }, Qt::QueuedConnection);
            return;
        }
        if (plain && event->key() == Qt::Key_F10) {
            close();
            return;
        }
        QMenu::keyPressEvent(event);
    }

    void keyReleaseEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Alt && altAlone_ && !event->isAutoRepeat()) {
            altAlone_ = false;
            close();
            return;
        }
        QMenu::keyReleaseEvent(event);
    }

private:
    std::function<void(int)> move_;
    bool altAlone_ = false;
};

}  // namespace

MenuBarWindow::MenuBarWindow(TopLevelWindow* owner, WORD menuId, std::vector<MenuBarButton> buttons,
                             bool hidden)
    : Window(hidden ? 0 : WS_VISIBLE, 0, owner),
      ownerHandle_(owner->Handle()),
      menuId_(menuId),
      buttons_(std::move(buttons)) {
    Screen* screen = Screen::Instance();
    double scale = screen->Scale();
    QWidget* strip = screen->MenuStripWidget();
    auto* bar = new QWidget(strip);
    MarkAccessible(bar, AccessibleKind::MenuBar);
    bar->setGeometry(strip->rect());
    bar->setAttribute(Qt::WA_TranslucentBackground, true);
    bar->hide();
    Attach(bar);
    QFont font = ShellFont(scale);
    int x = screen->Scaled(2);
    int line = LineWidth(scale);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        auto* button = new BarButton(bar, scale);
        button->setFont(font);
        button->setText(ProgramString(buttons_[i].caption));
        button->setEnabled(buttons_[i].state & TBSTATE_ENABLED);
        QSize hint = button->sizeHint();
        button->setGeometry(x, line, hint.width(), strip->height() - line);
        x += hint.width();
        QObject::connect(button, &QAbstractButton::clicked, bar, [handle = Handle(), i] {
            if (MenuBarWindow* self = FromHandle(handle)) self->Tapped(i, false);
        });
        buttonWidgets_.push_back(button);
    }
    popups_.assign(buttons_.size(), nullptr);
    MenuBars().push_back(this);
    if (!hidden) owner->SetMenuBarWidget(bar);
}

MenuBarWindow::~MenuBarWindow() {
    auto& bars = MenuBars();
    bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
    for (QMenu* popup : popups_) delete popup;
    QWidget* bar = Widget();
    Window* owner = Window::FromHandle(ownerHandle_);
    if (owner != nullptr && owner->TopLevel()->MenuBarWidget() == bar)
        owner->TopLevel()->SetMenuBarWidget(nullptr);
    delete bar;
}

MenuBarWindow* MenuBarWindow::FromHandle(HWND handle) {
    return dynamic_cast<MenuBarWindow*>(Window::FromHandle(handle));
}

bool MenuBarWindow::Destroy() {
    delete this;
    return true;
}

QMenu* MenuBarWindow::PopupFor(std::size_t index) {
    if (popups_[index] != nullptr) return popups_[index];
    if (!menuLoaded_) {
        menuLoaded_ = true;
        if (const ResourceEntry* entry = FindProgramResource(RT_MENU, MAKEINTRESOURCEW(menuId_))) {
            ParseMenu(entry->data, entry->size, &menu_);
        }
    }
    WORD which = buttons_[index].popup;
    if (which >= menu_.size() || menu_[which].kind != MenuItem::Kind::Popup) return nullptr;
    Screen* screen = Screen::Instance();
    // The button's child, so that screen readers find the menu from it.
    auto* popup = new BarPopup(buttonWidgets_[index], [handle = Handle(), index](int step) {
        MenuBarWindow* self = FromHandle(handle);
        if (self != nullptr && self->Widget()->isVisible())
            self->OpenFromKeyboard(self->Neighbour(index, step));
    });
    popup->setAccessibleName(buttonWidgets_[index]->text());
    // An item chosen any way (a screen reader's action too) closes the menu.
    QObject::connect(popup, &QMenu::triggered, popup, &QWidget::hide);
    popup->setFont(ShellFont(screen->Scale()));
    popup->setStyleSheet(MenuStyleSheet(screen->Scale()));
    HWND owner = ownerHandle_;
    for (const MenuItem& item : menu_[which].children) {
        if (item.kind == MenuItem::Kind::Separator) {
            popup->addSeparator();
            continue;
        }
        // Pop-ups inside pop-ups are not used by the program's menus.
        if (item.kind != MenuItem::Kind::Command) continue;
        QAction* action = popup->addAction(item.text);
        action->setEnabled(!(item.flags & (kMfGrayed | kMfDisabled)));
        WORD id = item.id;
        QObject::connect(action, &QAction::triggered, popup,
                         [owner, id] { PostMessageW(owner, WM_COMMAND, MAKEWPARAM(id, 0), 0); });
    }
    auto* button = static_cast<BarButton*>(buttonWidgets_[index]);
    QObject::connect(popup, &QMenu::aboutToHide, button, [button] { button->SetOpen(false); });
    popups_[index] = popup;
    return popup;
}

std::size_t MenuBarWindow::Neighbour(std::size_t index, int step) const {
    const std::size_t count = buttonWidgets_.size();
    std::size_t next = index;
    for (std::size_t tried = 0; tried < count; ++tried) {
        next = step > 0 ? (next + 1) % count : (next + count - 1) % count;
        if (buttonWidgets_[next]->isEnabled()) return next;
    }
    return index;
}

void MenuBarWindow::OpenFromKeyboard(std::size_t index) {
    if (index < buttonWidgets_.size() && buttonWidgets_[index]->isEnabled()) Tapped(index, true);
}

void MenuBarWindow::Tapped(std::size_t index, bool fromKeyboard) {
    HWND self = Handle();
    HWND owner = ownerHandle_;
    // The button's own command first, as a toolbar button sends it.
    SendMessageW(owner, WM_COMMAND, MAKEWPARAM(buttons_[index].command, BN_CLICKED),
                 reinterpret_cast<LPARAM>(self));
    if (FromHandle(self) != this || Window::FromHandle(owner) == nullptr) return;
    if (!(buttons_[index].style & TBSTYLE_DROPDOWN)) return;
    QMenu* popup = PopupFor(index);
    if (popup == nullptr) return;
    auto* button = static_cast<BarButton*>(buttonWidgets_[index]);
    button->SetOpen(true);
    // The pop-up opens upwards from the button, its left edge on the button's.
    QSize size = popup->sizeHint();
    popup->popup(button->mapToGlobal(QPoint(0, 0)) - QPoint(0, size.height()));
    if (fromKeyboard) {
        for (QAction* action : popup->actions()) {
            if (!action->isSeparator() && action->isEnabled()) {
                popup->setActiveAction(action);
                break;
            }
        }
    }
}

void DestroyMenuBarsOf(TopLevelWindow* owner) {
    std::vector<MenuBarWindow*> bars = MenuBars();
    for (MenuBarWindow* bar : bars) {
        if (bar->Parent() == owner) delete bar;
    }
}

MenuBarWindow* ShownMenuBarOf(TopLevelWindow* owner) {
    for (MenuBarWindow* bar : MenuBars()) {
        if (bar->Parent() == owner && bar->Widget()->isVisible()) return bar;
    }
    return nullptr;
}

MenuBarWindow* ShownMenuBar() {
    for (MenuBarWindow* bar : MenuBars()) {
        if (bar->Widget()->isVisible()) return bar;
    }
    return nullptr;
}

}  // namespace mirabo::platform
