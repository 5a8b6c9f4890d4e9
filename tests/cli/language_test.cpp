// The language the program's texts are in: the rule over the locale variables
// and the UI language, and which of a resource's languages serves which user.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "res/embedded_resource.h"
#include "resfile/resource_file.h"
#include "resfile/resource_language.h"
#include "resfile/string_table.h"

namespace mirabo {
namespace {

constexpr std::uint16_t kJa = kLanguageJapanese;
constexpr std::uint16_t kEn = kLanguageEnglish;

TEST(LanguageTest, TheFirstLocaleVariableSetAndNotEmptyDecides) {
    const struct {
        LocaleVariables variables;  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
        std::uint16_t language;
        // clang-format off
    } cases[] = {
        {{nullptr, nullptr, nullptr, nullptr},              kJa},
        {{"", "", "", ""},                                  kJa},
        {{nullptr, nullptr, nullptr, "ja_JP.UTF-8"},        kJa},
        {{nullptr, nullptr, nullptr, "ja"},                 kJa},
        {{nullptr, nullptr, nullptr, "ja_JP.eucJP@euro"},   kJa},
        {{nullptr, nullptr, nullptr, "C"},                  kJa},
        {{nullptr, nullptr, nullptr, "C.UTF-8"},            kJa},
        {{nullptr, nullptr, nullptr, "C.utf8"},             kJa},
        {{nullptr, nullptr, nullptr, "POSIX"},              kJa},
        {{nullptr, nullptr, nullptr, "en_US.UTF-8"},        kEn},
        {{nullptr, nullptr, nullptr, "de_DE.UTF-8"},        kEn},
        {{nullptr, nullptr, nullptr, "jv_ID.UTF-8"},        kEn},
        {{nullptr, nullptr, nullptr, "Cy"},                 kEn},
        {{nullptr, nullptr, "en_GB.UTF-8", "ja_JP.UTF-8"},  kEn},
        {{nullptr, nullptr, "ja_JP.UTF-8", "en_US.UTF-8"},  kJa},
        {{nullptr, "en_US.UTF-8", "ja_JP.UTF-8", "ja_JP"},  kEn},
        {{nullptr, "C.UTF-8", "en_US.UTF-8", "en_US"},      kJa},
        {{nullptr, "", "", "en_US.UTF-8"},                  kEn},
        {{"en_GB:ja", "ja_JP.UTF-8", nullptr, "ja_JP"},     kEn},
        {{"ja:en", "en_US.UTF-8", nullptr, "en_US"},        kJa},
        {{"fr", nullptr, nullptr, nullptr},                 kEn},
        {{"", nullptr, nullptr, "fr_FR.UTF-8"},             kEn},
        {{"", "ja_JP.UTF-8", nullptr, nullptr},             kJa},
        // clang-format on
    };
    for (const auto& c : cases) {
        const LocaleVariables& v = c.variables;
        auto shown = [](const char* value) { return value ? value : "(unset)"; };
        EXPECT_EQ(LanguageOfLocale(v), c.language)
            << "LANGUAGE=" << shown(v.language) << " LC_ALL=" << shown(v.lcAll)
            << " LC_MESSAGES=" << shown(v.lcMessages) << " LANG=" << shown(v.lang);
    }
}

TEST(LanguageTest, AJapaneseUiLanguageGivesJapaneseAnyOtherEnglish) {
    const struct {
        std::uint16_t uiLanguage;
        std::uint16_t language;
        // clang-format off
    } cases[] = {
        {0x0411, kJa},  // ja-JP
        {0x0011, kJa},  // Japanese, no territory
        {0x0409, kEn},  // en-US
        {0x0809, kEn},  // en-GB
        {0x0407, kEn},  // de-DE
        {0x0804, kEn},  // zh-CN
        {0x0412, kEn},  // ko-KR
        {0x0000, kEn},  // neutral
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageOfUiLanguage(c.uiLanguage), c.language) << std::hex << c.uiLanguage;
    }
}

TEST(LanguageTest, AResourceServesItsLanguageThenItsPrimaryLanguageThenNeutralThenAnyUser) {
    const struct {
        std::uint16_t have, want;
        int rank;
        // clang-format off
    } cases[] = {
        {kEn,    kEn,    0},
        {kJa,    kJa,    0},
        {kEn,    0x0809, 1},  // en-US for en-GB
        {0x0011, kJa,    1},
        {0x0000, kEn,    2},
        {0x0400, kJa,    2},  // neutral, the user's default sublanguage
        {0x0800, kJa,    2},  // neutral, the system's default sublanguage
        {kJa,    kEn,    3},
        {kEn,    kJa,    3},
        {kJa,    0x0407, 3},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageRank(c.have, c.want), c.rank) << std::hex << c.have << " for " << c.want;
    }
}

// The program's own resources, found by the loader's rule: texts in the
// language asked for or in its primary language, and the language-free
// pictures for every language. (Which language a third language gets depends
// on the order the resource compiler writes; the rule never asks for one.)
TEST(LanguageTest, TheProgramsResourcesAreFoundInTheLanguageAskedFor) {
    const struct {
        unsigned id;
        std::uint16_t want;
        std::u16string text;
        // clang-format off
    } strings[] = {
        {40005, kEn,    u"Functions"},
        {40005, 0x0809, u"Functions"},
        {40005, kJa,    u"関数"},
        {40005, 0x0011, u"関数"},
        {1,     kEn,    u"Mirabo for PocketPC"},
        // clang-format on
    };
    for (const auto& c : strings) {
        EXPECT_TRUE(FindString(kMiraboResource, kMiraboResourceSize, c.id, c.want) == c.text)
            << "string " << c.id << " for " << std::hex << c.want;
    }
    for (std::uint16_t want : {kEn, kJa, std::uint16_t{0x0809}}) {
        ResourceFileEntry picture;
        ASSERT_TRUE(FindOrdinalResource(kMiraboResource, kMiraboResourceSize, 2, 112, want, &picture));
        EXPECT_EQ(picture.language, kLanguageNeutral);
        ResourceFileEntry dialog;
        ASSERT_TRUE(FindOrdinalResource(kMiraboResource, kMiraboResourceSize, 5, 105, want, &dialog));
        EXPECT_EQ(dialog.language, want == kJa ? kJa : kEn);
    }
}

}  // namespace
}  // namespace mirabo
