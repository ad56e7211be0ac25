#pragma once

// The words of the dossier and of everything drawn from it: capability phrases, group headings, depth
// labels, the sentences of the reach and of the evidence, the dossier view's own words, and the
// catalogue's own prose (its notes on each company, the dates and ties of ownership, retirements).
// Each language has its own, chosen like the Vocabulary by the current Language: EnglishDossier,
// FrenchDossier, ItalianDossier and SpanishDossier, one file each. The catalogue's facts (company
// names, hosts, sources, the companies' own quoted words) stay as they are in every language.
//
// The sentences of the evidence and of the reach are written in those files too, not beside their
// rules in Evidence.cpp and Reach.cpp: a language is then read and written in one place, and the rules
// only hand over what they found (a Finding, a Reach).

#include "report/Dossier.h"
#include "vocabulary/Language.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace nimb {

namespace Evidence {
struct Finding;
}

class DossierVocabulary {
public:
    virtual ~DossierVocabulary() = default;

    // The catalogue's own words
    [[nodiscard]] virtual std::string capability(Dossier::Capability capability) const = 0;
    [[nodiscard]] virtual std::string group(Dossier::Group group) const = 0;
    [[nodiscard]] virtual std::string depth(Dossier::Depth depth) const = 0;
    // The company's name as shown, followed by its owner in brackets when that is someone else.
    [[nodiscard]] virtual std::string attribution(const Dossier::Company& company) const = 0;
    // A piece of the catalogue's English prose (a note, a date or tie of ownership, a retirement, a
    // company the catalogue describes rather than names) in this language; any other text, a name
    // among them, as it is.
    [[nodiscard]] virtual std::string prose(std::string_view english) const = 0;

    // The sentence of an evidence finding.
    [[nodiscard]] virtual std::string finding(const Evidence::Finding& finding) const = 0;
    // The reach headline and the sentence on what the score means.
    [[nodiscard]] virtual std::string headline(const Dossier::Reach& reach) const = 0;
    [[nodiscard]] virtual std::string whatTheScoreMeans(const Dossier::Reach& reach, bool blocking) const = 0;

    // The report page
    [[nodiscard]] virtual std::string outOfAHundred() const = 0;
    [[nodiscard]] virtual std::string scoreFluctuates() const = 0;
    [[nodiscard]] virtual std::string noLongerExists() const = 0;
    // The flag of a retired company in the dossier, with when and why it stopped (already said in this
    // language).
    [[nodiscard]] virtual std::string retiredFlag(std::string_view why) const = 0;
    [[nodiscard]] virtual std::string whereTheNamesCameFrom() const = 0;
    [[nodiscard]] virtual std::string nothingButDelivery(std::int64_t hosts) const = 0;
    // A contacted host's requests that the blocklist named: blocked, or, with blocking off, got through.
    [[nodiscard]] virtual std::string requestsBlocked(std::int64_t requests) const = 0;
    [[nodiscard]] virtual std::string requestsGotThrough(std::int64_t requests) const = 0;
    // A contacted host the blocklist does not name.
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

// The dossier's words in a language.
[[nodiscard]] const DossierVocabulary& dossierWords(Language language);
// The current language's dossier words; ask at the moment of drawing, never keep.
[[nodiscard]] const DossierVocabulary& dossierWords();

} // namespace nimb
