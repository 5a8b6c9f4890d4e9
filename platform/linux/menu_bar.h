// The Pocket PC menu bar: text buttons in the screen's menu strip, made from
// the menu-bar data (RCDATA) and a menu resource. Tapping a button sends the
// button's own command to the window and opens the button's pop-up; choosing
// an item posts WM_COMMAND with the item's identifier to the window. The bar
// shows while its window is the active one.
#pragma once

#include <QString>

#include <vector>

#include "platform/linux/window.h"

class QMenu;
class QAbstractButton;

namespace mirabo::platform {

// An item of a menu resource: a command, a separator or a pop-up.
struct MenuItem {
    enum class Kind { Command, Separator, Popup };
    Kind kind = Kind::Command;
    WORD id = 0;
    WORD flags = 0;
    QString text;
    std::vector<MenuItem> children;
};

// Reads a menu resource (MENUHEADER and the items that follow); false when
// it is not one or does not fit in `size` bytes.
bool ParseMenu(const unsigned char* data, std::size_t size, std::vector<MenuItem>* items);

// One button of the menu-bar data.
struct MenuBarButton {
    short image = 0;
    WORD command = 0;
    BYTE state = 0;
    BYTE style = 0;
    WORD caption = 0;
    WORD popup = 0;
};

// Reads menu-bar data: the menu's identifier, the button count, then seven
// 16-bit words per button.
bool ParseMenuBarData(const unsigned char* data, std::size_t size, WORD* menuId,
                      std::vector<MenuBarButton>* buttons);

class MenuBarWindow : public Window {
public:
    MenuBarWindow(TopLevelWindow* owner, WORD menuId, std::vector<MenuBarButton> buttons, bool hidden);
    ~MenuBarWindow() override;

    static MenuBarWindow* FromHandle(HWND handle);

    QString Text() const override { return QString(); }
    void SetText(const QString&) override {}

    // The buttons, left to right.
    std::vector<QAbstractButton*> Buttons() const { return buttonWidgets_; }

private:
    void Tapped(std::size_t index);
    QMenu* PopupFor(std::size_t index);

    HWND ownerHandle_;
    WORD menuId_;
    std::vector<MenuBarButton> buttons_;
    std::vector<QAbstractButton*> buttonWidgets_;
    std::vector<QMenu*> popups_;  // made when first opened
    bool menuLoaded_ = false;
    std::vector<MenuItem> menu_;
};

// Destroys the menu bars that belong to the window.
void DestroyMenuBarsOf(TopLevelWindow* owner);

// The menu bar shown in the menu strip now, or null.
MenuBarWindow* ShownMenuBar();

}  // namespace mirabo::platform
