#include "report/DossierVocabulary.h"

#include "report/DossierLanguages.h"

#include <algorithm>

namespace nimb {

const DossierVocabulary& dossierWords(Language language) {
    switch (language) {
    case Language::english:
        return englishDossier();
    case Language::spanish:
        return spanishDossier();
    case Language::italian:
        return italianDossier();
    case Language::french:
        return frenchDossier();
    }
    return englishDossier();
}

const DossierVocabulary& dossierWords() {
    return dossierWords(currentLanguage());
}

std::string translatedProse(std::span<const ProseTranslation> table, std::string_view english) {
    // A few dozen pieces: a walk through them costs less than keeping an index.
    auto found = std::find_if(table.begin(), table.end(),
                              [english](const ProseTranslation& piece) { return piece.english == english; });
    return std::string(found == table.end() ? english : found->translated);
}

} // namespace nimb
