// Which label names each edit field of a dialog, found by where the controls
// stand rather than by their order: the static text on the field's row to its
// left, else the one just above it. Both platform layers name the fields they
// show to screen readers with it.
#pragma once

#include <string>
#include <vector>

namespace mirabo::platform {

enum class ControlRole { Field, Label, Other };

// A control's role and rectangle, in any one unit (dialog units or pixels);
// right and bottom lie just outside the control.
struct ControlBox {
    ControlRole role = ControlRole::Other;
    int left = 0, top = 0, right = 0, bottom = 0;
};

// For each control, the index of the label that names it, or -1: a field's
// label is the nearest label to its left whose height lies at least half on
// the field's row; failing that, the nearest label above the field that
// overlaps it sideways, no farther above than the field is high. Controls
// that are not fields get -1.
std::vector<int> FieldLabels(const std::vector<ControlBox>& controls);

// What a label's text says aloud: a mnemonic "&" dropped and "&&" read as
// "&" (unless the label shows its text as typed), blanks at either end
// (ideographic spaces too) dropped.
std::wstring LabelName(const std::wstring& text, bool showsAmpersands);

}  // namespace mirabo::platform
