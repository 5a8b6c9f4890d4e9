// The program's frame: WinMain, the start-up with the single-instance test,
// the main window and its menu bar, and the About box.
#pragma once

#include "platform/win32.h"

// The program's instance, stored first thing at start-up; every resource is
// loaded from it.
extern HINSTANCE appInstance;
// The main window's menu bar; 0 before it is made and when making it failed.
extern HWND menuBarWindow;
// Handed to SHHandleWMSettingChange; never filled in.
extern SHACTIVATEINFO settingChangeInfo;

// Looks for a running copy and brings it to the front, or registers the
// class, makes the main window and shows it. 1 when the window was made and
// shown; 0 when another copy runs or the window could not be made.
BOOL StartMainWindow(HINSTANCE instance, int showCommand);

// Registers the main window's class; the result is the platform's.
ATOM RegisterMainClass(HINSTANCE instance, LPCWSTR className);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Makes the menu bar of menu-bar data 102 for the window; its handle, or 0.
HWND CreateMainMenuBar(HWND window);

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
