// A calculation form: one calculator seen as a set of text fields addressed by
// control identifiers (calc/calculators.h). The solvers reach their dialog only through
// these services, so they run the same against a real dialog, the command line or
// an object held in memory by a test.
#pragma once

#include <cstddef>

namespace mirabo {

// One field's text and its terminating zero: at most 99 characters.
constexpr std::size_t kFieldCapacity = 100;
using FieldBuffer = wchar_t[kFieldCapacity];

// Button styles and answers of ShowMessage, with the platform's values.
constexpr int kButtonsOk = 0;     // MB_OK
constexpr int kButtonsYesNo = 4;  // MB_YESNO
constexpr int kAnswerOk = 1;      // IDOK
constexpr int kAnswerYes = 6;     // IDYES
constexpr int kAnswerNo = 7;      // IDNO

class CalcForm {
public:
    virtual ~CalcForm() = default;

    // Copies the field's text into the buffer: at most 99 characters and a
    // terminating zero; a longer text is cut after its 99th character.
    virtual void ReadField(FieldBuffer& buffer, int controlId) = 0;
    // Replaces the field's text with the buffer's text.
    virtual void SetFieldText(int controlId, const FieldBuffer& buffer) = 0;
    // Moves the keyboard focus to the field.
    virtual void FocusField(int controlId) = 0;
    // Shows message `messageId` (calc/messages.h), in the text the front end
    // holds for it, modally and owned by the form, with kButtonsOk or
    // kButtonsYesNo, and returns the answer (kAnswerOk, kAnswerYes or kAnswerNo).
    virtual int ShowMessage(int messageId, int buttons) = 0;

    // Told the exact value behind each text just before the text is written, for
    // front ends that report full precision. Most forms ignore it.
    virtual void NoteFieldValue(int /*controlId*/, double /*value*/) {}
};

}  // namespace mirabo
