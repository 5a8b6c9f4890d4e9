#include "web/module/web_form.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace mirabo::web {

void AppendJsonString(std::string& out, const wchar_t* text) {
    out += '"';
    char escape[16];
    for (; *text != L'\0'; ++text) {
        const auto c = static_cast<unsigned long>(*text);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else if (c > 0xFFFF && c <= 0x10FFFF) {
            const unsigned long v = c - 0x10000;
            std::snprintf(escape, sizeof escape, "\\u%04lx\\u%04lx", 0xD800 + (v >> 10),
                          0xDC00 + (v & 0x3FF));
            out += escape;
        } else {
            std::snprintf(escape, sizeof escape, "\\u%04lx", c > 0x10FFFF ? 0xFFFDul : c);
            out += escape;
        }
    }
    out += '"';
}

void WebForm::Begin(int answerCount, unsigned yesBits) {
    answerCount_ = answerCount;
    yesBits_ = yesBits;
    asked_ = 0;
    spoke_ = false;
    pending_ = false;
    record_ = "{\"events\":[";
}

const std::string& WebForm::Finish(int result) {
    record_ += "],\"result\":" + std::to_string(result) + "}";
    return record_;
}

void WebForm::Event(const char* kind, int value) {
    if (record_.back() != '[') record_ += ',';
    record_ += "{\"";
    record_ += kind;
    record_ += "\":" + std::to_string(value);
}

void WebForm::ReadField(FieldBuffer& buffer, int controlId) {
    const FieldBuffer& text = Field(controlId);
    const std::size_t length = std::min(std::wcslen(text), kFieldCapacity - 1);
    std::copy_n(text, length, buffer);
    buffer[length] = L'\0';
}

void WebForm::SetFieldText(int controlId, const FieldBuffer& buffer) {
    std::copy_n(buffer, kFieldCapacity, Field(controlId));
    if (pending_) return;
    Event("field", controlId);
    record_ += ",\"text\":";
    AppendJsonString(record_, buffer);
    record_ += '}';
}

void WebForm::FocusField(int controlId) {
    if (pending_) return;
    Event("focus", controlId);
    record_ += '}';
}

int WebForm::ShowMessage(int messageId, int buttons) {
    spoke_ = true;
    int answer = kAnswerOk;
    bool known = true;
    if (buttons == kButtonsYesNo) {
        const int index = asked_++;
        known = index < answerCount_;
        answer = known && ((yesBits_ >> index) & 1u) != 0 ? kAnswerYes : kAnswerNo;
    }
    if (!pending_) {
        Event("message", messageId);
        record_ += ",\"buttons\":" + std::to_string(buttons);
        record_ += known ? ",\"answer\":" + std::to_string(answer) + "}" : ",\"pending\":true}";
    }
    if (!known) pending_ = true;
    return answer;
}

}  // namespace mirabo::web
