// Which label names each field, by position, and how a label's text is read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/field_labels.h"
#include "tests/ui/named_rows.h"

namespace {

using mirabo::platform::ControlBox;
using mirabo::platform::ControlRole;
using mirabo::platform::FieldLabels;
using mirabo::platform::LabelName;
using mirabo::test::PrintTo;
using mirabo::test::RowName;

ControlBox Field(int x, int y, int cx, int cy) { return {ControlRole::Field, x, y, x + cx, y + cy}; }
ControlBox Label(int x, int y, int cx, int cy) { return {ControlRole::Label, x, y, x + cx, y + cy}; }
ControlBox Other(int x, int y, int cx, int cy) { return {ControlRole::Other, x, y, x + cx, y + cy}; }

struct Layout {
    const char* name;
    std::vector<ControlBox> controls;  // rectangles as (x, y, width, height)
    std::vector<int> labels;           // what FieldLabels gives
};

class FieldLabelsTest : public ::testing::TestWithParam<Layout> {};

TEST_P(FieldLabelsTest, NamesEachFieldByWhereItsLabelStands) {
    EXPECT_EQ(FieldLabels(GetParam().controls), GetParam().labels);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Layouts, FieldLabelsTest, ::testing::Values(
    Layout{"LabelsListedAfterTheirFields",
           {Field(147, 0, 60, 13), Field(147, 14, 60, 13), Label(130, 2, 10, 9), Label(130, 16, 10, 10)},
           {2, 3, -1, -1}},
    Layout{"LabelsListedOutOfOrder",
           {Field(136, 0, 71, 12), Field(136, 12, 71, 12), Label(123, 14, 10, 10), Label(122, 1, 10, 10)},
           {3, 2, -1, -1}},
    Layout{"TheLabelOfTheRowBelowTouchingTheFieldIsNotIt",
           {Field(134, 14, 44, 12), Label(74, 2, 55, 12), Label(77, 15, 53, 12)}, {2, -1, -1}},
    Layout{"TheNearestOfTwoLabelsOnTheRow",
           {Label(0, 0, 20, 10), Label(30, 0, 20, 10), Field(60, 0, 40, 10)}, {-1, -1, 1}},
    Layout{"TwoFieldsOnOneRowEachTakeTheLabelBeforeThem",
           {Field(30, 0, 40, 10), Field(110, 0, 40, 10), Label(0, 0, 25, 10), Label(80, 0, 25, 10)}, {2, 3, -1, -1}},
    Layout{"ALabelToTheRightIsNotIt", {Field(0, 0, 40, 10), Label(45, 0, 20, 10)}, {-1, -1}},
    Layout{"LessThanHalfOnTheRowIsNotIt", {Field(40, 10, 40, 10), Label(0, 0, 30, 14)}, {-1, -1}},
    Layout{"HalfOnTheRowIsIt", {Field(40, 10, 40, 10), Label(0, 5, 30, 10)}, {1, -1}},
    Layout{"ALabelAboveWhenNoneIsBeside", {Label(0, 0, 30, 8), Field(0, 10, 60, 12)}, {-1, 0}},
    Layout{"TheLabelBesideBeforeTheOneAbove",
           {Label(0, 0, 30, 8), Label(0, 12, 20, 8), Field(25, 10, 60, 12)}, {-1, -1, 1}},
    Layout{"ALabelBelowIsNotIt", {Field(0, 0, 60, 12), Label(0, 14, 30, 8)}, {-1, -1}},
    Layout{"ALabelBelowDoesNotWinOverTheOneAbove",
           {Label(0, 0, 30, 8), Field(0, 14, 60, 12), Label(0, 28, 30, 8)}, {-1, 0, -1}},
    Layout{"ALabelFarAboveIsNotIt", {Label(0, 0, 30, 8), Field(0, 30, 60, 12)}, {-1, -1}},
    Layout{"PicturesButtonsAndOtherFieldsAreNeverLabels",
           {Other(0, 0, 30, 10), Field(40, 0, 40, 10), Field(90, 0, 40, 10)}, {-1, -1, -1}},
    Layout{"NoControls", {}, {}}),
    RowName());
// clang-format on

struct Spoken {
    std::wstring text;
    bool showsAmpersands;
    std::wstring name;
};

TEST(LabelNameTest, DropsMnemonicMarksAndBlanksAtTheEnds) {
    // clang-format off
    const std::vector<Spoken> cases = {
        {L"a", false, L"a"},
        {L"&Calculate", false, L"Calculate"},
        {L"A&&B", false, L"A&B"},
        {L"&&&x", false, L"&x"},
        {L"end&", false, L"end"},
        {L"A&B", true, L"A&B"},
        {L"電圧（V)", false, L"電圧（V)"},
        {L"      プログラム製作　Mirabo", false, L"プログラム製作　Mirabo"},
        {L"\u3000α\u3000", false, L"α"},
        {L" \t\n", false, L""},
        {L"", false, L""},
    };
    // clang-format on
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_TRUE(LabelName(cases[i].text, cases[i].showsAmpersands) == cases[i].name) << "case " << i;
    }
}

}  // namespace
