// The dossier's words in French. A colon, a semicolon, a question or an exclamation mark stands after
// a no-break space (narrow before ; ? !), as French sets them.

#include "report/DossierLanguages.h"
#include "report/Evidence.h"

namespace nimb {

namespace {

using Dossier::Capability;
using Dossier::Depth;
using Dossier::Group;
using Kind = Evidence::Finding::Kind;

std::string number(std::int64_t n) {
    return std::to_string(n);
}

std::string count(std::int64_t n, std::string_view singular, std::string_view plural) {
    return counted(CountRule::singularBelowTwo, n, singular, plural);
}

// French puts 0 and 1 in the singular, verbs as well as nouns.
bool one(std::int64_t n) {
    return n < 2;
}

std::string companies(std::int64_t n) {
    return count(n, "entreprise", "entreprises");
}

} // namespace

class FrenchDossier final : public DossierVocabulary {
public:
    std::string capability(Capability capability) const override {
        switch (capability) {
        case Capability::crossSite:
            return "vous reconnaît sur d’autres sites";
        case Capability::crossDevice:
            return "relie ce navigateur à votre téléphone";
        case Capability::offlineJoin:
            return "vous relie à des fichiers tenus hors du web";
        case Capability::bidBroadcast:
            return "a enchéri sur votre visite";
        case Capability::serverSideBidding:
            return "a enchéri sur vous, de serveur à serveur";
        case Capability::adDelivery:
            return "a diffusé les publicités";
        case Capability::recommendation:
            return "les liens sponsorisés";
        case Capability::viewability:
            return "a mesuré jusqu’où vous avez fait défiler la page";
        case Capability::adSecurity:
            return "a lu chaque publicité qui vous a été montrée";
        case Capability::sessionReplay:
            return "a rejoué votre session";
        case Capability::behaviouralProfile:
            return "tient un profil à votre sujet";
        case Capability::experimentation:
            return "a testé une variante sur vous";
        case Capability::audienceMeasurement:
            return "vous a compté";
        case Capability::contentAnalytics:
            return "a mesuré ce qui a retenu votre attention";
        case Capability::socialDistribution:
            return "choisit ce qui est publié";
        case Capability::socialLogin:
            return "détient votre connexion";
        case Capability::consentWall:
            return "la fenêtre de consentement";
        case Capability::interruption:
            return "les relances";
        case Capability::appBackend:
            return "les serveurs propres de ce site";
        case Capability::contentDelivery:
            return "a servi du contenu";
        case Capability::tagDelivery:
            return "a chargé toutes les autres balises d’ici";
        case Capability::fontDelivery:
            return "a servi une police";
        }
        return {};
    }

    std::string group(Group group) const override {
        switch (group) {
        case Group::identity:
            return "Découvrir qui vous êtes";
        case Group::auction:
            return "Acheter et vendre votre visite";
        case Group::profile:
            return "Tenir un fichier sur vous";
        case Group::measurement:
            return "Vous compter";
        case Group::advertising:
            return "Diffuser et vérifier les publicités";
        case Group::walls:
            return "Vous barrer la route";
        case Group::ownGround:
            return "Ce site, sous un autre nom";
        case Group::backend:
            return "Là où ce site garde ses propres données";
        case Group::dead:
            return "Balises mortes, toujours actives";
        case Group::ordinary:
            return "Ordinaires";
        case Group::unknown:
            return "Non identifiés";
        }
        return {};
    }

    std::string depth(Depth depth) const override {
        switch (depth) {
        case Depth::served:
            return "a servi la page";
        case Depth::counted:
            return "vous a compté";
        case Depth::thisPage:
            return "a vu cette visite";
        case Depth::thisBrowser:
            return "connaît ce navigateur";
        case Depth::acrossSites:
            return "vous connaît sur d’autres sites";
        case Depth::acrossLives:
            return "vous connaît hors du web";
        }
        return {};
    }

    std::string attribution(const Dossier::Company& company) const override {
        Dossier::Company shown = company;
        shown.name = prose(company.name);
        return shown.attribution();
    }

    std::string prose(std::string_view english) const override {
        return translatedProse(frenchCatalogueProse(), english);
    }

    std::string finding(const Evidence::Finding& finding) const override {
        const std::string& detail = finding.detail;
        switch (finding.kind) {
        case Kind::identifier:
            return "Vous a attribué un numéro de suivi.";
        case Kind::pageRemembered:
            return "A noté une page où vous étiez.";
        case Kind::videoRemembered:
            return "A noté la dernière vidéo que vous avez regardée, et quand.";
        case Kind::eventQueue:
            return "A mis de côté " + detail + " de ce que vous avez fait, pour l’envoyer ensuite.";
        case Kind::deviceDescribed:
            return "A noté ces traits de votre appareil\u00a0: " + detail + ".";
        case Kind::expiry:
            return "Conservé jusqu’au " + detail + ".";
        case Kind::brandTLD:
            return "Seul " + detail + " peut enregistrer un nom ici. C’est donc lui.";
        case Kind::sameName:
            return "Le nom de ce site, hors de son domaine.";
        case Kind::namedSeat:
            return "Une place attitrée chez " + prose(detail) + ".";
        case Kind::serverSideAuction:
            return "Une enchère a eu lieu, de serveur à serveur, invisible.";
        case Kind::sdkRan:
            return "Le code de " + prose(detail) +
                   " s’est exécuté ici, que ses propres serveurs aient été joints ou non.";
        }
        return {};
    }

    std::string headline(const Dossier::Reach& reach) const override {
        if (reach.companies < 1) {
            if (reach.houseName)
                return "Tous les serveurs d’ici appartiennent à " + prose(*reach.houseName) +
                       ". Il n’y a aucun tiers à bloquer\u00a0: l’entreprise que vous veniez voir est celle "
                       "qui tient le fichier, et elle commence avant que vous ayez fait quoi que ce soit.";
            return reach.own < 1 ? "Rien ici ne vous a suivi."
                                 : "Tous les autres serveurs d’ici appartiennent à l’entreprise de ce site.";
        }

        const std::int64_t c = reach.companies;
        const std::int64_t s = reach.saw;
        auto saw = [](std::int64_t n) {
            return companies(n) + (one(n) ? " a vu" : " ont vu") + " cette visite";
        };
        std::string text;
        if (s == 0)
            text = companies(c) + (one(c) ? " vous a compté" : " vous ont compté");
        else if (c - s >= 1)
            text = saw(s) + ", et " +
                   (one(c - s) ? "une autre vous a compté" : number(c - s) + " autres vous ont compté");
        else
            text = saw(s);

        switch (reach.outsideDeepest) {
        case Depth::served:
        case Depth::counted:
            text += ". Aucune ne vous a suivi au-delà de cette page.";
            break;
        case Depth::thisPage:
            text += ".";
            break;
        case Depth::thisBrowser:
        case Depth::acrossSites:
        case Depth::acrossLives: {
            const bool wasBlocked = reach.deepestWasBlocked;
            std::string subject = reach.deepestName
                                      ? prose(*reach.deepestName)
                                      : std::string(wasBlocked ? "l’une d’elles" : "L’une d’elles");
            std::string act;
            if (reach.outsideDeepest == Depth::thisBrowser)
                act = wasBlocked ? " aurait reconnu ce navigateur à son retour."
                                 : " peut reconnaître ce navigateur quand il revient.";
            else if (reach.outsideDeepest == Depth::acrossSites)
                act = wasBlocked ? " aurait reconnu ce navigateur sur d’autres sites."
                                 : " peut reconnaître ce navigateur sur d’autres sites.";
            else
                act = wasBlocked
                          ? " aurait relié ce navigateur à votre téléphone et à des fichiers tenus sur "
                            "vous hors du web."
                          : " peut relier ce navigateur à votre téléphone et à des fichiers tenus sur vous "
                            "hors du web.";
            text += std::string(". ") + (wasBlocked ? "Sans le blocage, " : "") + subject + act;
            break;
        }
        }

        if (reach.houseName)
            text += " Ce site appartient à " + prose(*reach.houseName) +
                    ", dont c’est le métier\u00a0: le fichier tenu sur vous n’a aucun tiers à bloquer et "
                    "commence "
                    "avant que vous ayez fait quoi que ce soit.";
        return text;
    }

    std::string whatTheScoreMeans(const Dossier::Reach& reach, bool blocking) const override {
        const std::int64_t c = reach.companies;
        const std::int64_t b = reach.blocked;
        const std::int64_t g = reach.gotThrough;
        if (c < 1) return {};
        const std::string attempted = " Le score compte ce qui a été tenté, bloqué ou non.";
        const std::string all = one(c) ? "elle a eu" : "toutes les " + number(c) + " ont eu";
        if (!blocking)
            return "Le blocage était désactivé\u00a0: " + all + " votre adresse IP et l’heure." + attempted;
        if (g == 0)
            return (one(c) ? std::string("Nimb l’a bloquée ici\u202f; elle n’a eu")
                           : "Nimb les a bloquées toutes les " + number(c) + " ici\u202f; aucune n’a eu") +
                   " ni votre adresse IP ni l’heure." + attempted;
        if (b > 0)
            return "Nimb en a bloqué " + number(b) + " ici\u202f; " + number(g) +
                   (one(g) ? " a eu" : " ont eu") + " votre adresse IP et l’heure." + attempted;
        return "Nimb n’en a bloqué aucune\u00a0: " + all + " votre adresse IP et l’heure." + attempted;
    }

    std::string outOfAHundred() const override { return " sur 100"; }
    std::string scoreFluctuates() const override {
        return "Le score varie légèrement selon la part de la page qui se charge et s’exécute.";
    }
    std::string noLongerExists() const override { return "disparu"; }
    std::string retiredFlag(std::string_view why) const override {
        return noLongerExists() + "\u00a0: " + std::string(why);
    }
    std::string whereTheNamesCameFrom() const override {
        return "À qui appartient un serveur, et ce que vend cette entreprise\u00a0: c’est la seule partie de "
               "ce "
               "rapport qui puisse être fausse, car c’est une affirmation sur une entreprise nommée, et la "
               "propriété change sans que le nom d’hôte change. Chaque nom ici est consigné d’après ce que "
               "l’entreprise elle-même a publié. Un serveur qu’aucune source ne permet de rattacher est "
               "classé comme non identifié plutôt que deviné. Révision du dossier\u00a0: " +
               std::string(Dossier::revised) + ".";
    }
    std::string nothingButDelivery(std::int64_t hosts) const override {
        if (one(hosts))
            return "Un serveur a envoyé les octets demandés par cette page, et rien d’autre. Il ne compte "
                   "pas "
                   "dans le score\u00a0:";
        return number(hosts) + " serveurs ont envoyé les octets demandés par cette page, et rien d’autre. "
                               "Ils ne comptent pas "
                               "dans le score\u00a0:";
    }
    std::string requestsBlocked(std::int64_t requests) const override {
        return count(requests, "requête bloquée", "requêtes bloquées");
    }
    std::string requestsGotThrough(std::int64_t requests) const override {
        return count(requests, "requête est passée", "requêtes sont passées");
    }
    std::string wasAllowed() const override { return "autorisé"; }

    std::string theWholeDossier() const override {
        return "Tous ceux que ce navigateur sait nommer, qu’ils aient été ou non sur la page d’où vous "
               "venez. "
               "Ce que chacun vend, à qui il appartient, et sous quelle forme son code arrive \u2014 pour "
               "qu’un "
               "nom dans un journal réseau soit un nom, et non un nom d’hôte qu’il faudrait croire sur "
               "parole.";
    }
    std::string searchTheDossier() const override { return "Entreprise, serveur ou fichier"; }
    std::string searchButton() const override { return "Rechercher"; }
    std::string companyTally(std::int64_t shown, std::int64_t total) const override {
        if (shown != total)
            return number(shown) + " " + (one(shown) ? "entreprise" : "entreprises") + " sur " +
                   number(total);
        return companies(shown);
    }
    std::string nothingMatched(std::string_view query) const override {
        return "Personne dans le dossier ne répond au nom de «\u00a0" + std::string(query) +
               "\u00a0». C’est un fichier de quelques dizaines d’entreprises, pas un annuaire du "
               "secteur\u00a0: "
               "un nom qui n’y figure pas n’est blanchi de rien.";
    }
    std::string showAll() const override { return "Tout afficher"; }
    std::string whatTheyDo() const override { return "Activité"; }
    std::string connections() const override { return "Liens"; }
    std::string fileNames() const override { return "Fichiers"; }
    std::string hostsHere() const override { return "Serveurs"; }
    std::string onThisPage() const override { return "sur cette page"; }
    std::string isParent() const override { return "maison mère"; }
    std::string sameOwner() const override { return "même propriétaire"; }
    std::string answersToNobody() const override {
        return "Pas de maison mère, et personne d’autre ici sous le même toit.";
    }
};

const DossierVocabulary& frenchDossier() {
    static const FrenchDossier words;
    return words;
}

} // namespace nimb
