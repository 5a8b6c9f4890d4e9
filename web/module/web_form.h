// The calculation form of the web page: the fields' texts as the page typed
// them, and a record of what a calculation did to them (texts written, focus
// moved, messages shown and questions asked, by their string identifiers),
// which the page then acts out.
#pragma once

#include <map>
#include <string>

#include "calc/calculators.h"
#include "calc/form.h"

namespace mirabo::web {

class WebForm : public CalcForm {
public:
    // The field's text, written by the page: at most 99 characters and a zero.
    FieldBuffer& Field(int controlId) { return fields_[controlId]; }

    // Starts a new record. The page cannot wait inside a calculation for the
    // user's answer, so it runs the calculation again with the answers given
    // so far: the i-th question is answered Yes when bit i of `yesBits` is
    // set and No otherwise; the first question beyond `answerCount` is
    // recorded as pending, answered No, and ends what the page acts out.
    void Begin(int answerCount, unsigned yesBits);
    // The record as JSON: {"events":[...],"result":N}.
    const std::string& Finish(int result);

    void ReadField(FieldBuffer& buffer, int controlId) override;
    void SetFieldText(int controlId, const FieldBuffer& buffer) override;
    void FocusField(int controlId) override;
    int ShowMessage(int messageId, int buttons) override;

    // Whether the last calculation showed any message or asked anything.
    bool Spoke() const { return spoke_; }

private:
    void Event(const char* kind, int value);

    std::map<int, FieldBuffer> fields_;
    std::string record_;
    int answerCount_ = 0;
    unsigned yesBits_ = 0;
    int asked_ = 0;
    bool spoke_ = false;
    bool pending_ = false;
};

// Every character outside printable ASCII as a \u escape (a surrogate pair
// beyond the first plane), so that the page decodes the record as it is.
void AppendJsonString(std::string& out, const wchar_t* text);

}  // namespace mirabo::web
