#pragma once

// The four dossier vocabularies, each defined in its own file, and the translations of the catalogue's
// prose that three of them read. Reach them through dossierWords().

#include "report/DossierVocabulary.h"

#include <span>
#include <string_view>

namespace nimb {

[[nodiscard]] const DossierVocabulary& englishDossier();
[[nodiscard]] const DossierVocabulary& frenchDossier();
[[nodiscard]] const DossierVocabulary& italianDossier();
[[nodiscard]] const DossierVocabulary& spanishDossier();

// A piece of the catalogue's English prose and what it says in another language.
struct ProseTranslation {
    std::string_view english;
    std::string_view translated;
};

[[nodiscard]] std::span<const ProseTranslation> frenchCatalogueProse();
[[nodiscard]] std::span<const ProseTranslation> italianCatalogueProse();
[[nodiscard]] std::span<const ProseTranslation> spanishCatalogueProse();

// The translation of `english` in `table`, or `english` itself when the table has none.
[[nodiscard]] std::string translatedProse(std::span<const ProseTranslation> table, std::string_view english);

} // namespace nimb
