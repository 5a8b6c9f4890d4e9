#include "cli/batch_form.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "text/utf8.h"

namespace mirabo {
namespace {

void CopyText(const wchar_t* from, wchar_t* to) {
    std::size_t i = 0;
    for (; i + 1 < kFieldCapacity && from[i] != L'\0'; ++i) {
        to[i] = from[i];
    }
    to[i] = L'\0';
}

}  // namespace

BatchForm::BatchForm(const Calculator& form, int answer) : form_(form), answer_(answer), firstId_(0) {
    if (form.fields.size() > kMaxFields) {
        throw std::length_error("a batch form holds at most 8 fields");
    }
    for (const CalculatorField& field : form.fields) {
        firstId_ = (firstId_ == 0 || field.controlId < firstId_) ? field.controlId : firstId_;
    }
    std::fill(std::begin(slotOf_), std::end(slotOf_), static_cast<signed char>(-1));
    for (std::size_t slot = 0; slot < form.fields.size(); ++slot) {
        const unsigned index = static_cast<unsigned>(form.fields[slot].controlId - firstId_);
        if (index >= kIdSpan) {
            throw std::length_error("a batch form's control identifiers lie within 32 of each other");
        }
        slotOf_[index] = static_cast<signed char>(slot);
    }
    messages_.reserve(4);
    Clear();
}

void BatchForm::Clear() {
    for (std::size_t slot = 0; slot < kMaxFields; ++slot) {
        texts_[slot][0] = L'\0';
        hasValue_[slot] = false;
        longTexts_[slot].clear();
    }
    for (std::string& cell : carried_) {
        cell.clear();
    }
    written_ = false;
    focus_ = -1;
    messageCount_ = 0;
}

bool BatchForm::Type(std::size_t slot, std::string_view utf8) {
    // The text has been checked to be UTF-8 as it was read.
    wchar_t* out = texts_[slot];
    std::size_t n = 0;
    std::size_t units = 0;  // in UTF-16, as the dialogs count a field's length
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t size = utf8.size();
    for (std::size_t i = 0; i < size;) {
        if (units + 1 == kFieldCapacity) {
            out[0] = L'\0';
            return false;
        }
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++units;
            out[n++] = static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        char32_t c;
        if (lead < 0xE0) {
            c = (lead & 0x1Fu) << 6 | (bytes[i + 1] & 0x3Fu);
            i += 2;
        } else if (lead < 0xF0) {
            c = (lead & 0x0Fu) << 12 | (bytes[i + 1] & 0x3Fu) << 6 | (bytes[i + 2] & 0x3Fu);
            i += 3;
        } else {
            c = (lead & 0x07u) << 18 | (bytes[i + 1] & 0x3Fu) << 12 | (bytes[i + 2] & 0x3Fu) << 6 |
                (bytes[i + 3] & 0x3Fu);
            i += 4;
        }
        if (c >= 0x10000 && units + 2 >= kFieldCapacity) {
            out[0] = L'\0';
            return false;
        }
        units += c >= 0x10000 ? 2 : 1;
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0x10000) {
                c -= 0x10000;
                out[n++] = static_cast<wchar_t>(0xD800 + (c >> 10));
                c = 0xDC00 + (c & 0x3FF);
            }
        }
        out[n++] = static_cast<wchar_t>(c);
    }
    out[n] = L'\0';
    return true;
}

bool BatchForm::Type(std::size_t slot, std::wstring_view text) {
    wchar_t* out = texts_[slot];
    if (Utf16Length(text) + 1 > kFieldCapacity) {
        out[0] = L'\0';
        return false;
    }
    std::copy(text.begin(), text.end(), out);
    out[text.size()] = L'\0';
    return true;
}

void BatchForm::ReadField(FieldBuffer& buffer, int controlId) {
    const int slot = SlotOf(controlId);
    if (slot < 0) {
        buffer[0] = L'\0';
        return;
    }
    CopyText(texts_[slot], buffer);
}

void BatchForm::SetFieldText(int controlId, const FieldBuffer& buffer) {
    written_ = true;
    if (const int slot = SlotOf(controlId); slot >= 0) {
        CopyText(buffer, texts_[slot]);
    }
}

void BatchForm::FocusField(int controlId) { focus_ = SlotOf(controlId); }

int BatchForm::ShowMessage(int messageId, int buttons) {
    const int answer = buttons != kButtonsYesNo ? kAnswerOk : ask_ ? ask_(messageId) : answer_;
    if (messageCount_ == messages_.size()) {
        messages_.push_back({messageId, buttons, answer});
    } else {
        messages_[messageCount_] = {messageId, buttons, answer};
    }
    ++messageCount_;
    return answer;
}

void BatchForm::NoteFieldValue(int controlId, double value) {
    if (const int slot = SlotOf(controlId); slot >= 0) {
        hasValue_[slot] = true;
        values_[slot] = value;
    }
}

}  // namespace mirabo
