// The dossier's words in English, the reference text the other languages follow. The catalogue's
// prose is written in English in the catalogue itself, so it is answered as it stands.

#include "report/DossierLanguages.h"
#include "report/Evidence.h"

namespace nimb {

namespace {

using Dossier::Depth;
using Kind = Evidence::Finding::Kind;

std::string number(std::int64_t n) {
    return std::to_string(n);
}

std::string count(std::int64_t n, std::string_view singular, std::string_view plural) {
    return counted(CountRule::singularForOne, n, singular, plural);
}

} // namespace

class EnglishDossier final : public DossierVocabulary {
public:
    std::string capability(Dossier::Capability capability) const override {
        return std::string(Dossier::act(capability));
    }
    std::string group(Dossier::Group group) const override {
        return std::string(Dossier::displayName(group));
    }
    std::string depth(Dossier::Depth depth) const override { return std::string(Dossier::label(depth)); }
    std::string attribution(const Dossier::Company& company) const override { return company.attribution(); }
    std::string prose(std::string_view english) const override { return std::string(english); }

    std::string finding(const Evidence::Finding& finding) const override {
        const std::string& detail = finding.detail;
        switch (finding.kind) {
        case Kind::identifier:
            return "Assigned a tracking number.";
        case Kind::pageRemembered:
            return "Wrote down a page you were on.";
        case Kind::videoRemembered:
            return "Wrote down the last video you watched, and when.";
        case Kind::eventQueue:
            return "Queued " + detail + " of what you did, to send on.";
        case Kind::deviceDescribed:
            return "Wrote down your " + detail + ".";
        case Kind::expiry:
            return "Kept until " + detail + ".";
        case Kind::brandTLD:
            return "Only " + detail + " may register here. It is them.";
        case Kind::sameName:
            return "This site's name, off this site's domain.";
        case Kind::namedSeat:
            return "A standing seat at " + detail + ".";
        case Kind::serverSideAuction:
            return "An auction ran, server to server, unseeable.";
        case Kind::sdkRan:
            return detail + "'s code ran here, whether or not its own servers were ever reached.";
        }
        return {};
    }

    std::string headline(const Dossier::Reach& reach) const override {
        if (reach.companies < 1) {
            if (reach.houseName)
                return "Every host here is " + *reach.houseName +
                       "'s own. There is no third party to block: the company you came to see is the one "
                       "keeping the file, and it starts before you have done anything.";
            return reach.own < 1 ? "Nothing here followed you."
                                 : "Every other host here belongs to this site's own company.";
        }

        const std::int64_t c = reach.companies;
        const std::int64_t s = reach.saw;
        std::string text;
        if (s == 0)
            text = companies(c) + " counted you";
        else if (c - s >= 1)
            text = companies(s) + " saw this visit, and " + number(c - s) + " more counted you";
        else
            text = companies(s) + " saw this visit";

        switch (reach.outsideDeepest) {
        case Depth::served:
        case Depth::counted:
            text += ". None of them followed you off this page.";
            break;
        case Depth::thisPage:
            text += ".";
            break;
        case Depth::thisBrowser:
        case Depth::acrossSites:
        case Depth::acrossLives: {
            const bool wasBlocked = reach.deepestWasBlocked;
            std::string subject = reach.deepestName ? *reach.deepestName : std::string("One of them");
            subject += wasBlocked ? ", blocked here, " : " ";
            const char* phrase = "";
            if (reach.outsideDeepest == Depth::thisBrowser)
                phrase = wasBlocked ? "would have known this browser when it came back."
                                    : "can know this browser when it comes back.";
            else if (reach.outsideDeepest == Depth::acrossSites)
                phrase = wasBlocked ? "would have recognised this browser on other sites."
                                    : "can recognise this browser on other sites.";
            else
                phrase = wasBlocked ? "would have joined this browser to your phone and to records collected "
                                      "about you off the web."
                                    : "can join this browser to your phone and to records collected about "
                                      "you off the web.";
            text += ". " + subject + phrase;
            break;
        }
        }

        if (reach.houseName)
            text += " " + *reach.houseName +
                    " owns this site and is in that business itself, so the file it keeps has no third party "
                    "to block and starts before you have done anything.";
        return text;
    }

    std::string whatTheScoreMeans(const Dossier::Reach& reach, bool blocking) const override {
        const std::int64_t c = reach.companies;
        const std::int64_t b = reach.blocked;
        const std::int64_t g = reach.gotThrough;
        if (c < 1) return {};
        const std::string attempted = " The score counts what was attempted, blocked or not.";
        if (!blocking)
            return "Blocking was off, so all " + number(c) + " got your IP address and the time." + attempted;
        if (g == 0)
            return "Nimb blocked all " + number(c) + " here; none of them got your IP address and the time." +
                   attempted;
        if (b > 0)
            return "Nimb blocked " + number(b) + " of them here; " + number(g) +
                   " got your IP address and the time." + attempted;
        return "Nimb blocked none of them: all " + number(c) + " got your IP address and the time." +
               attempted;
    }

    std::string outOfAHundred() const override { return " out of 100"; }
    std::string scoreFluctuates() const override {
        return "The score fluctuates slightly depending on how much of the page loads and fires.";
    }
    std::string noLongerExists() const override { return "dead"; }
    std::string retiredFlag(std::string_view why) const override {
        return noLongerExists() + " " + std::string(why);
    }
    std::string whereTheNamesCameFrom() const override {
        return "Who a host belongs to, and what that company sells, is the one part of this report that can "
               "be wrong: it is a claim about a named business, and ownership changes without the hostname "
               "changing. Every name here is recorded against that company's own published material. Where "
               "a host cannot be sourced at all it is listed as unidentified rather than guessed at. Dossier "
               "revised " +
               std::string(Dossier::revised) + ".";
    }
    std::string nothingButDelivery(std::int64_t hosts) const override {
        const std::string count = hosts == 1 ? "One host" : number(hosts) + " hosts";
        return count + " sent bytes this page asked for and nothing else. They score nothing:";
    }
    std::string requestsBlocked(std::int64_t requests) const override {
        return count(requests, "request", "requests") + " blocked";
    }
    std::string requestsGotThrough(std::int64_t requests) const override {
        return count(requests, "request", "requests") + " got through";
    }
    std::string wasAllowed() const override { return "allowed"; }

    std::string theWholeDossier() const override {
        return "Everyone this browser can put a name to, whether or not they were on the page you came "
               "from. What each one sells, who owns them, and what their code arrives as \u2014 so a name in "
               "a network log is a name, and not a hostname you have to take somebody's word for.";
    }
    std::string searchTheDossier() const override { return "Search a company, a host, a file name"; }
    std::string searchButton() const override { return "Search"; }
    std::string companyTally(std::int64_t shown, std::int64_t total) const override {
        if (shown != total) return number(shown) + " of " + number(total) + " companies";
        return companies(shown);
    }
    std::string nothingMatched(std::string_view query) const override {
        return "Nobody in the dossier answers to \u201c" + std::string(query) +
               "\u201d. It is a file of a few dozen companies, not a directory of the industry: a name "
               "missing from it has not been cleared of anything.";
    }
    std::string showAll() const override { return "Show all"; }
    std::string whatTheyDo() const override { return "Does"; }
    std::string connections() const override { return "Connections"; }
    std::string fileNames() const override { return "Arrives as"; }
    std::string hostsHere() const override { return "Hosts"; }
    std::string onThisPage() const override { return "on this page"; }
    std::string isParent() const override { return "parent"; }
    std::string sameOwner() const override { return "same owner"; }
    std::string answersToNobody() const override {
        return "No parent, and nobody else here under the same roof.";
    }

private:
    static std::string companies(std::int64_t n) { return count(n, "company", "companies"); }
};

const DossierVocabulary& englishDossier() {
    static const EnglishDossier words;
    return words;
}

} // namespace nimb
