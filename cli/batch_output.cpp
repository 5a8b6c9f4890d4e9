#include "cli/batch_output.h"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <utility>

#include "calc/conversions.h"
#include "calc/form.h"
#include "calc/messages.h"
#include "cli/message_texts.h"
#include "text/json_string.h"
#include "text/utf8.h"

namespace mirabo {
namespace {

// Room for one field's text written out: at most 99 units, none taking more
// than six bytes (a JSON \u escape, or UTF-8 with its quote doubled), and two quotes.
constexpr std::size_t kTextRoom = 6 * (kFieldCapacity - 1) + 2;
// Room for the shortest text of a double and its quotes.
constexpr std::size_t kValueRoom = 32;

constexpr std::string_view kTooLong = ": longer than the 99 characters a field holds";

// Whether a character makes its CSV cell need quotes: a comma, a quote or a line break.
bool NeedsQuotes(char32_t c) {
    constexpr std::uint64_t kSpecial = 1ull << ',' | 1ull << '"' | 1ull << '\r' | 1ull << '\n';
    return c < 64 && ((kSpecial >> c) & 1) != 0;
}

// A field's text as one CSV cell, quoted when it holds a comma, a quote or a
// line break, and then `after`.
void PutCsvCell(BufferedWriter& out, const wchar_t* text, char after) {
    char* const start = out.Reserve(kTextRoom + 1);
    char* p = start;
    // Plain ASCII, as every number is, goes byte for byte.
    const wchar_t* t = text;
    for (; *t != L'\0' && *t < 0x80 && !NeedsQuotes(static_cast<char32_t>(*t)); ++t) {
        *p++ = static_cast<char>(*t);
    }
    if (*t != L'\0') {
        bool quoted = false;
        for (const wchar_t* rest = t; *rest != L'\0'; ++rest) {
            quoted = quoted || NeedsQuotes(static_cast<char32_t>(*rest));
        }
        p = start;
        if (quoted) {
            *p++ = '"';
        }
        for (t = text; *t != L'\0';) {
            if (*t < 0x80) {
                if (*t == L'"') {
                    *p++ = '"';
                }
                *p++ = static_cast<char>(*t++);
            } else {
                p = PutUtf8(p, NextCharacter(t));
            }
        }
        if (quoted) {
            *p++ = '"';
        }
    }
    *p++ = after;
    out.Commit(p);
}

void PutCsvCell(BufferedWriter& out, std::string_view utf8) {
    bool quoted = false;
    for (const char c : utf8) {
        quoted = quoted || NeedsQuotes(static_cast<unsigned char>(c));
    }
    if (!quoted) {
        out.Put(utf8);
        return;
    }
    out.Put('"');
    for (const char c : utf8) {
        if (c == '"') {
            out.Put('"');
        }
        out.Put(c);
    }
    out.Put('"');
}

void PutJsonString(BufferedWriter& out, const wchar_t* text) {
    char* p = out.Reserve(kTextRoom);
    *p++ = '"';
    for (const wchar_t* t = text; *t != L'\0';) {
        if (*t >= 0x20 && *t < 0x7F && *t != L'"' && *t != L'\\') {
            *p++ = static_cast<char>(*t++);  // stands as it is
        } else {
            p = PutJsonEscaped(p, NextCharacter(t));
        }
    }
    *p++ = '"';
    out.Commit(p);
}

void PutJsonString(BufferedWriter& out, std::string_view utf8) {
    EscapeJson(utf8, [&](const char* bytes, std::size_t size) { out.Put({bytes, size}); });
}

// A field's cell as the row leaves it: a text too long for the field as it was read.
void PutCsvField(BufferedWriter& out, const BatchForm& form, const RowOutcome& outcome, std::size_t slot) {
    if (outcome.longFields & (1u << slot)) {
        PutCsvCell(out, form.LongText(slot));
        out.Put(',');
    } else {
        PutCsvCell(out, form.Text(slot), ',');
    }
}

class CsvRowWriter : public RowWriter {
public:
    CsvRowWriter(BufferedWriter& out, const Calculator& form, Answering answering, bool bom,
                 CarriedColumns carried)
        : out_(out), form_(form), message_(answering), bom_(bom), carried_(std::move(carried)) {}

    void Begin() override {
        if (bom_) {
            out_.Put("\xEF\xBB\xBF");
        }
        for (std::size_t i = 0; i < carried_.leading; ++i) {
            PutCsvCell(out_, carried_.names[i]);
            out_.Put(',');
        }
        for (const CalculatorField& field : form_.fields) {
            out_.Put(field.name);
            out_.Put(',');
        }
        for (std::size_t i = carried_.leading; i < carried_.names.size(); ++i) {
            PutCsvCell(out_, carried_.names[i]);
            out_.Put(',');
        }
        out_.Put("status,message\r\n");
    }

    void Row(const BatchForm& form, const RowOutcome& outcome) override {
        for (std::size_t i = 0; i < carried_.leading; ++i) {
            PutCsvCell(out_, form.Carried(i));
            out_.Put(',');
        }
        for (std::size_t slot = 0; slot < form.FieldCount(); ++slot) {
            PutCsvField(out_, form, outcome, slot);
        }
        for (std::size_t i = carried_.leading; i < carried_.names.size(); ++i) {
            PutCsvCell(out_, form.Carried(i));
            out_.Put(',');
        }
        out_.Put(RowStatusName(outcome.status));
        out_.Put(',');
        if (form.MessageCount() != 0 || outcome.longFields != 0) {
            PutCsvCell(out_, message_.Compose(form, outcome));
        }
        out_.Put("\r\n");
    }

private:
    BufferedWriter& out_;
    const Calculator& form_;
    RowMessage message_;
    bool bom_;
    CarriedColumns carried_;
};

class JsonRowWriter : public RowWriter {
public:
    // `rowStatus`: the row's status and message end the object, and the
    // carried columns follow them.
    JsonRowWriter(BufferedWriter& out, const Calculator& form, Answering answering, bool bom, bool rowStatus,
                  const CarriedColumns& carried)
        : out_(out), message_(answering), bom_(bom), rowStatus_(rowStatus) {
        start_ = "{\"form\":" + JsonString(form.name) + ",\"result\":";
        for (const CalculatorField& field : form.fields) {
            names_.push_back(JsonString(field.name));
        }
        for (const std::string& name : carried.names) {
            carriedKeys_.push_back(JsonString(name) + ':');
        }
    }

    void Begin() override {
        if (bom_) {
            out_.Put("\xEF\xBB\xBF");
        }
    }

    void Row(const BatchForm& form, const RowOutcome& outcome) override {
        out_.Put(start_);
        if (outcome.solved) {
            char* p = out_.Reserve(16);
            out_.Commit(std::to_chars(p, p + 16, static_cast<int>(outcome.result)).ptr);
        } else {
            out_.Put("null");
        }
        out_.Put(form.Written() ? ",\"written\":true,\"fields\":{" : ",\"written\":false,\"fields\":{");
        for (std::size_t slot = 0; slot < form.FieldCount(); ++slot) {
            if (slot > 0) {
                out_.Put(',');
            }
            out_.Put(names_[slot]);
            out_.Put(':');
            if (outcome.longFields & (1u << slot)) {
                PutJsonString(out_, form.LongText(slot));  // as it was read
            } else {
                PutJsonString(out_, form.Text(slot));
            }
        }
        out_.Put("},\"messages\":[");
        for (std::size_t i = 0; i < form.MessageCount(); ++i) {
            const BatchForm::Message& message = form.MessagesBegin()[i];
            out_.Put(i > 0 ? ",{\"text\":" : "{\"text\":");
            PutJsonString(out_, std::string_view(texts_.Text(message.id)));
            out_.Put(message.buttons == kButtonsYesNo ? ",\"buttons\":\"yesno\",\"answer\":"
                                                      : ",\"buttons\":\"ok\",\"answer\":");
            out_.Put(message.answer == kAnswerYes  ? "\"yes\",\"id\":"
                     : message.answer == kAnswerNo ? "\"no\",\"id\":"
                                                   : "\"ok\",\"id\":");
            PutJsonString(out_, MessageNameOf(message.id));
            out_.Put('}');
        }
        out_.Put("],\"focus\":");
        out_.Put(form.Focus() >= 0 ? std::string_view(names_[static_cast<std::size_t>(form.Focus())])
                                   : "null");
        if (form.Written()) {
            out_.Put(",\"values\":{");
            bool first = true;
            for (std::size_t slot = 0; slot < form.FieldCount(); ++slot) {
                if (!form.HasValue(slot)) {
                    continue;
                }
                if (!first) {
                    out_.Put(',');
                }
                first = false;
                out_.Put(names_[slot]);
                char* p = out_.Reserve(kValueRoom);
                *p++ = ':';
                *p++ = '"';
                p = WriteShortest(p, p + kValueRoom - 3, form.Value(slot)).ptr;
                *p++ = '"';
                out_.Commit(p);
            }
            out_.Put('}');
        }
        if (rowStatus_) {
            out_.Put(",\"status\":\"");
            out_.Put(RowStatusName(outcome.status));
            out_.Put("\",\"message\":");
            PutJsonString(out_, message_.Compose(form, outcome));
            for (std::size_t i = 0; i < carriedKeys_.size(); ++i) {
                out_.Put(i > 0 ? "," : ",\"carried\":{");
                out_.Put(carriedKeys_[i]);
                PutJsonString(out_, form.Carried(i));
            }
        }
        out_.Put(rowStatus_ && !carriedKeys_.empty() ? "}}\n" : "}\n");
    }

private:
    BufferedWriter& out_;
    RowMessage message_;
    KnownMessages texts_;
    bool bom_;
    bool rowStatus_;
    std::string start_;
    std::vector<std::string> names_;        // each field's name as a JSON string
    std::vector<std::string> carriedKeys_;  // each carried column's name as a JSON key, with ':'
};

}  // namespace

RowStatus StatusAfter(const BatchForm& form, SolveResult result) {
    return form.Written()                                  ? RowStatus::Written
           : result == SolveResult::StoppedForMissingInput ? RowStatus::Missing
                                                           : RowStatus::Refused;
}

const char* RowStatusName(RowStatus status) {
    switch (status) {
    case RowStatus::Written:
        return "written";
    case RowStatus::Missing:
        return "missing";
    case RowStatus::Refused:
        break;
    }
    return "refused";
}

RowMessage::RowMessage(Answering answering) : answering_(answering) {}

const std::string& RowMessage::Compose(const BatchForm& form, const RowOutcome& outcome) {
    text_.clear();
    const char* separator = "";
    for (std::size_t slot = 0; slot < form.FieldCount(); ++slot) {
        if (outcome.longFields & (1u << slot)) {
            text_ += separator;
            text_ += form.Form().fields[slot].name;
            text_ += kTooLong;
            separator = " / ";
        }
    }
    for (std::size_t i = 0; i < form.MessageCount(); ++i) {
        const BatchForm::Message& message = form.MessagesBegin()[i];
        text_ += separator;
        text_ += messages_.Line(message.id);
        separator = " / ";
        if (message.buttons == kButtonsYesNo) {
            // " -> yes", " -> no", with the arrow U+2192 in UTF-8.
            text_ += ' ';
            text_ += message.answer == kAnswerYes        ? std::string_view("\xE2\x86\x92 yes")
                     : answering_ == Answering::NotAsked ? kNotAskedAnswer
                                                         : std::string_view("\xE2\x86\x92 no");
        }
    }
    return text_;
}

std::unique_ptr<RowWriter> MakeCsvRowWriter(BufferedWriter& out, const Calculator& form, Answering answering,
                                            bool bom, CarriedColumns carried) {
    return std::make_unique<CsvRowWriter>(out, form, answering, bom, std::move(carried));
}

std::unique_ptr<RowWriter> MakeJsonRowWriter(BufferedWriter& out, const Calculator& form, Answering answering,
                                             bool bom, CarriedColumns carried) {
    return std::make_unique<JsonRowWriter>(out, form, answering, bom, true, carried);
}

std::unique_ptr<RowWriter> MakeJsonObjectWriter(BufferedWriter& out, const Calculator& form) {
    return std::make_unique<JsonRowWriter>(out, form, Answering::No, false, false, CarriedColumns{});
}

}  // namespace mirabo
