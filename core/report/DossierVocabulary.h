#pragma once

// The words of the dossier and of everything drawn from it: capability phrases, group headings, depth
// labels, the sentences of the reach and of the evidence, and the dossier view's own words. They exist
// in English only; `dossierWords()` answers with EnglishDossier whatever the interface language, so
// these words read the same in every language the browser speaks.

#include "report/Dossier.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace nimb {

namespace Evidence {
struct Finding;
}
namespace Dossier {
struct Reach;
}

class DossierVocabulary {
public:
    virtual ~DossierVocabulary() = default;

    // The catalogue's own words
    [[nodiscard]] virtual std::string capability(Dossier::Capability capability) const = 0;
    [[nodiscard]] virtual std::string group(Dossier::Group group) const = 0;
    [[nodiscard]] virtual std::string depth(Dossier::Depth depth) const = 0;
    [[nodiscard]] virtual std::string attribution(const Dossier::Company& company) const = 0;

    // The sentence of an evidence finding.
    [[nodiscard]] virtual std::string finding(const Evidence::Finding& finding) const = 0;
    // The reach headline and the sentence on what the score means.
    [[nodiscard]] virtual std::string headline(const Dossier::Reach& reach) const = 0;
    [[nodiscard]] virtual std::string whatTheScoreMeans(const Dossier::Reach& reach, bool blocking) const = 0;

    // The report page
    [[nodiscard]] virtual std::string outOfAHundred() const = 0;
    [[nodiscard]] virtual std::string scoreFluctuates() const = 0;
    [[nodiscard]] virtual std::string noLongerExists() const = 0;
    [[nodiscard]] virtual std::string whereTheNamesCameFrom() const = 0;
    [[nodiscard]] virtual std::string nothingButDelivery(std::int64_t hosts) const = 0;
    [[nodiscard]] virtual std::string wasBlocked() const = 0;
    [[nodiscard]] virtual std::string wasAllowed() const = 0;

    // The dossier view
    [[nodiscard]] virtual std::string theWholeDossier() const = 0;
    [[nodiscard]] virtual std::string searchTheDossier() const = 0;
    [[nodiscard]] virtual std::string searchButton() const = 0;
    [[nodiscard]] virtual std::string companyTally(std::int64_t shown, std::int64_t total) const = 0;
    [[nodiscard]] virtual std::string nothingMatched(std::string_view query) const = 0;
    [[nodiscard]] virtual std::string showAll() const = 0;
    [[nodiscard]] virtual std::string whatTheyDo() const = 0;
    [[nodiscard]] virtual std::string connections() const = 0;
    [[nodiscard]] virtual std::string fileNames() const = 0;
    [[nodiscard]] virtual std::string hostsHere() const = 0;
    [[nodiscard]] virtual std::string onThisPage() const = 0;
    [[nodiscard]] virtual std::string isParent() const = 0;
    [[nodiscard]] virtual std::string sameOwner() const = 0;
    [[nodiscard]] virtual std::string answersToNobody() const = 0;
};

// The dossier's words in English, the only language they are written in.
//
// `finding` is written beside the evidence rules (Evidence.cpp), `headline` and `whatTheScoreMeans`
// beside the reach (Reach.cpp): each sentence lives next to the rule whose result it puts into words.
class EnglishDossier final : public DossierVocabulary {
public:
    std::string capability(Dossier::Capability capability) const override;
    std::string group(Dossier::Group group) const override;
    std::string depth(Dossier::Depth depth) const override;
    std::string attribution(const Dossier::Company& company) const override;

    std::string finding(const Evidence::Finding& finding) const override;
    std::string headline(const Dossier::Reach& reach) const override;
    std::string whatTheScoreMeans(const Dossier::Reach& reach, bool blocking) const override;

    std::string outOfAHundred() const override;
    std::string scoreFluctuates() const override;
    std::string noLongerExists() const override;
    std::string whereTheNamesCameFrom() const override;
    std::string nothingButDelivery(std::int64_t hosts) const override;
    std::string wasBlocked() const override;
    std::string wasAllowed() const override;

    std::string theWholeDossier() const override;
    std::string searchTheDossier() const override;
    std::string searchButton() const override;
    std::string companyTally(std::int64_t shown, std::int64_t total) const override;
    std::string nothingMatched(std::string_view query) const override;
    std::string showAll() const override;
    std::string whatTheyDo() const override;
    std::string connections() const override;
    std::string fileNames() const override;
    std::string hostsHere() const override;
    std::string onThisPage() const override;
    std::string isParent() const override;
    std::string sameOwner() const override;
    std::string answersToNobody() const override;
};

// The dossier's words: always EnglishDossier, whatever the current language.
[[nodiscard]] const DossierVocabulary& dossierWords();

} // namespace nimb
