#include "calc/memory_form.h"

#include <algorithm>

namespace mirabo {

const std::wstring& MemoryForm::Text(int controlId) const {
    static const std::wstring empty;
    const auto it = fields_.find(controlId);
    return it == fields_.end() ? empty : it->second;
}

void MemoryForm::ReadField(FieldBuffer& buffer, int controlId) {
    const std::wstring& text = Text(controlId);
    const std::size_t length = std::min(text.size(), kFieldCapacity - 1);
    std::copy_n(text.data(), length, buffer);
    buffer[length] = L'\0';
}

void MemoryForm::SetFieldText(int controlId, const FieldBuffer& buffer) {
    fields_[controlId] = buffer;
    written_.push_back(controlId);
}

int MemoryForm::ShowMessage(int messageId, int buttons) {
    int answer = kAnswerOk;
    if (buttons == kButtonsYesNo) {
        answer = answerer_ ? answerer_(messageId) : kAnswerNo;
    }
    messages_.push_back({messageId, buttons, answer});
    return answer;
}

}  // namespace mirabo
