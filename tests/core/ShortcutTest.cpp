#include "library/Shortcut.h"
#include "vocabulary/Language.h"

#include <gtest/gtest.h>

namespace nimb {
namespace {

// Menu words carry an ellipsis that a named key must not.
TEST(Shortcut, namesAreMenuWordsWithoutEllipsisInEveryLanguage) {
    struct Case {
        Language language;
        std::array<std::string, 3> names;
    };
    for (const auto& [language, names] : {
             Case{Language::english, {"Find in Page", "Marginalia", "Bookmarks"}},
             Case{Language::spanish, {"Buscar en la p\u00E1gina", "Notas al margen", "Marcadores"}},
             Case{Language::italian, {"Trova nella pagina", "Note a margine", "Segnalibri"}},
             Case{Language::french, {"Rechercher dans la page", "Notes en marge", "Signets"}},
         }) {
        setCurrentLanguage(language);
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(name(allCases<Shortcut>[i]), names[i]) << rawValue(language);
    }
    setCurrentLanguage(Language::english);
}

} // namespace
} // namespace nimb
