// Classic dialog templates built in memory word by word, for the tests of the
// dialog manager on every platform.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace mirabo::test {

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

class TemplateBuilder {
public:
    TemplateBuilder(DWORD style, const std::u16string& title, int cx, int cy, WORD pointSize = 9) {
        Dword(style | DS_SETFONT);
        Dword(0);
        countAt_ = words_.size();
        words_.push_back(0);
        for (int v : {0, 0, cx, cy}) words_.push_back(static_cast<WORD>(v));
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the dialog class
        Text(title);
        words_.push_back(pointSize);
        Text(u"ＭＳ ゴシック");
    }

    TemplateBuilder& Item(WORD classOrdinal, DWORD style, int id, const std::u16string& title, int x = 0,
                          int y = 0, int cx = 40, int cy = 12) {
        if (words_.size() % 2) words_.push_back(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (int v : {x, y, cx, cy, id}) words_.push_back(static_cast<WORD>(v));
        words_.push_back(0xFFFF);
        words_.push_back(classOrdinal);
        Text(title);
        words_.push_back(0);
        ++words_[countAt_];
        return *this;
    }

    LPCDLGTEMPLATEW Get() {
        bytes_.assign(words_.size() * 2, 0);
        for (std::size_t i = 0; i < words_.size(); ++i) {
            bytes_[2 * i] = words_[i] & 0xFF;
            bytes_[2 * i + 1] = words_[i] >> 8;
        }
        return reinterpret_cast<LPCDLGTEMPLATEW>(bytes_.data());
    }

private:
    void Dword(DWORD value) {
        words_.push_back(value & 0xFFFF);
        words_.push_back(value >> 16);
    }
    void Text(const std::u16string& text) {
        for (char16_t c : text) words_.push_back(c);
        words_.push_back(0);
    }

    std::vector<WORD> words_;
    std::size_t countAt_ = 0;
    alignas(4) std::vector<unsigned char> bytes_;
};

// An edit (10), a label, a push button "Go" (11), a read-only edit (12), and a
// cancel button (2); no default button.
inline TemplateBuilder SmallTemplate() {
    TemplateBuilder builder(WS_POPUP | WS_CAPTION, u"Small", 120, 80);
    builder.Item(kEditClass, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 10, u"start", 50, 0, 60, 12)
        .Item(kStaticClass, SS_LEFT, 0xFFFF, u"&Label", 0, 0, 40, 10)
        .Item(kButtonClass, WS_TABSTOP | BS_PUSHBUTTON, 11, u"Go", 0, 20)
        .Item(kEditClass, WS_TABSTOP | WS_BORDER | ES_READONLY, 12, u"", 50, 20, 60, 12)
        .Item(kButtonClass, WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, u"Cancel", 0, 40);
    return builder;
}

}  // namespace mirabo::test
