// What screen readers are told on Windows, in the language the program
// speaks here: the fields named after the labels beside them and the
// pictures with their words (given by the platform layer through the
// system's accessibility property service), and the menu bar's drawn
// buttons still read by their texts.
#include <gtest/gtest.h>

// clang-format off
#include <windows.h>
#include <oleacc.h>
// clang-format on

#include <map>
#include <string>
#include <vector>

#include "platform/windows/accessible_names.h"
#include "tests/windows/calculators.h"
#include "tests/windows/program_driver.h"

namespace mirabo::wintest {
namespace {

// What the pictures show, in each language (res/mirabo.rc).
const Translated kCoordinatePicture = {
    L"座標移動の図：原点から延びる二本の線の先に点 X1,Y1 と点 X2,Y2、二本の線の間の角が α",
    L"Coordinate rotation diagram: two lines from the origin ending at the points X1,Y1 and X2,Y2, with the "
    L"angle α between them"};
const Translated kRightPicture = {
    L"直角三角形の図：底辺 a、右の縦の辺 b、斜辺 c。a と c の間の角が α、c と b の間の角が β、a と b の間が直角",
    L"Right triangle diagram: base a, right vertical side b, hypotenuse c. Angle α between a and c, angle β "
    L"between c and b, a right angle between a and b"};
const Translated kObliquePicture = {
    L"三角形の図：底辺 a、右の辺 b、斜めの辺 c。a と c の間の角が α、c と b の間の角が β、a と b の間の角が γ",
    L"Triangle diagram: base a, right side b, slanted side c. Angle α between a and c, angle β between c and b, "
    L"angle γ between a and b"};
const Translated kIcon = {L"Mirabo のアイコン：黒地に赤い円と黄色の直角三角形",
                          L"Mirabo icon: a red circle and a yellow right triangle on black"};

// A symbol reads the same in every language.
Translated Same(const wchar_t* text) { return {text, text}; }

// A template's named controls: fields by identifier, and its one picture
// (identifier -1 here), each name in both languages.
struct NamedTemplate {
    const char* name;
    int templateId;
    std::map<int, Translated> names;
};

const int kPicture = -1;

// clang-format off
const std::vector<NamedTemplate>& Templates() {
    static const std::vector<NamedTemplate> templates = {
        {"CoordinateRotation", 104,
         {{1001, {L"移動するXの値", L"Point X"}}, {1002, {L"移動するYの値", L"Point Y"}},
          {1003, {L"移動する角度", L"Angle"}}, {1006, {L"移動後のXの値", L"Rotated X"}},
          {1007, {L"移動後のYの値", L"Rotated Y"}}, {kPicture, kCoordinatePicture}}},
        {"RightTriangle", 105,
         {{1001, Same(L"a")}, {1002, Same(L"b")}, {1003, Same(L"c")}, {1004, Same(L"α")}, {1005, Same(L"β")},
          {kPicture, kRightPicture}}},
        {"ObliqueTriangle", 108,
         {{1001, Same(L"a")}, {1002, Same(L"b")}, {1003, Same(L"c")}, {1006, Same(L"α")}, {1007, Same(L"β")},
          {1008, Same(L"γ")}, {kPicture, kObliquePicture}}},
        {"OhmsLaw", 121,
         {{1001, {L"電圧（V)", L"Volts"}}, {1002, {L"電流（A)", L"Amps"}}, {1003, {L"抵抗（Ω）", L"Ohms"}},
          {1004, {L"電力（W)", L"Watts"}}}},
        {"AboutBox", 103, {{kPicture, kIcon}}},
    };
    return templates;
}
// clang-format on

// The names expected in the language the program speaks here.
std::map<int, std::wstring> NamesInProgramLanguage(const std::map<int, Translated>& names) {
    std::map<int, std::wstring> chosen;
    for (const auto& [id, name] : names) chosen[id] = InProgramLanguage(name);
    return chosen;
}

void PrintTo(const NamedTemplate& t, std::ostream* os) { *os << t.name; }

INT_PTR CALLBACK NothingHandled(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The program's resources, read from mirabo.exe.
HMODULE ProgramResources() {
    static HMODULE module = LoadLibraryExW(ProgramPath().c_str(), NULL,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return module;
}

// The controls' names as the dialog's identifiers know them; every picture
// counts as kPicture.
std::map<int, std::wstring> ById(const std::vector<windows::ControlName>& given) {
    std::map<int, std::wstring> names;
    for (const windows::ControlName& n : given) {
        const int id = GetDlgCtrlID(n.control);
        names[id == 0xFFFF || id == -1 ? kPicture : id] = n.name;
    }
    return names;
}

// Whether the system's property service takes names here (Wine's does not).
bool PropertyServiceTakesNames() {
    HWND probe = CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    IAccPropServices* service = NULL;
    bool takes = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, NULL, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                   reinterpret_cast<void**>(&service)))) {
        takes = SUCCEEDED(service->SetHwndPropStr(probe, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, L"x"));
        service->Release();
    }
    DestroyWindow(probe);
    return takes;
}

// The name a screen reader gets for the window, or "(none)".
std::wstring AccessibleName(HWND window) {
    IAccessible* accessible = NULL;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible)))) {
        return L"(no object)";
    }
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = NULL;
    std::wstring result = L"(none)";
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name != NULL) {
        result = name;
        SysFreeString(name);
    }
    accessible->Release();
    return result;
}

class NamedTemplateTest : public ::testing::TestWithParam<NamedTemplate> {
protected:
    void SetUp() override {
        CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
        ASSERT_NE(ProgramResources(), nullptr) << "cannot read the program's resources";
        dialog_ = CreateDialogParamW(ProgramResources(), MAKEINTRESOURCEW(GetParam().templateId), NULL,
                                     NothingHandled, 0);
        ASSERT_NE(dialog_, nullptr);
    }
    void TearDown() override {
        if (dialog_ != NULL) DestroyWindow(dialog_);
    }
    HWND dialog_ = NULL;
};

TEST_P(NamedTemplateTest, FieldsAreNamedAfterTheLabelsBesideThemAndPicturesWithTheirWords) {
    EXPECT_EQ(ById(windows::NameControlsForScreenReaders(dialog_)), NamesInProgramLanguage(GetParam().names));
}

TEST_P(NamedTemplateTest, ScreenReadersGetTheNamesGiven) {
    if (!PropertyServiceTakesNames())
        GTEST_SKIP() << "the accessibility property service takes no names here";
    for (const windows::ControlName& n : windows::NameControlsForScreenReaders(dialog_)) {
        EXPECT_EQ(AccessibleName(n.control), n.name) << "control " << GetDlgCtrlID(n.control);
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, NamedTemplateTest, ::testing::ValuesIn(Templates()),
                         [](const auto& info) { return std::string(info.param.name); });

// The menu bar's buttons are drawn by the program; screen readers still read
// their texts.
TEST(MenuBarAccessibilityTest, TheDrawnButtonsAreReadByTheirTexts) {
    RunningProgram program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    std::vector<std::wstring> names, expected;
    for (HWND b : MenuBarButtons(main)) names.push_back(AccessibleName(b));
    for (const Translated& text : MenuBarButtonTexts()) expected.push_back(InProgramLanguage(text));
    EXPECT_EQ(names, expected);
    PostMessageW(main, WM_COMMAND, 40007, 0);  // Exit
    EXPECT_EQ(program.WaitForExit(kPatience), 0);
}

}  // namespace
}  // namespace mirabo::wintest
