// The fixed texts the calculators show. "\n" is a line break.
#pragma once

namespace mirabo {

inline constexpr const wchar_t* MSG_MISSING_INPUT = L"入力値が不足、\n或いはタイプミス";
inline constexpr const wchar_t* MSG_NEGATIVE_NOT_ALLOWED =
    L"入力値が不足、或いはタイプミス\n負の値は使用できません。";
// The zero is the full-width digit U+FF10.
inline constexpr const wchar_t* MSG_CALC_EXCEPTION =
    L"例外が発生しました。\n\uFF10で除算したか、入力値が間違っています。";
// The third line keeps its space before "。"; the question has no question mark.
inline constexpr const wchar_t* MSG_CONFIRM_NONFINITE =
    L"正常に表示出来ません。\n引数及び結果が無限値、非数、\n計算不可値である可能性があります 。\n無視して表示しますか";

}  // namespace mirabo
