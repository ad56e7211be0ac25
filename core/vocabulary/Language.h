#pragma once

#include "base/Enumeration.h"
#include "vocabulary/Vocabulary.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace nimb {

// The languages the browser speaks, in the order of the Language menu. Raw values are also the
// locale identifiers used for dates and numbers on generated pages.
enum class Language {
    english,
    spanish,
    italian,
    french,
};

[[nodiscard]] constexpr std::string_view rawValue(Language language) {
    switch (language) {
    case Language::english:
        return "en";
    case Language::spanish:
        return "es";
    case Language::italian:
        return "it";
    case Language::french:
        return "fr";
    }
    return {};
}

template <>
inline constexpr auto allCases<Language> =
    std::array{Language::english, Language::spanish, Language::italian, Language::french};

[[nodiscard]] const Vocabulary& words(Language language);
// The language's own name, as the Language menu shows it.
[[nodiscard]] std::string_view endonym(Language language);
// The ICU locale identifier for dates and numbers.
[[nodiscard]] std::string locale(Language language);

// The first language that matches one of the given locale identifiers ("de-DE", "fr_CA", ...), in order.
[[nodiscard]] std::optional<Language> languageMatching(std::span<const std::string> identifiers);

// The language in force. English until start-up chooses; changed only by the Language menu.
[[nodiscard]] Language currentLanguage();
void setCurrentLanguage(Language language);

// The current language's words; ask at the moment of drawing, never keep.
[[nodiscard]] const Vocabulary& words();

// The language to start in: the stored choice, else the first of the system's preferred languages we
// speak, else English. The choice made from the system is not written back.
[[nodiscard]] Language startupLanguage(std::optional<Language> stored,
                                       std::span<const std::string> preferred);

// The words of the status line.
namespace StatusStrings {
[[nodiscard]] std::string contacting();
[[nodiscard]] std::string done();
[[nodiscard]] std::string done(std::int64_t blocked);
} // namespace StatusStrings

} // namespace nimb
