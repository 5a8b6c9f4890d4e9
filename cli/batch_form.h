// The calculation form behind one batch row, and behind mirabo-calc's single
// calculation: the form's fields in fixed buffers, its messages, focus and exact
// values, reused row after row without allocating.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/form.h"
#include "cli/forms.h"

namespace mirabo {

class BatchForm : public CalcForm {
public:
    static constexpr std::size_t kMaxFields = 8;

    struct Message {
        int id;       // MSG_... of calc/messages.h
        int buttons;  // kButtonsOk or kButtonsYesNo
        int answer;   // kAnswerOk, kAnswerYes or kAnswerNo
    };

    // `answer` answers every Yes/No question: kAnswerYes or kAnswerNo.
    BatchForm(const Calculator& form, int answer);

    // Asks each Yes/No question instead, which gives kAnswerYes or kAnswerNo.
    using Asker = std::function<int(int messageId)>;
    void SetAsker(Asker ask) { ask_ = std::move(ask); }

    const Calculator& Form() const { return form_; }
    std::size_t FieldCount() const { return form_.fields.size(); }

    // Every field empty; no message, focus, written field, value, long text or
    // carried cell.
    void Clear();
    // Types UTF-8 text into the field at `slot` (its place in the form's field
    // order). False, leaving the field empty, when the text is longer than the
    // 99 characters a field holds, counted in UTF-16 units (a character beyond
    // U+FFFF counts two) on every platform.
    bool Type(std::size_t slot, std::string_view utf8);
    // The same with wide text.
    bool Type(std::size_t slot, std::wstring_view text);

    const wchar_t* Text(std::size_t slot) const { return texts_[slot]; }

    // The cells of the row that go into no field, kept as they were read, in
    // storage reused row after row: the text of a cell too long for its field
    // (the field stays empty), and the cells of the columns carried through.
    void KeepLongText(std::size_t slot, std::string_view utf8) { longTexts_[slot].assign(utf8); }
    std::string_view LongText(std::size_t slot) const { return longTexts_[slot]; }
    void SetCarriedColumns(std::size_t count) { carried_.resize(count); }
    void Carry(std::size_t column, std::string_view utf8) { carried_[column].assign(utf8); }
    std::string_view Carried(std::size_t column) const { return carried_[column]; }
    bool Written() const { return written_; }
    bool HasValue(std::size_t slot) const { return hasValue_[slot]; }
    double Value(std::size_t slot) const { return values_[slot]; }
    // The slot of the focused field, or -1 when the focus did not move.
    int Focus() const { return focus_; }
    // The messages shown since Clear(), in order.
    const Message* MessagesBegin() const { return messages_.data(); }
    std::size_t MessageCount() const { return messageCount_; }

    void ReadField(FieldBuffer& buffer, int controlId) override;
    void SetFieldText(int controlId, const FieldBuffer& buffer) override;
    void FocusField(int controlId) override;
    int ShowMessage(int messageId, int buttons) override;
    void NoteFieldValue(int controlId, double value) override;

private:
    int SlotOf(int controlId) const {
        const unsigned index = static_cast<unsigned>(controlId - firstId_);
        return index < kIdSpan ? slotOf_[index] : -1;
    }

    // Control identifiers from the form's lowest on, to their slots (or -1).
    static constexpr unsigned kIdSpan = 32;

    const Calculator& form_;
    int answer_;
    Asker ask_;
    int firstId_;
    signed char slotOf_[kIdSpan];
    FieldBuffer texts_[kMaxFields];
    bool hasValue_[kMaxFields];
    double values_[kMaxFields];
    bool written_ = false;
    int focus_ = -1;
    std::string longTexts_[kMaxFields];
    std::vector<std::string> carried_;  // by carried column
    std::vector<Message> messages_;     // the first messageCount_ are this row's
    std::size_t messageCount_ = 0;
};

}  // namespace mirabo
