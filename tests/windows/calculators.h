// The program's calculators as a person reaches them: every calculator of the
// register (kCalculators), with the menu-bar button and item that open it, its
// caption, its Calculate button, and its first example with the texts it
// gives; texts in each of the program's languages.
#pragma once

#include <string>
#include <vector>

namespace mirabo::wintest {

// A text the program shows, in Japanese and in English (res/mirabo.rc).
struct Translated {
    const wchar_t* japanese;
    const wchar_t* english;
};

// Whether the program speaks Japanese here: it follows the user's UI
// language, Japanese for a Japanese one and English for any other.
bool ProgramSpeaksJapanese();
// The text in the language the program speaks here.
std::wstring InProgramLanguage(const Translated& text);

struct FieldText {
    int id;
    const wchar_t* text;
};

struct Calculator {
    const char* name;  // the register's id: "right_triangle"
    // What a person sees, from the table of expected texts; the caption's
    // texts null, and the results empty, for a calculator the table does not
    // know yet.
    int button;  // the menu-bar button, 0 for the first
    int item;    // in the button's pop-up, separators not counted
    Translated caption;
    int calculateId;
    int clearId;
    std::vector<FieldText> example;  // typed: the register's first example
    std::vector<FieldText> results;  // every field after Calculate
    Translated missingInput;         // the message for missing input
};

// In the register's order.
const std::vector<Calculator>& Calculators();

// The menu-bar buttons' texts, left to right.
const std::vector<Translated>& MenuBarButtonTexts();

// The About box's caption, and where it is in the menus.
extern const Translated kAboutCaption;
const int kVersionButton = 2;
const int kAboutItem = 0;
// The Exit item.
const int kFunctionsButton = 0;
const int kExitItem = 3;

}  // namespace mirabo::wintest
