// The dossier's words in Italian, speaking to the reader as "tu" like the rest of the Italian words.

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
    return counted(CountRule::singularForOne, n, singular, plural);
}

std::string companies(std::int64_t n) {
    return count(n, "azienda", "aziende");
}

} // namespace

class ItalianDossier final : public DossierVocabulary {
public:
    std::string capability(Capability capability) const override {
        switch (capability) {
        case Capability::crossSite:
            return "ti riconosce su altri siti";
        case Capability::crossDevice:
            return "collega questo browser al tuo telefono";
        case Capability::offlineJoin:
            return "ti collega a dati raccolti fuori dal web";
        case Capability::bidBroadcast:
            return "ha fatto offerte sulla tua visita";
        case Capability::serverSideBidding:
            return "ha fatto offerte su di te, da server a server";
        case Capability::adDelivery:
            return "ha servito gli annunci";
        case Capability::recommendation:
            return "i link a pagamento";
        case Capability::viewability:
            return "ha misurato fin dove hai fatto scorrere la pagina";
        case Capability::adSecurity:
            return "ha letto ogni annuncio che ti è stato mostrato";
        case Capability::sessionReplay:
            return "ha riprodotto la tua sessione";
        case Capability::behaviouralProfile:
            return "tiene un profilo su di te";
        case Capability::experimentation:
            return "ha provato una variante su di te";
        case Capability::audienceMeasurement:
            return "ti ha contato";
        case Capability::contentAnalytics:
            return "ha misurato cosa ha catturato la tua attenzione";
        case Capability::socialDistribution:
            return "sceglie cosa viene pubblicato";
        case Capability::socialLogin:
            return "custodisce il tuo accesso";
        case Capability::consentWall:
            return "la finestra del consenso";
        case Capability::interruption:
            return "i richiami insistenti";
        case Capability::appBackend:
            return "i server di questo stesso sito";
        case Capability::contentDelivery:
            return "ha servito contenuti";
        case Capability::tagDelivery:
            return "ha caricato tutti gli altri tag di qui";
        case Capability::fontDelivery:
            return "ha servito un carattere tipografico";
        }
        return {};
    }

    std::string group(Group group) const override {
        switch (group) {
        case Group::identity:
            return "Capire chi sei";
        case Group::auction:
            return "Comprare e vendere la tua visita";
        case Group::profile:
            return "Tenere un fascicolo su di te";
        case Group::measurement:
            return "Contarti";
        case Group::advertising:
            return "Servire e controllare gli annunci";
        case Group::walls:
            return "Metterti i bastoni tra le ruote";
        case Group::ownGround:
            return "Questo sito, sotto un altro nome";
        case Group::backend:
            return "Dove questo sito tiene i propri dati";
        case Group::dead:
            return "Tag morti, ancora attivi";
        case Group::ordinary:
            return "Ordinari";
        case Group::unknown:
            return "Non identificati";
        }
        return {};
    }

    std::string depth(Depth depth) const override {
        switch (depth) {
        case Depth::served:
            return "ha servito la pagina";
        case Depth::counted:
            return "ti ha contato";
        case Depth::thisPage:
            return "ha visto questa visita";
        case Depth::thisBrowser:
            return "conosce questo browser";
        case Depth::acrossSites:
            return "ti conosce su altri siti";
        case Depth::acrossLives:
            return "ti conosce fuori dal web";
        }
        return {};
    }

    std::string attribution(const Dossier::Company& company) const override {
        Dossier::Company shown = company;
        shown.name = prose(company.name);
        return shown.attribution();
    }

    std::string prose(std::string_view english) const override {
        return translatedProse(italianCatalogueProse(), english);
    }

    std::string finding(const Evidence::Finding& finding) const override {
        const std::string& detail = finding.detail;
        switch (finding.kind) {
        case Kind::identifier:
            return "Ti ha assegnato un numero di tracciamento.";
        case Kind::pageRemembered:
            return "Ha annotato una pagina in cui eri.";
        case Kind::videoRemembered:
            return "Ha annotato l’ultimo video che hai guardato, e quando.";
        case Kind::eventQueue:
            return "Ha messo da parte " + detail + " di ciò che hai fatto, da inviare poi.";
        case Kind::deviceDescribed:
            return "Ha annotato questi dati del tuo dispositivo: " + detail + ".";
        case Kind::expiry:
            return "Conservato fino a: " + detail + ".";
        case Kind::brandTLD:
            return "Solo " + detail + " può registrare nomi qui. Sono loro.";
        case Kind::sameName:
            return "Il nome di questo sito, fuori dal suo dominio.";
        case Kind::namedSeat:
            return "Un posto fisso presso " + prose(detail) + ".";
        case Kind::serverSideAuction:
            return "Si è svolta un’asta, da server a server, invisibile.";
        case Kind::sdkRan:
            return "Il codice di " + prose(detail) +
                   " è stato eseguito qui, che i suoi server siano stati raggiunti o no.";
        }
        return {};
    }

    std::string headline(const Dossier::Reach& reach) const override {
        if (reach.companies < 1) {
            if (reach.houseName)
                return "Tutti i server qui sono di " + prose(*reach.houseName) +
                       ". Non c’è nessuna terza parte da bloccare: l’azienda che volevi vedere è quella che "
                       "tiene il fascicolo, e comincia prima che tu abbia fatto qualsiasi cosa.";
            return reach.own < 1
                       ? "Niente qui ti ha seguito."
                       : "Tutti gli altri server qui appartengono all’azienda stessa di questo sito.";
        }

        const std::int64_t c = reach.companies;
        const std::int64_t s = reach.saw;
        auto saw = [](std::int64_t n) {
            return companies(n) + (n == 1 ? " ha visto" : " hanno visto") + " questa visita";
        };
        std::string text;
        if (s == 0)
            text = companies(c) + (c == 1 ? " ti ha contato" : " ti hanno contato");
        else if (c - s >= 1)
            text = saw(s) + (c - s == 1 ? ", e un’altra ti ha contato"
                                        : ", e altre " + number(c - s) + " ti hanno contato");
        else
            text = saw(s);

        switch (reach.outsideDeepest) {
        case Depth::served:
        case Depth::counted:
            text += ". Nessuna ti ha seguito fuori da questa pagina.";
            break;
        case Depth::thisPage:
            text += ".";
            break;
        case Depth::thisBrowser:
        case Depth::acrossSites:
        case Depth::acrossLives: {
            const bool wasBlocked = reach.deepestWasBlocked;
            std::string subject = reach.deepestName ? prose(*reach.deepestName)
                                                    : std::string(wasBlocked ? "una di loro" : "Una di loro");
            std::string act;
            if (reach.outsideDeepest == Depth::thisBrowser)
                act = wasBlocked ? " avrebbe riconosciuto questo browser al suo ritorno."
                                 : " può riconoscere questo browser quando torna.";
            else if (reach.outsideDeepest == Depth::acrossSites)
                act = wasBlocked ? " avrebbe riconosciuto questo browser su altri siti."
                                 : " può riconoscere questo browser su altri siti.";
            else
                act = wasBlocked
                          ? " avrebbe collegato questo browser al tuo telefono e a dati raccolti su di te "
                            "fuori dal web."
                          : " può collegare questo browser al tuo telefono e a dati raccolti su di te fuori "
                            "dal web.";
            text += std::string(". ") + (wasBlocked ? "Senza il blocco, " : "") + subject + act;
            break;
        }
        }

        if (reach.houseName)
            text += " Questo sito appartiene a " + prose(*reach.houseName) +
                    ", che fa proprio questo mestiere: il fascicolo che tiene su di te non ha terze parti da "
                    "bloccare e comincia prima che tu abbia fatto qualsiasi cosa.";
        return text;
    }

    std::string whatTheScoreMeans(const Dossier::Reach& reach, bool blocking) const override {
        const std::int64_t c = reach.companies;
        const std::int64_t b = reach.blocked;
        const std::int64_t g = reach.gotThrough;
        if (c < 1) return {};
        const std::string attempted = " Il punteggio conta ciò che è stato tentato, bloccato o no.";
        const std::string all = c == 1 ? "l’unica ha avuto" : "tutte e " + number(c) + " hanno avuto";
        if (!blocking)
            return "Il blocco era disattivato, quindi " + all + " il tuo indirizzo IP e l’ora." + attempted;
        if (g == 0)
            return (c == 1 ? std::string("Nimb l’ha bloccata qui; non ha avuto")
                           : "Nimb le ha bloccate tutte e " + number(c) + " qui; nessuna ha avuto") +
                   " né il tuo indirizzo IP né l’ora." + attempted;
        if (b > 0)
            return (b == 1 ? std::string("Nimb ne ha bloccata una qui; ")
                           : "Nimb ne ha bloccate " + number(b) + " qui; ") +
                   number(g) + (g == 1 ? " ha avuto" : " hanno avuto") + " il tuo indirizzo IP e l’ora." +
                   attempted;
        return "Nimb non ne ha bloccata nessuna: " +
               (c == 1 ? std::string("ha avuto") : "tutte e " + number(c) + " hanno avuto") +
               " il tuo indirizzo IP e l’ora." + attempted;
    }

    std::string outOfAHundred() const override { return " su 100"; }
    std::string scoreFluctuates() const override {
        return "Il punteggio varia leggermente a seconda di quanta parte della pagina si carica e si attiva.";
    }
    std::string noLongerExists() const override { return "defunto"; }
    std::string retiredFlag(std::string_view why) const override {
        return noLongerExists() + ": " + std::string(why);
    }
    std::string whereTheNamesCameFrom() const override {
        return "A chi appartiene un server, e cosa vende quell’azienda, è l’unica parte di questo rapporto "
               "che "
               "può essere sbagliata: è un’affermazione su un’impresa con un nome, e la proprietà cambia "
               "senza "
               "che cambi il nome host. Ogni nome qui è registrato in base a ciò che l’azienda stessa ha "
               "pubblicato. Un server che non si può ricondurre a nessuna fonte è elencato come non "
               "identificato, invece di tirare a indovinare. Revisione del dossier: " +
               std::string(Dossier::revised) + ".";
    }
    std::string nothingButDelivery(std::int64_t hosts) const override {
        if (hosts == 1)
            return "Un server ha inviato i byte che questa pagina ha chiesto, e nient’altro. Non conta nel "
                   "punteggio:";
        return number(hosts) +
               " server hanno inviato i byte che questa pagina ha chiesto, e nient’altro. Non contano nel "
               "punteggio:";
    }
    std::string requestsBlocked(std::int64_t requests) const override {
        return count(requests, "richiesta bloccata", "richieste bloccate");
    }
    std::string requestsGotThrough(std::int64_t requests) const override {
        return count(requests, "richiesta è passata", "richieste sono passate");
    }
    std::string wasAllowed() const override { return "consentito"; }

    std::string theWholeDossier() const override {
        return "Tutti quelli a cui questo browser sa dare un nome, che fossero o no sulla pagina da cui "
               "vieni. "
               "Cosa vende ciascuno, chi ne è il proprietario e in che forma arriva il suo codice \u2014 "
               "così "
               "che un nome in un log di rete sia un nome, e non un nome host per cui fidarsi della parola "
               "di "
               "qualcuno.";
    }
    std::string searchTheDossier() const override { return "Azienda, server o file"; }
    std::string searchButton() const override { return "Cerca"; }
    std::string companyTally(std::int64_t shown, std::int64_t total) const override {
        if (shown != total) return number(shown) + " di " + number(total) + " aziende";
        return companies(shown);
    }
    std::string nothingMatched(std::string_view query) const override {
        return "Nessuno nel dossier risponde a «" + std::string(query) +
               "». È un fascicolo di qualche decina di aziende, non un elenco del settore: un nome che manca "
               "non è stato scagionato da niente.";
    }
    std::string showAll() const override { return "Mostra tutto"; }
    std::string whatTheyDo() const override { return "Attività"; }
    std::string connections() const override { return "Legami"; }
    std::string fileNames() const override { return "Arriva come"; }
    std::string hostsHere() const override { return "Server"; }
    std::string onThisPage() const override { return "su questa pagina"; }
    std::string isParent() const override { return "capogruppo"; }
    std::string sameOwner() const override { return "stesso proprietario"; }
    std::string answersToNobody() const override {
        return "Nessuna capogruppo, e nessun altro qui sotto lo stesso tetto.";
    }
};

const DossierVocabulary& italianDossier() {
    static const ItalianDossier words;
    return words;
}

} // namespace nimb
