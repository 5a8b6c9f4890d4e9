#include "tests/windows/calculators.h"

#include <windows.h>

#include <string_view>

#include "calc/calculators.h"

namespace mirabo::wintest {

bool ProgramSpeaksJapanese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

std::wstring InProgramLanguage(const Translated& text) {
    return ProgramSpeaksJapanese() ? text.japanese : text.english;
}

const Translated kAboutCaption = {L"Mirabo\u3000for WindowsCE のバージョン情報",
                                  L"About Mirabo for WindowsCE"};

const std::vector<Translated>& MenuBarButtonTexts() {
    static const std::vector<Translated> texts = {
        {L"関数", L"Functions"}, {L"計算", L"Calculations"}, {L"バージョン", L"Version"}};
    return texts;
}

namespace {

// What each calculator shows, by the register's id.
struct Expected {
    std::string_view id;
    int button;
    int item;
    Translated caption;
    std::vector<FieldText> results;
    Translated missingInput;
};

const std::vector<Expected>& ExpectedTexts() {
    static const Translated kMissing = {L"入力値が不足、\n或いはタイプミス",
                                        L"Missing input\nor a typing error."};
    // clang-format off
    static const std::vector<Expected> expected = {
        {"coordinate_rotation", 0, 0, {L"座標移動の計算", L"Coordinate Rotation"},
         {{1001, L"3"}, {1002, L"4"}, {1003, L"+30.000"}, {1006, L"+0.598"}, {1007, L"+4.964"}},
         kMissing},
        {"oblique_triangle", 0, 1, {L"非直角三角形の計算", L"Oblique Triangle"},
         {{1001, L"7.000"}, {1002, L"8.000"}, {1003, L"9.000"}, {1006, L"58.412"}, {1007, L"48.190"},
          {1008, L"73.398"}},
         {L"入力値が不足、或いはタイプミス\n負の値は使用できません。",
          L"Missing input or a typing error.\nNegative values are not allowed."}},
        {"right_triangle", 0, 2, {L"直角三角関数の計算", L"Right Triangle"},
         {{1001, L"3.000"}, {1002, L"4.000"}, {1003, L"5.000"}, {1004, L"53.130"}, {1005, L"36.870"}},
         kMissing},
        {"ohms_law", 1, 0, {L"オームの法則の計算", L"Ohm's Law"},
         {{1001, L"10.000"}, {1002, L"2.000"}, {1003, L"5.000"}, {1004, L"20.000"}},
         kMissing},
    };
    // clang-format on
    return expected;
}

}  // namespace

const std::vector<Calculator>& Calculators() {
    static const std::vector<Calculator> calculators = [] {
        std::vector<Calculator> all;
        for (const mirabo::Calculator* registered : mirabo::kCalculators) {
            Calculator calculator{};
            calculator.name = registered->id.data();
            calculator.calculateId = registered->calculateId;
            calculator.clearId = registered->clearId;
            for (const mirabo::FieldText& typed : registered->example) {
                calculator.example.push_back({typed.controlId, typed.text});
            }
            for (const Expected& expected : ExpectedTexts()) {
                if (expected.id != registered->id) continue;
                calculator.button = expected.button;
                calculator.item = expected.item;
                calculator.caption = expected.caption;
                calculator.results = expected.results;
                calculator.missingInput = expected.missingInput;
            }
            all.push_back(std::move(calculator));
        }
        return all;
    }();
    return calculators;
}

}  // namespace mirabo::wintest
