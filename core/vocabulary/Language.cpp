#include "vocabulary/Language.h"

#include "base/Text.h"
#include "vocabulary/Languages.h"

namespace nimb {

namespace {
Language current = Language::english;
} // namespace

const Vocabulary& words(Language language) {
    switch (language) {
    case Language::english:
        return englishWords();
    case Language::spanish:
        return spanishWords();
    case Language::italian:
        return italianWords();
    case Language::french:
        return frenchWords();
    }
    return englishWords();
}

std::string_view endonym(Language language) {
    switch (language) {
    case Language::english:
        return "English";
    case Language::spanish:
        return "Español";
    case Language::italian:
        return "Italiano";
    case Language::french:
        return "Français";
    }
    return {};
}

std::string locale(Language language) {
    return std::string(rawValue(language));
}

std::optional<Language> languageMatching(std::span<const std::string> identifiers) {
    for (const std::string& identifier : identifiers) {
        std::string_view first = identifier;
        for (std::string_view piece : text::split(identifier, '-', false)) {
            auto pieces = text::split(piece, '_', false);
            if (!pieces.empty()) {
                first = pieces.front();
                break;
            }
        }
        if (auto language = fromRaw<Language>(text::asciiLowercased(first))) return language;
    }
    return std::nullopt;
}

Language currentLanguage() {
    return current;
}

void setCurrentLanguage(Language language) {
    current = language;
}

const Vocabulary& words() {
    return words(current);
}

Language startupLanguage(std::optional<Language> stored, std::span<const std::string> preferred) {
    if (stored) return *stored;
    return languageMatching(preferred).value_or(Language::english);
}

std::string counted(CountRule rule, std::int64_t n, std::string_view singular, std::string_view plural) {
    bool useSingular = rule == CountRule::singularForOne ? n == 1 : n < 2;
    return std::to_string(n) + " " + std::string(useSingular ? singular : plural);
}

namespace ContentBlocker {
std::string displayName(Category category) {
    return words().category(category);
}
std::string explanation(Category category) {
    return words().categoryWhy(category);
}
} // namespace ContentBlocker

std::string label(NimbReportReason reason) {
    return words().reason(reason);
}

namespace StatusStrings {
std::string contacting() {
    return words().contactingHost();
}
std::string done() {
    return words().documentDone();
}
std::string done(std::int64_t blocked) {
    return words().done(blocked);
}
} // namespace StatusStrings

} // namespace nimb
