#include "resfile/resource_language.h"

#include <cstdlib>
#include <string_view>

namespace mirabo {

namespace {

// The language part of a locale name: what stands before its territory,
// encoding or modifier ("ja" of "ja_JP.UTF-8", "C" of "C.UTF-8").
std::string_view LanguagePart(std::string_view locale) {
    return locale.substr(0, locale.find_first_of("_.@-"));
}

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

std::uint16_t LanguageOfLocale(const LocaleVariables& variables) {
    std::string_view locale;
    if (IsSet(variables.language)) {
        std::string_view list = variables.language;
        locale = list.substr(0, list.find(':'));
    } else {
        for (const char* value : {variables.lcAll, variables.lcMessages, variables.lang}) {
            if (IsSet(value)) {
                locale = value;
                break;
            }
        }
    }
    const std::string_view language = LanguagePart(locale);
    if (language.empty() || language == "ja" || language == "C" || language == "POSIX")
        return kLanguageJapanese;
    return kLanguageEnglish;
}

std::uint16_t LanguageOfEnvironment() {
    return LanguageOfLocale(
        {std::getenv("LANGUAGE"), std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")});
}

std::uint16_t LanguageOfUiLanguage(std::uint16_t uiLanguage) {
    return (uiLanguage & 0x3FF) == (kLanguageJapanese & 0x3FF) ? kLanguageJapanese : kLanguageEnglish;
}

int LanguageRank(std::uint16_t have, std::uint16_t want) {
    if (have == want) return 0;
    if ((have & 0x3FF) == (want & 0x3FF)) return 1;
    if ((have & 0x3FF) == kLanguageNeutral) return 2;
    return 3;
}

}  // namespace mirabo
