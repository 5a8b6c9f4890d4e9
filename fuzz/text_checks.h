// Checks of text that the fuzz targets share: UTF-8, terminal safety and
// JSON syntax.
#pragma once

#include <cctype>
#include <cstddef>
#include <string_view>

#include "text/utf8.h"

namespace mirabo::fuzz {

inline bool ValidUtf8(std::string_view text) {
    while (!text.empty()) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(text, c);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

// No control character (C0 but the line end, DEL, C1) in valid UTF-8.
inline bool TerminalSafeLines(std::string_view text) {
    if (!ValidUtf8(text)) return false;
    while (!text.empty()) {
        char32_t c = 0;
        text.remove_prefix(DecodeUtf8(text, c));
        if ((c < 0x20 && c != '\n') || (c >= 0x7F && c <= 0x9F)) return false;
    }
    return true;
}

// A small JSON checker: true when `text` is exactly one JSON value.
class Json {
public:
    explicit Json(std::string_view text) : text_(text) {}
    bool Valid() {
        Space();
        if (!Value()) return false;
        Space();
        return at_ == text_.size();
    }

private:
    bool Value() {
        if (++depth_ > 64 || at_ >= text_.size()) return false;
        bool ok = false;
        switch (text_[at_]) {
        case '{':
            ok = Members('}', true);
            break;
        case '[':
            ok = Members(']', false);
            break;
        case '"':
            ok = String();
            break;
        default:
            ok = Word("true") || Word("false") || Word("null") || Number();
        }
        --depth_;
        return ok;
    }
    bool Members(char close, bool object) {
        ++at_;
        Space();
        if (Eat(close)) return true;
        for (;;) {
            if (object && (!String() || (Space(), !Eat(':')))) return false;
            Space();
            if (!Value()) return false;
            Space();
            if (Eat(close)) return true;
            if (!Eat(',')) return false;
            Space();
        }
    }
    bool String() {
        if (!Eat('"')) return false;
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c == '\\') {
                if (at_ >= text_.size()) return false;
                const char e = text_[at_++];
                if (e == 'u') {
                    for (int i = 0; i < 4; ++i) {
                        if (at_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[at_++])))
                            return false;
                    }
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool Number() {
        const std::size_t start = at_;
        Eat('-');
        if (!Digits()) return false;
        if (Eat('.') && !Digits()) return false;
        if (Eat('e') || Eat('E')) {
            if (!Eat('+')) Eat('-');
            if (!Digits()) return false;
        }
        return at_ > start;
    }
    bool Digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
        return at_ > start;
    }
    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }
    bool Eat(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    void Space() {
        while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos)
            ++at_;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int depth_ = 0;
};

}  // namespace mirabo::fuzz
