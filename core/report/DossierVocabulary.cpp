#include "report/DossierVocabulary.h"

namespace nimb {

std::string EnglishDossier::capability(Dossier::Capability capability) const {
    return std::string(Dossier::act(capability));
}

std::string EnglishDossier::group(Dossier::Group group) const {
    return std::string(Dossier::displayName(group));
}

std::string EnglishDossier::depth(Dossier::Depth depth) const {
    return std::string(Dossier::label(depth));
}

std::string EnglishDossier::attribution(const Dossier::Company& company) const {
    return company.attribution();
}

std::string EnglishDossier::outOfAHundred() const {
    return " out of 100";
}

std::string EnglishDossier::scoreFluctuates() const {
    return "The score fluctuates slightly depending on how much of the page loads and fires.";
}

std::string EnglishDossier::noLongerExists() const {
    return "dead";
}

std::string EnglishDossier::whereTheNamesCameFrom() const {
    return "Who a host belongs to, and what that company sells, is the one part of this report that can be "
           "wrong: it is a claim about a named business, and ownership changes without the hostname "
           "changing. "
           "Every name here is recorded against that company's own published material. Where a host cannot "
           "be "
           "sourced at all it is listed as unidentified rather than guessed at. Dossier revised " +
           std::string(Dossier::revised) + ".";
}

std::string EnglishDossier::nothingButDelivery(std::int64_t hosts) const {
    const std::string count = hosts == 1 ? "One host" : std::to_string(hosts) + " hosts";
    return count + " sent bytes this page asked for and nothing else. They score nothing:";
}

std::string EnglishDossier::wasBlocked() const {
    return "blocked";
}

std::string EnglishDossier::wasAllowed() const {
    return "allowed";
}

std::string EnglishDossier::theWholeDossier() const {
    return "Everyone this browser can put a name to, whether or not they were on the page you came from. "
           "What "
           "each one sells, who owns them, and what their code arrives as \u2014 so a name in a network log "
           "is a "
           "name, and not a hostname you have to take somebody's word for.";
}

std::string EnglishDossier::searchTheDossier() const {
    return "Search a company, a host, a file name";
}

std::string EnglishDossier::searchButton() const {
    return "Search";
}

std::string EnglishDossier::companyTally(std::int64_t shown, std::int64_t total) const {
    if (shown != total) return std::to_string(shown) + " of " + std::to_string(total) + " companies";
    return std::to_string(shown) + (shown == 1 ? " company" : " companies");
}

std::string EnglishDossier::nothingMatched(std::string_view query) const {
    return "Nobody in the dossier answers to \u201c" + std::string(query) +
           "\u201d. It is a file of a few dozen companies, not a directory of the industry: a name missing "
           "from "
           "it has not been cleared of anything.";
}

std::string EnglishDossier::showAll() const {
    return "Show all";
}

std::string EnglishDossier::whatTheyDo() const {
    return "Does";
}

std::string EnglishDossier::connections() const {
    return "Connections";
}

std::string EnglishDossier::fileNames() const {
    return "Arrives as";
}

std::string EnglishDossier::hostsHere() const {
    return "Hosts";
}

std::string EnglishDossier::onThisPage() const {
    return "on this page";
}

std::string EnglishDossier::isParent() const {
    return "parent";
}

std::string EnglishDossier::sameOwner() const {
    return "same owner";
}

std::string EnglishDossier::answersToNobody() const {
    return "No parent, and nobody else here under the same roof.";
}

const DossierVocabulary& dossierWords() {
    static const EnglishDossier english;
    return english;
}

} // namespace nimb
