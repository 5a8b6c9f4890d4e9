// The calculators' messages as mirabo-calc and batch mode print them: each
// one's text from the program's compiled resources, in UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mirabo {

// The text of message `messageId` (calc/messages.h); for an identifier the
// resources hold no text for, the message's stable name, so that nothing is
// printed as an empty message.
std::string MessageText(int messageId);

// The same text on one line: each line break, "\r\n" included, as one space.
std::string MessageLine(int messageId);

// The answer to a question nobody was asked, as batch mode and a run without a
// terminal give it after the question.
inline constexpr std::string_view kNotAskedAnswer = "\xE2\x86\x92 no (not asked; --yes answers yes)";

// The messages met so far, for a run of many rows: each one read from the
// resources once, then taken from here without allocating.
class KnownMessages {
public:
    KnownMessages() { known_.reserve(8); }
    const std::string& Text(int messageId) { return Find(messageId).text; }
    const std::string& Line(int messageId) { return Find(messageId).line; }

private:
    struct Known {
        int id;
        std::string text;
        std::string line;
    };
    const Known& Find(int messageId);

    std::vector<Known> known_;
};

}  // namespace mirabo
