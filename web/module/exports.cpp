// What the page calls in the WebAssembly module: the calculators' description,
// the fields' text buffers, a calculation and the Clear routine, each answered
// with a JSON record (web_form.h) that the page acts out.
#include <emscripten/emscripten.h>

#include <span>
#include <string>

#include "calc/calculators.h"
#include "res/resource.h"
#include "web/module/web_form.h"

namespace {

using namespace mirabo;

web::WebForm form;
std::string reply;

const Calculator* Find(int templateId) {
    for (const Calculator* c : kCalculators) {
        if (c->templateId == templateId) return c;
    }
    return nullptr;
}

void SetAll(const Calculator& calculator, const wchar_t* text) {
    for (const CalculatorField& field : calculator.fields) {
        FieldBuffer& buffer = form.Field(field.controlId);
        std::wcsncpy(buffer, text, kFieldCapacity - 1);
        buffer[kFieldCapacity - 1] = L'\0';
    }
}

// Whether the calculator's fields take a minus: asked of the solver itself,
// which computes with every input -1 only when its number rule allows a sign.
bool TakesMinus(const Calculator& calculator) {
    SetAll(calculator, L"-1");
    form.Begin(0, 0);
    calculator.solve(form);
    form.Finish(0);
    const bool takes = !form.Spoke();
    SetAll(calculator, L"");
    return takes;
}

std::string Describe() {
    std::string out =
        "{\"fieldCapacity\":" + std::to_string(kFieldCapacity) +
        ",\"menu\":" + std::to_string(IDR_MAIN_MENU) + ",\"title\":" + std::to_string(IDS_APP_TITLE) +
        ",\"mainText\":" + std::to_string(IDS_MAIN_TEXT) +
        ",\"about\":{\"command\":" + std::to_string(IDM_ABOUT) +
        ",\"template\":" + std::to_string(IDD_ABOUT) + "},\"exit\":" + std::to_string(IDM_EXIT) +
        ",\"back\":" + std::to_string(IDC_BACK) + ",\"buttonsYesNo\":" + std::to_string(kButtonsYesNo) +
        ",\"answerYes\":" + std::to_string(kAnswerYes) + ",\"answerNo\":" + std::to_string(kAnswerNo) +
        ",\"buttonTexts\":{\"ok\":" + std::to_string(IDS_BUTTON_OK) + ",\"yes\":" + std::to_string(IDS_BUTTON_YES) +
        ",\"no\":" + std::to_string(IDS_BUTTON_NO) + "}" +
        ",\"calculators\":[";
    bool first = true;
    for (const Calculator* c : kCalculators) {
        const Calculator& k = *c;
        out += first ? "" : ",";
        first = false;
        out += "{\"command\":" + std::to_string(k.menuCommand) +
               ",\"template\":" + std::to_string(k.templateId) +
               ",\"calculate\":" + std::to_string(k.calculateId) + ",\"clear\":" + std::to_string(k.clearId) +
               ",\"minus\":" + (TakesMinus(k) ? "true" : "false") + ",\"fields\":[";
        for (std::size_t i = 0; i < k.fields.size(); ++i) {
            out += (i ? "," : "") + std::string("{\"id\":") + std::to_string(k.fields[i].controlId) +
                   ",\"input\":" + (k.fields[i].role == FieldRole::Input ? "true" : "false") + "}";
        }
        out += "]}";
    }
    return out + "]}";
}

}  // namespace

extern "C" {

// The calculators, their fields and the identifiers the page needs, as JSON.
EMSCRIPTEN_KEEPALIVE const char* mirabo_describe() {
    reply = Describe();
    return reply.c_str();
}

// The text buffer of a field: the page writes the field's characters there,
// one code point a unit, at most 99 and a zero.
EMSCRIPTEN_KEEPALIVE wchar_t* mirabo_field(int controlId) { return form.Field(controlId); }

// Runs the calculator of the template with its fields as written, answering
// the questions as Begin says; the record, or null for an unknown template.
EMSCRIPTEN_KEEPALIVE const char* mirabo_calculate(int templateId, int answerCount, unsigned yesBits) {
    const Calculator* calculator = Find(templateId);
    if (calculator == nullptr) return nullptr;
    form.Begin(answerCount, yesBits);
    reply = form.Finish(static_cast<int>(calculator->solve(form)));
    return reply.c_str();
}

// Clear: every field of the calculator emptied, in field order, and the focus
// on its first field; the record, or null for an unknown template.
EMSCRIPTEN_KEEPALIVE const char* mirabo_clear(int templateId) {
    const Calculator* calculator = Find(templateId);
    if (calculator == nullptr) return nullptr;
    form.Begin(0, 0);
    const FieldBuffer empty = {};
    for (const CalculatorField& field : calculator->fields) form.SetFieldText(field.controlId, empty);
    form.FocusField(FirstFieldId(*calculator));
    reply = form.Finish(0);
    return reply.c_str();
}
}
