// The part of the Win32 API (user interface and resources) and of the Pocket
// PC shell that the program calls, declared with the platform's own names,
// types, signatures and values. Implemented over Qt Widgets in this folder.
//
// WCHAR is wchar_t as on Windows, so L"..." literals work unchanged; here it
// is 32 bits wide and holds one Unicode code point per element.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Base types

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef std::uint32_t DWORD;
typedef DWORD COLORREF;
typedef std::int32_t LONG;
typedef int INT;
typedef unsigned int UINT;
typedef wchar_t WCHAR;
typedef char CHAR;
typedef CHAR* LPSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;

typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;

typedef void* HANDLE;
typedef HANDLE HGLOBAL;

struct HWND__ {
    int unused;
};
typedef HWND__* HWND;
struct HINSTANCE__ {
    int unused;
};
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
struct HRSRC__ {
    int unused;
};
typedef HRSRC__* HRSRC;
struct HICON__ {
    int unused;
};
typedef HICON__* HICON;
typedef HICON HCURSOR;
struct HBRUSH__ {
    int unused;
};
typedef HBRUSH__* HBRUSH;
struct HDC__ {
    int unused;
};
typedef HDC__* HDC;
struct HACCEL__ {
    int unused;
};
typedef HACCEL__* HACCEL;
struct HMENU__ {
    int unused;
};
typedef HMENU__* HMENU;
struct HIMC__ {
    int unused;
};
typedef HIMC__* HIMC;
typedef void* HGDIOBJ;
typedef WORD ATOM;
typedef WORD LANGID;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define WINAPI
#define CALLBACK
#define APIENTRY WINAPI

#define LOWORD(l) ((WORD)(((ULONG_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((ULONG_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) \
    ((LONG)(((WORD)(((ULONG_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((ULONG_PTR)(b)) & 0xffff))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))

// ---------------------------------------------------------------------------
// Resources

#define IS_INTRESOURCE(r)   ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))

#define RT_BITMAP      MAKEINTRESOURCEW(2)
#define RT_ICON        MAKEINTRESOURCEW(3)
#define RT_MENU        MAKEINTRESOURCEW(4)
#define RT_DIALOG      MAKEINTRESOURCEW(5)
#define RT_STRING      MAKEINTRESOURCEW(6)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA      MAKEINTRESOURCEW(10)
#define RT_GROUP_ICON  MAKEINTRESOURCEW(14)

// ---------------------------------------------------------------------------
// Dialog templates (classic form), packed on 16-bit boundaries as on Windows

#pragma pack(push, 2)
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
} DLGTEMPLATE;
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    short x;
    short y;
    short cx;
    short cy;
    WORD id;
} DLGITEMTEMPLATE;
#pragma pack(pop)
typedef DLGTEMPLATE* LPDLGTEMPLATEW;
typedef const DLGTEMPLATE* LPCDLGTEMPLATEW;

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

// ---------------------------------------------------------------------------
// Messages, commands and notifications

#define WM_CREATE        0x0001
#define WM_DESTROY       0x0002
#define WM_ACTIVATE      0x0006
#define WM_PAINT         0x000F
#define WM_CLOSE         0x0010
#define WM_QUIT          0x0012
#define WM_SETTINGCHANGE 0x001A
#define WM_KEYDOWN       0x0100
#define WM_KEYUP         0x0101
#define WM_CHAR          0x0102
#define WM_SYSKEYDOWN    0x0104
#define WM_SYSKEYUP      0x0105
#define WM_SYSCHAR       0x0106
#define WM_INITDIALOG    0x0110
#define WM_COMMAND       0x0111

// Edit controls: the most characters the user can type or paste (0: as many
// as the control can hold).
#define EM_LIMITTEXT    0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT

#define IDOK     1
#define IDCANCEL 2
#define IDABORT  3
#define IDRETRY  4
#define IDIGNORE 5
#define IDYES    6
#define IDNO     7

#define BN_CLICKED 0

#define WA_INACTIVE    0
#define WA_ACTIVE      1
#define WA_CLICKACTIVE 2

// ---------------------------------------------------------------------------
// Windows, classes and the message loop

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagWNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
} WNDCLASSW, *PWNDCLASSW, *LPWNDCLASSW;

typedef struct tagCREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTW, *LPCREATESTRUCTW;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *PPOINT, *LPPOINT;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *PRECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *PMSG, *LPMSG;

typedef struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
} PAINTSTRUCT, *PPAINTSTRUCT, *LPPAINTSTRUCT;

#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002

#define CW_USEDEFAULT ((int)0x80000000)

#define SW_HIDE       0
#define SW_SHOWNORMAL 1
#define SW_NORMAL     1
#define SW_SHOW       5
#define SW_SHOWNA     8

// Keyboard accelerators: the table entries as stored in the resource.
#define FVIRTKEY  0x01
#define FNOINVERT 0x02
#define FSHIFT    0x04
#define FCONTROL  0x08
#define FALT      0x10

typedef struct tagACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
} ACCEL, *LPACCEL;

// Virtual keys that have names (letters and digits are their ASCII codes).
#define VK_BACK    0x08
#define VK_TAB     0x09
#define VK_RETURN  0x0D
#define VK_SHIFT   0x10
#define VK_CONTROL 0x11
#define VK_MENU    0x12
#define VK_ESCAPE  0x1B
#define VK_SPACE   0x20
#define VK_PRIOR   0x21
#define VK_NEXT    0x22
#define VK_END     0x23
#define VK_HOME    0x24
#define VK_LEFT    0x25
#define VK_UP      0x26
#define VK_RIGHT   0x27
#define VK_DOWN    0x28
#define VK_INSERT  0x2D
#define VK_DELETE  0x2E
#define VK_F1      0x70
#define VK_F10     0x79

// ---------------------------------------------------------------------------
// Painting

#define WHITE_BRUSH  0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH   2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH  4
#define NULL_BRUSH   5

#define DT_TOP        0x00000000
#define DT_LEFT       0x00000000
#define DT_CENTER     0x00000001
#define DT_RIGHT      0x00000002
#define DT_VCENTER    0x00000004
#define DT_BOTTOM     0x00000008
#define DT_WORDBREAK  0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_NOCLIP     0x00000100
#define DT_CALCRECT   0x00000400
#define DT_NOPREFIX   0x00000800

// ---------------------------------------------------------------------------
// Styles

#define WS_POPUP    0x80000000L
#define WS_CHILD    0x40000000L
#define WS_VISIBLE  0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CAPTION  0x00C00000L
#define WS_BORDER   0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_SYSMENU  0x00080000L
#define WS_GROUP    0x00020000L
#define WS_TABSTOP  0x00010000L

#define WS_EX_CAPTIONOKBTN 0x80000000L

#define WS_OVERLAPPED 0x00000000L

#define DS_SETFONT    0x40L
#define DS_MODALFRAME 0x80L
#define DS_CENTER     0x0800L

#define ES_LEFT        0x0000L
#define ES_CENTER      0x0001L
#define ES_RIGHT       0x0002L
#define ES_MULTILINE   0x0004L
#define ES_PASSWORD    0x0020L
#define ES_AUTOHSCROLL 0x0080L
#define ES_READONLY    0x0800L

#define BS_PUSHBUTTON    0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_TYPEMASK      0x0000000FL

#define SS_LEFT     0x00000000L
#define SS_CENTER   0x00000001L
#define SS_RIGHT    0x00000002L
#define SS_ICON     0x00000003L
#define SS_BITMAP   0x0000000EL
#define SS_TYPEMASK 0x0000001FL
#define SS_NOPREFIX 0x00000080L

// ---------------------------------------------------------------------------
// Message boxes

#define MB_OK       0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_YESNO    0x00000004L
#define MB_TYPEMASK 0x0000000FL

// Menu-bar data: a button without an image, and the toolbar values that the
// data's state and style words hold.
#define I_IMAGENONE      (-2)
#define TBSTATE_ENABLED  0x04
#define TBSTYLE_BUTTON   0x0000
#define TBSTYLE_DROPDOWN 0x0008
#define TBSTYLE_AUTOSIZE 0x0010
#define SHMBOF_NODEFAULT 0x00000001

// ---------------------------------------------------------------------------
// Functions

extern "C" {

HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType);
HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID WINAPI LockResource(HGLOBAL hResData);
DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);
// The language resources are found in first (the user's, set by the entry).
LANGID WINAPI SetThreadUILanguage(LANGID LangId);
LANGID WINAPI GetThreadUILanguage(void);

INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam);
BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult);
HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString);
HWND WINAPI SetFocus(HWND hWnd);

int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);

int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);
HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);
HACCEL WINAPI LoadAcceleratorsW(HINSTANCE hInstance, LPCWSTR lpTableName);
HGDIOBJ WINAPI GetStockObject(int i);

ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass);
HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam);
LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL WINAPI DestroyWindow(HWND hWnd);
BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
BOOL WINAPI UpdateWindow(HWND hWnd);
BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect);
BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect);
BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
HWND WINAPI FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName);
BOOL WINAPI SetForegroundWindow(HWND hWnd);

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int nExitCode);
BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
int WINAPI TranslateAcceleratorW(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg);
BOOL WINAPI TranslateMessage(const MSG* lpMsg);
LRESULT WINAPI DispatchMessageW(const MSG* lpMsg);

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
int WINAPI DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format);

// Input contexts of the input method (imm32): a window uses the thread's
// default context until another, or none, is associated with it.
HIMC WINAPI ImmCreateContext(void);
BOOL WINAPI ImmDestroyContext(HIMC hIMC);
HIMC WINAPI ImmAssociateContext(HWND hWnd, HIMC hIMC);
BOOL WINAPI ImmSetOpenStatus(HIMC hIMC, BOOL fOpen);

}  // extern "C"

// The program's entry, called by the process entry of the platform layer
// with the instance, no previous instance, an empty command line and
// SW_SHOW; its result is the process's exit code.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);

// The Pocket PC shell calls, declared alike for every platform.
#include "platform/shell_api.h"
