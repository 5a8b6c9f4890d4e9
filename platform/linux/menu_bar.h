// The Pocket PC menu bar: text buttons in the screen's menu strip, made from
// the menu-bar data (RCDATA) and a menu resource. Tapping a button sends the
// button's own command to the window and opens the button's pop-up; choosing
// an item posts WM_COMMAND with the item's identifier to the window. The bar
// shows while its window is the active one.
#pragma once

#include <QString>

#include <vector>

#include "platform/linux/menu_resource.h"
#include "platform/linux/window.h"

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
