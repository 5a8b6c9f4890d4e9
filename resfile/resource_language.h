// Which language of the program's resources a user gets: the rule from the
// locale variables (Linux) or the UI language (Windows), and the choice
// among one resource's languages as the resource loader makes it.
#pragma once

#include <cstdint>

namespace mirabo {

// Language identifiers (LANGID) of the resources.
constexpr std::uint16_t kLanguageNeutral = 0x0000;
constexpr std::uint16_t kLanguageJapanese = 0x0411;  // LANG_JAPANESE, SUBLANG_DEFAULT
constexpr std::uint16_t kLanguageEnglish = 0x0409;   // LANG_ENGLISH, SUBLANG_ENGLISH_US

// The locale variables that decide, each null when it is not set.
struct LocaleVariables {
    const char* language = nullptr;  // LANGUAGE, a list such as "en_GB:ja"
    const char* lcAll = nullptr;
    const char* lcMessages = nullptr;
    const char* lang = nullptr;
};

// The first of LANGUAGE (its first entry), LC_ALL, LC_MESSAGES and LANG that
// is set and not empty decides: Japanese for a Japanese locale ("ja",
// "ja_JP.UTF-8", ...), for "C" and "POSIX" (with any encoding or modifier)
// and when none is set; English for every other language.
std::uint16_t LanguageOfLocale(const LocaleVariables& variables);

// The same rule over this process's environment.
std::uint16_t LanguageOfEnvironment();

// Windows: Japanese for a Japanese UI language (GetUserDefaultUILanguage),
// English for every other one.
std::uint16_t LanguageOfUiLanguage(std::uint16_t uiLanguage);

// How well a resource of language `have` serves a user of language `want`,
// as the loader falls back: 0 the same language, 1 the same primary language,
// 2 language-neutral, 3 any other. Among one resource's languages the loader
// takes the first with the lowest rank.
int LanguageRank(std::uint16_t have, std::uint16_t want);

}  // namespace mirabo
