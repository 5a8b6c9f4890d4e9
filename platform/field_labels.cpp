#include "platform/field_labels.h"

#include <algorithm>
#include <climits>

namespace mirabo::platform {

namespace {

int Overlap(int start1, int end1, int start2, int end2) {
    return std::min(end1, end2) - std::max(start1, start2);
}

// The label on the field's row to its left, nearest first, or -1.
int LabelToTheLeft(const std::vector<ControlBox>& controls, const ControlBox& field) {
    int best = -1;
    int bestGap = INT_MAX;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlBox& label = controls[i];
        if (label.role != ControlRole::Label) continue;
        // Its middle stands left of the field.
        if (label.left + label.right >= 2 * field.left) continue;
        int shared = Overlap(label.top, label.bottom, field.top, field.bottom);
        int height = std::min(label.bottom - label.top, field.bottom - field.top);
        if (shared <= 0 || 2 * shared < height) continue;
        int gap = field.left - label.right;
        if (gap < bestGap) {
            bestGap = gap;
            best = static_cast<int>(i);
        }
    }
    return best;
}

// The label just above the field, overlapping it sideways, or -1.
int LabelAbove(const std::vector<ControlBox>& controls, const ControlBox& field) {
    int best = -1;
    int bestGap = INT_MAX;
    int reach = field.bottom - field.top;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlBox& label = controls[i];
        if (label.role != ControlRole::Label) continue;
        if (Overlap(label.left, label.right, field.left, field.right) <= 0) continue;
        int gap = field.top - label.bottom;
        if (gap < 0 || gap > reach) continue;
        if (gap < bestGap) {
            bestGap = gap;
            best = static_cast<int>(i);
        }
    }
    return best;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0x3000; }

}  // namespace

std::vector<int> FieldLabels(const std::vector<ControlBox>& controls) {
    std::vector<int> labels(controls.size(), -1);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlBox& field = controls[i];
        if (field.role != ControlRole::Field) continue;
        int label = LabelToTheLeft(controls, field);
        if (label < 0) label = LabelAbove(controls, field);
        labels[i] = label;
    }
    return labels;
}

std::wstring LabelName(const std::wstring& text, bool showsAmpersands) {
    std::wstring name;
    name.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!showsAmpersands && text[i] == L'&') {
            // "&&" is one "&"; a lone "&" only marks the next character.
            if (i + 1 < text.size() && text[i + 1] == L'&') {
                name += L'&';
                ++i;
            }
            continue;
        }
        name += text[i];
    }
    std::size_t first = 0;
    while (first < name.size() && IsBlank(name[first])) ++first;
    std::size_t last = name.size();
    while (last > first && IsBlank(name[last - 1])) --last;
    return name.substr(first, last - first);
}

}  // namespace mirabo::platform
