// Names for screen readers on Windows. The system describes every control
// itself, but it names an edit field after the static text just before the
// field in window order, and the program's dialogs list their labels after
// their fields; so each field is given the name of the label beside it, by
// the same rule as on Linux (platform/field_labels.h), and each picture the
// words of the program's string with the picture's own number, through the
// system's accessibility property service.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace mirabo::windows {

struct ControlName {
    HWND control;
    std::wstring name;
};

// Names the dialog's fields and pictures; call it once the controls stand
// where they are shown. Returns the names it gave, in window order; where
// the system has no property service (or it refuses), they are worked out
// and returned all the same.
std::vector<ControlName> NameControlsForScreenReaders(HWND dialog);

}  // namespace mirabo::windows
