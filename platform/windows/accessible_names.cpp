#include "platform/windows/accessible_names.h"

// clang-format off
#include <initguid.h>
#include <objbase.h>
#include <oleacc.h>
#include <commctrl.h>
// clang-format on

#include <string>
#include <vector>

#include "platform/field_labels.h"

namespace mirabo::windows {

namespace {

const UINT_PTR kNamedSubclassId = 0x4D52414E;

// The property service, made on first use on the program's one
// user-interface thread, which keeps COM from then on; null where the system
// has none.
IAccPropServices* PropertyService() {
    static IAccPropServices* service = [] {
        // S_FALSE or RPC_E_CHANGED_MODE: COM was there already; either way it
        // is there now.
        (void)CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
        IAccPropServices* made = NULL;
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, NULL, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                    reinterpret_cast<void**>(&made)))) {
            made = NULL;
        }
        return made;
    }();
    return service;
}

// Takes a control's name back when it goes, so that a later window given the
// same handle does not inherit it.
LRESULT CALLBACK ForgetNameWhenDestroyed(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR) {
    if (message == WM_NCDESTROY) {
        if (IAccPropServices* service = PropertyService()) {
            MSAAPROPID name = PROPID_ACC_NAME;
            service->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &name, 1);
        }
        RemoveWindowSubclass(control, ForgetNameWhenDestroyed, id);
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

void Name(HWND control, const std::wstring& name, std::vector<ControlName>* given) {
    if (name.empty()) return;
    given->push_back(ControlName{control, name});
    IAccPropServices* service = PropertyService();
    if (service == NULL) return;
    if (SUCCEEDED(
            service->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, name.c_str()))) {
        SetWindowSubclass(control, ForgetNameWhenDestroyed, kNamedSubclassId, 0);
    }
}

std::wstring ClassOf(HWND window) {
    wchar_t name[32];
    const int length = GetClassNameW(window, name, 32);
    return std::wstring(name, length > 0 ? length : 0);
}

std::wstring TextOf(HWND window) {
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 2, L'\0');
    const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), length > 0 ? length : 0);
}

bool IsPicture(LONG style) {
    const LONG type = style & SS_TYPEMASK;
    return type == SS_BITMAP || type == SS_ICON;
}

// The resource number of a picture made from a template: the dialog manager
// gives the control the template's title, 0xFFFF and the number, as its
// text. 0 when the control's text is anything else.
WORD PictureNumber(HWND control) {
    wchar_t text[4] = {};
    const int length = GetWindowTextW(control, text, 4);
    return length == 2 && text[0] == 0xFFFF ? text[1] : 0;
}

std::wstring ProgramString(HINSTANCE instance, UINT id) {
    const wchar_t* text = NULL;
    const int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text != NULL ? std::wstring(text, length) : std::wstring();
}

}  // namespace

std::vector<ControlName> NameControlsForScreenReaders(HWND dialog) {
    std::vector<ControlName> given;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    std::vector<HWND> controls;
    std::vector<platform::ControlBox> boxes;
    std::vector<std::wstring> names;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != NULL; child = GetWindow(child, GW_HWNDNEXT)) {
        // The dialog itself is not shown yet while it initialises.
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (!(style & WS_VISIBLE)) continue;
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(NULL, dialog, reinterpret_cast<POINT*>(&rect), 2);
        platform::ControlBox box{platform::ControlRole::Other, rect.left, rect.top, rect.right, rect.bottom};
        std::wstring name;
        const std::wstring className = ClassOf(child);
        if (_wcsicmp(className.c_str(), L"Edit") == 0) {
            box.role = platform::ControlRole::Field;
        } else if (_wcsicmp(className.c_str(), L"Static") == 0) {
            if (IsPicture(style)) {
                if (const WORD number = PictureNumber(child))
                    Name(child, ProgramString(instance, number), &given);
            } else {
                name = platform::LabelName(TextOf(child), (style & SS_NOPREFIX) != 0);
                if (!name.empty()) box.role = platform::ControlRole::Label;
            }
        }
        controls.push_back(child);
        boxes.push_back(box);
        names.push_back(name);
    }
    const std::vector<int> labels = platform::FieldLabels(boxes);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (labels[i] >= 0) Name(controls[i], names[static_cast<std::size_t>(labels[i])], &given);
    }
    return given;
}

}  // namespace mirabo::windows
