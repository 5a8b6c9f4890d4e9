#include "tests/windows/calculators.h"

#include <string_view>

#include "calc/calculators.h"

namespace mirabo::wintest {

const wchar_t kAboutCaption[] = L"Mirabo\u3000for WindowsCE のバージョン情報";

namespace {

// What each calculator shows, by the register's id.
struct Expected {
    std::string_view id;
    const wchar_t* button;
    int item;
    const wchar_t* caption;
    std::vector<FieldText> results;
    const wchar_t* missingInput;
};

const std::vector<Expected>& ExpectedTexts() {
    static const wchar_t kMissing[] = L"入力値が不足、\n或いはタイプミス";
    // clang-format off
    static const std::vector<Expected> expected = {
        {"coordinate_rotation", L"関数", 0, L"座標移動の計算",
         {{1001, L"3"}, {1002, L"4"}, {1003, L"+30.000"}, {1006, L"+0.598"}, {1007, L"+4.964"}},
         kMissing},
        {"oblique_triangle", L"関数", 1, L"非直角三角形の計算",
         {{1001, L"7.000"}, {1002, L"8.000"}, {1003, L"9.000"}, {1006, L"58.412"}, {1007, L"48.190"},
          {1008, L"73.398"}},
         L"入力値が不足、或いはタイプミス\n負の値は使用できません。"},
        {"right_triangle", L"関数", 2, L"直角三角関数の計算",
         {{1001, L"3.000"}, {1002, L"4.000"}, {1003, L"5.000"}, {1004, L"53.130"}, {1005, L"36.870"}},
         kMissing},
        {"ohms_law", L"計算", 0, L"オームの法則の計算",
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
