// The Pocket PC menu bar: text buttons in the screen's menu strip, made from
// the menu-bar data (RCDATA) and a menu resource. Tapping a button sends the
// button's own command to the window and opens the button's pop-up; choosing
// an item posts WM_COMMAND with the item's identifier to the window. The bar
// shows while its window is the active one.
//
// The keyboard reaches it too: F10 or a lone Alt (see DefWindowProcW) opens
// the first pop-up with its first item chosen; while a pop-up is open, Left
// and Right go to the pop-up beside it (round the ends), Up, Down and Enter
// choose, and Esc, F10 or Alt close it.
#pragma once

#include <QString>

#include <vector>

#include "platform/linux/menu_resource.h"
#include "platform/linux/window.h"
#include "platform/menu_bar_data.h"

class QMenu;
class QAbstractButton;

namespace mirabo::platform {

class MenuBarWindow : public Window {
public:
    MenuBarWindow(TopLevelWindow* owner, WORD menuId, std::vector<MenuBarButton> buttons, bool hidden);
    ~MenuBarWindow() override;

    static MenuBarWindow* FromHandle(HWND handle);

    bool Destroy() override;

    QString Text() const override { return QString(); }
    void SetText(const QString&) override {}

    // The buttons, left to right.
    std::vector<QAbstractButton*> Buttons() const { return buttonWidgets_; }

    // Opens the pop-up of a button as the keyboard does, its first item
    // chosen; the button's own command is sent first, as for a tap.
    void OpenFromKeyboard(std::size_t index);

private:
    void Tapped(std::size_t index, bool fromKeyboard);
    // The nearest enabled button from `index` in the direction `step`.
    std::size_t Neighbour(std::size_t index, int step) const;
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

// The window's menu bar while it is shown, or null.
MenuBarWindow* ShownMenuBarOf(TopLevelWindow* owner);

}  // namespace mirabo::platform
