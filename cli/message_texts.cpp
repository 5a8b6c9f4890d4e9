#include "cli/message_texts.h"

#include "calc/messages.h"
#include "resfile/program_resources.h"
#include "text/utf8.h"

namespace mirabo {

std::string MessageText(int messageId) {
    std::string text = Utf8FromUtf16(ProgramText(static_cast<unsigned>(messageId)));
    return text.empty() ? std::string(MessageNameOf(messageId)) : text;
}

std::string MessageLine(int messageId) {
    const std::string text = MessageText(messageId);
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            line += ' ';
            i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 1 : 0;
        } else {
            line += text[i];
        }
    }
    return line;
}

const KnownMessages::Known& KnownMessages::Find(int messageId) {
    for (const Known& known : known_) {
        if (known.id == messageId) {
            return known;
        }
    }
    known_.push_back({messageId, MessageText(messageId), MessageLine(messageId)});
    return known_.back();
}

}  // namespace mirabo
