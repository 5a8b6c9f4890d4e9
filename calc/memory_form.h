// A calculation form held in memory: the fields are strings, messages are
// recorded and answered by a callback. The benchmarks, the fuzz targets and the
// tests drive the solvers through it.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "calc/form.h"

namespace mirabo {

class MemoryForm : public CalcForm {
public:
    struct Message {
        int id;       // MSG_... of calc/messages.h
        int buttons;  // kButtonsOk or kButtonsYesNo
        int answer;   // kAnswerOk, kAnswerYes or kAnswerNo
    };

    // How a Yes/No question is answered; by default No.
    using Answerer = std::function<int(int messageId)>;

    MemoryForm() = default;

    void SetText(int controlId, std::wstring text) { fields_[controlId] = std::move(text); }
    // A field never set reads as the empty text.
    const std::wstring& Text(int controlId) const;
    void SetAnswerer(Answerer answerer) { answerer_ = std::move(answerer); }

    const std::vector<Message>& Messages() const { return messages_; }
    std::optional<int> Focus() const { return focus_; }
    bool Written() const { return !written_.empty(); }
    // The fields written by the last calculations, in the order they were written.
    const std::vector<int>& WrittenFields() const { return written_; }
    // The exact value behind each written field's text.
    const std::map<int, double>& Values() const { return values_; }

    void ReadField(FieldBuffer& buffer, int controlId) override;
    void SetFieldText(int controlId, const FieldBuffer& buffer) override;
    void FocusField(int controlId) override { focus_ = controlId; }
    int ShowMessage(int messageId, int buttons) override;
    void NoteFieldValue(int controlId, double value) override { values_[controlId] = value; }

private:
    std::map<int, std::wstring> fields_;
    Answerer answerer_;
    std::vector<Message> messages_;
    std::optional<int> focus_;
    std::vector<int> written_;
    std::map<int, double> values_;
};

}  // namespace mirabo
