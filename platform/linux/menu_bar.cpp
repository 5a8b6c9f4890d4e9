#include "platform/linux/menu_bar.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <string>

#include "platform/linux/fonts.h"
#include "platform/linux/frame_window.h"
#include "platform/linux/resource_loading.h"
#include "platform/linux/resources.h"
#include "platform/linux/screen.h"
#include "platform/linux/widgets.h"

namespace mirabo::platform {

namespace {

constexpr WORD kMfGrayed = 0x0001;
constexpr WORD kMfDisabled = 0x0002;
constexpr WORD kMfPopup = 0x0010;
constexpr WORD kMfEnd = 0x0080;
constexpr WORD kMfSeparator = 0x0800;

const QColor kTitleBlue(0x0b, 0x2d, 0x8c);

WORD ReadWord(const unsigned char* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }

bool ReadText(const unsigned char* data, std::size_t size, std::size_t* offset, QString* text) {
    std::u16string units;
    for (;;) {
        if (*offset + 2 > size) return false;
        char16_t unit = ReadWord(data + *offset);
        *offset += 2;
        if (unit == 0) break;
        units.push_back(unit);
    }
    *text = QString::fromStdU16String(units);
    return true;
}

bool ParseItems(const unsigned char* data, std::size_t size, std::size_t* offset, int depth,
                std::vector<MenuItem>* items) {
    if (depth > 8) return false;
    for (;;) {
        if (*offset + 2 > size) return false;
        MenuItem item;
        item.flags = ReadWord(data + *offset);
        *offset += 2;
        if (item.flags & kMfPopup) {
            item.kind = MenuItem::Kind::Popup;
            if (!ReadText(data, size, offset, &item.text)) return false;
            if (!ParseItems(data, size, offset, depth + 1, &item.children)) return false;
        } else {
            if (*offset + 2 > size) return false;
            item.id = ReadWord(data + *offset);
            *offset += 2;
            if (!ReadText(data, size, offset, &item.text)) return false;
            bool separator = (item.flags & kMfSeparator) || (item.id == 0 && item.text.isEmpty());
            item.kind = separator ? MenuItem::Kind::Separator : MenuItem::Kind::Command;
        }
        bool last = item.flags & kMfEnd;
        items->push_back(std::move(item));
        if (last) return true;
    }
}

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

QString MenuStyleSheet(double scale) {
    int line = LineWidth(scale);
    int pad = static_cast<int>(std::lround(3 * scale));
    int side = static_cast<int>(std::lround(8 * scale));
    return QStringLiteral(
               "QMenu { background: white; color: black; border: %1px solid black; padding: %1px; }"
               "QMenu::item { padding: %2px %3px; background: transparent; }"
               "QMenu::item:selected { background: #0b2d8c; color: white; }"
               "QMenu::item:disabled { color: gray; }"
               "QMenu::separator { height: %1px; background: gray; margin: %2px %1px; }")
        .arg(line)
        .arg(pad)
        .arg(side);
}

}  // namespace

bool ParseMenu(const unsigned char* data, std::size_t size, std::vector<MenuItem>* items) {
    items->clear();
    if (data == nullptr || size < 4) return false;
    // MENUHEADER: version 0 and the size of what follows it before the items.
    WORD version = ReadWord(data);
    WORD headerSize = ReadWord(data + 2);
    if (version != 0) return false;
    std::size_t offset = 4 + headerSize;
    if (offset >= size) return false;
    return ParseItems(data, size, &offset, 0, items);
}

bool ParseMenuBarData(const unsigned char* data, std::size_t size, WORD* menuId,
                      std::vector<MenuBarButton>* buttons) {
    buttons->clear();
    if (data == nullptr || size < 4) return false;
    *menuId = ReadWord(data);
    WORD count = ReadWord(data + 2);
    if (4 + 14 * static_cast<std::size_t>(count) > size) return false;
    for (WORD i = 0; i < count; ++i) {
        const unsigned char* p = data + 4 + 14 * static_cast<std::size_t>(i);
        MenuBarButton button;
        button.image = static_cast<short>(ReadWord(p));
        button.command = ReadWord(p + 2);
        button.state = static_cast<BYTE>(ReadWord(p + 4));
        button.style = static_cast<BYTE>(ReadWord(p + 6));
        button.caption = ReadWord(p + 8);
        button.popup = ReadWord(p + 12);
        buttons->push_back(button);
    }
    return true;
}

MenuBarWindow::MenuBarWindow(TopLevelWindow* owner, WORD menuId, std::vector<MenuBarButton> buttons,
                             bool hidden)
    : Window(WindowKind::MenuBar, hidden ? 0 : WS_VISIBLE, 0, owner),
      ownerHandle_(owner->Handle()),
      menuId_(menuId),
      buttons_(std::move(buttons)) {
    Screen* screen = Screen::Instance();
    double scale = screen->Scale();
    QWidget* strip = screen->MenuStripWidget();
    auto* bar = new QWidget(strip);
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
            if (MenuBarWindow* self = FromHandle(handle)) self->Tapped(i);
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
    Window* window = Window::FromHandle(handle);
    return (window && window->Kind() == WindowKind::MenuBar) ? static_cast<MenuBarWindow*>(window) : nullptr;
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
    auto* popup = new QMenu();
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

void MenuBarWindow::Tapped(std::size_t index) {
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
}

void DestroyMenuBarsOf(TopLevelWindow* owner) {
    std::vector<MenuBarWindow*> bars = MenuBars();
    for (MenuBarWindow* bar : bars) {
        if (bar->Parent() == owner) delete bar;
    }
}

MenuBarWindow* ShownMenuBar() {
    for (MenuBarWindow* bar : MenuBars()) {
        if (bar->Widget()->isVisible()) return bar;
    }
    return nullptr;
}

}  // namespace mirabo::platform

// ---------------------------------------------------------------------------
// The Pocket PC shell's menu bar and settings-change handling.

using namespace mirabo::platform;

BOOL WINAPI SHCreateMenuBar(PSHMENUBARINFO pmbi) {
    if (pmbi == nullptr || pmbi->cbSize < sizeof(SHMENUBARINFO)) return FALSE;
    Window* parent = Window::FromHandle(pmbi->hwndParent);
    if (parent == nullptr || parent->Parent() != nullptr) return FALSE;
    WORD menuId = 0;
    std::vector<MenuBarButton> buttons;
    if (!(pmbi->dwFlags & SHCMBF_EMPTYBAR)) {
        const ResourceEntry* data = FindProgramResource(RT_RCDATA, MAKEINTRESOURCEW(pmbi->nToolBarId));
        if (data == nullptr || !ParseMenuBarData(data->data, data->size, &menuId, &buttons)) return FALSE;
    }
    auto* bar =
        new MenuBarWindow(parent->TopLevel(), menuId, std::move(buttons), pmbi->dwFlags & SHCMBF_HIDDEN);
    pmbi->hwndMB = bar->Handle();
    return TRUE;
}

LRESULT WINAPI SHHandleWMSettingChange(HWND, WPARAM, LPARAM, PSHACTIVATEINFO) {
    // There is no input panel whose changes a window would follow.
    return 0;
}
