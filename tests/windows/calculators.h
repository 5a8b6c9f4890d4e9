// The program's calculators as a person reaches them: every calculator of the
// register (kCalculators), with the menu-bar button and item that open it, its
// caption, its Calculate button, and its first example with the texts it gives.
#pragma once

#include <string>
#include <vector>

namespace mirabo::wintest {

struct FieldText {
    int id;
    const wchar_t* text;
};

struct Calculator {
    const char* name;  // the register's id: "right_triangle"
    // What a person sees, from the table of expected texts; null, and the
    // vectors empty, for a calculator the table does not know yet.
    const wchar_t* button;
    int item;  // in the button's pop-up, separators not counted
    const wchar_t* caption;
    int calculateId;
    int clearId;
    std::vector<FieldText> example;  // typed: the register's first example
    std::vector<FieldText> results;  // every field after Calculate
    const wchar_t* missingInput;     // the message for missing input
};

// In the register's order.
const std::vector<Calculator>& Calculators();

// The About box's caption.
extern const wchar_t kAboutCaption[];

}  // namespace mirabo::wintest
