// The dossier's words in Spanish, speaking to the reader as "tú" like the rest of the Spanish words.

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
    return count(n, "empresa", "empresas");
}

} // namespace

class SpanishDossier final : public DossierVocabulary {
public:
    std::string capability(Capability capability) const override {
        switch (capability) {
        case Capability::crossSite:
            return "te reconoce en otros sitios";
        case Capability::crossDevice:
            return "vincula este navegador con tu teléfono";
        case Capability::offlineJoin:
            return "te une a registros de fuera de la web";
        case Capability::bidBroadcast:
            return "pujó por tu visita";
        case Capability::serverSideBidding:
            return "pujó por ti, de servidor a servidor";
        case Capability::adDelivery:
            return "sirvió los anuncios";
        case Capability::recommendation:
            return "los enlaces patrocinados";
        case Capability::viewability:
            return "midió hasta dónde te desplazaste";
        case Capability::adSecurity:
            return "leyó cada anuncio que se te mostró";
        case Capability::sessionReplay:
            return "reprodujo tu sesión";
        case Capability::behaviouralProfile:
            return "guarda un perfil tuyo";
        case Capability::experimentation:
            return "probó una variante contigo";
        case Capability::audienceMeasurement:
            return "te contó";
        case Capability::contentAnalytics:
            return "midió lo que captó tu atención";
        case Capability::socialDistribution:
            return "elige lo que se publica";
        case Capability::socialLogin:
            return "guarda tu inicio de sesión";
        case Capability::consentWall:
            return "la ventana de consentimiento";
        case Capability::interruption:
            return "los avisos insistentes";
        case Capability::appBackend:
            return "los servidores propios de este sitio";
        case Capability::contentDelivery:
            return "sirvió contenido";
        case Capability::tagDelivery:
            return "cargó todas las demás etiquetas de aquí";
        case Capability::fontDelivery:
            return "sirvió una fuente";
        }
        return {};
    }

    std::string group(Group group) const override {
        switch (group) {
        case Group::identity:
            return "Averiguar quién eres";
        case Group::auction:
            return "Comprar y vender tu visita";
        case Group::profile:
            return "Llevar un expediente sobre ti";
        case Group::measurement:
            return "Contarte";
        case Group::advertising:
            return "Servir y comprobar los anuncios";
        case Group::walls:
            return "Interponerse en tu camino";
        case Group::ownGround:
            return "Este sitio, con otro nombre";
        case Group::backend:
            return "Donde este sitio guarda sus propios datos";
        case Group::dead:
            return "Etiquetas muertas que siguen disparándose";
        case Group::ordinary:
            return "Corrientes";
        case Group::unknown:
            return "Sin identificar";
        }
        return {};
    }

    std::string depth(Depth depth) const override {
        switch (depth) {
        case Depth::served:
            return "sirvió la página";
        case Depth::counted:
            return "te contó";
        case Depth::thisPage:
            return "vio esta visita";
        case Depth::thisBrowser:
            return "conoce este navegador";
        case Depth::acrossSites:
            return "te conoce en otros sitios";
        case Depth::acrossLives:
            return "te conoce fuera de la web";
        }
        return {};
    }

    std::string attribution(const Dossier::Company& company) const override {
        Dossier::Company shown = company;
        shown.name = prose(company.name);
        return shown.attribution();
    }

    std::string prose(std::string_view english) const override {
        return translatedProse(spanishCatalogueProse(), english);
    }

    std::string finding(const Evidence::Finding& finding) const override {
        const std::string& detail = finding.detail;
        switch (finding.kind) {
        case Kind::identifier:
            return "Te asignó un número de seguimiento.";
        case Kind::pageRemembered:
            return "Anotó una página en la que estuviste.";
        case Kind::videoRemembered:
            return "Anotó el último vídeo que viste, y cuándo.";
        case Kind::eventQueue:
            return "Guardó en cola " + detail + " de lo que hiciste, para enviarlo después.";
        case Kind::deviceDescribed:
            return "Anotó estos datos de tu dispositivo: " + detail + ".";
        case Kind::expiry:
            return "Guardado hasta el " + detail + ".";
        case Kind::brandTLD:
            return "Solo " + detail + " puede registrar nombres aquí. Son ellos.";
        case Kind::sameName:
            return "El nombre de este sitio, fuera de su dominio.";
        case Kind::namedSeat:
            return "Un asiento fijo en " + prose(detail) + ".";
        case Kind::serverSideAuction:
            return "Hubo una subasta, de servidor a servidor, invisible.";
        case Kind::sdkRan:
            return "El código de " + prose(detail) +
                   " se ejecutó aquí, se llegara o no a sus propios servidores.";
        }
        return {};
    }

    std::string headline(const Dossier::Reach& reach) const override {
        if (reach.companies < 1) {
            if (reach.houseName)
                return "Todos los servidores de aquí son de " + prose(*reach.houseName) +
                       ". No hay ningún tercero que bloquear: la empresa que venías a ver es la que lleva el "
                       "expediente, y empieza antes de que hayas hecho nada.";
            return reach.own < 1
                       ? "Nada de aquí te siguió."
                       : "Todos los demás servidores de aquí pertenecen a la propia empresa de este sitio.";
        }

        const std::int64_t c = reach.companies;
        const std::int64_t s = reach.saw;
        auto saw = [](std::int64_t n) {
            return companies(n) + (n == 1 ? " vio" : " vieron") + " esta visita";
        };
        std::string text;
        if (s == 0)
            text = companies(c) + (c == 1 ? " te contó" : " te contaron");
        else if (c - s >= 1)
            text =
                saw(s) + (c - s == 1 ? ", y otra te contó" : ", y otras " + number(c - s) + " te contaron");
        else
            text = saw(s);

        switch (reach.outsideDeepest) {
        case Depth::served:
        case Depth::counted:
            text += ". Ninguna te siguió fuera de esta página.";
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
                                      : std::string(wasBlocked ? "una de ellas" : "Una de ellas");
            std::string act;
            if (reach.outsideDeepest == Depth::thisBrowser)
                act = wasBlocked ? " habría reconocido este navegador al volver."
                                 : " puede reconocer este navegador cuando vuelva.";
            else if (reach.outsideDeepest == Depth::acrossSites)
                act = wasBlocked ? " habría reconocido este navegador en otros sitios."
                                 : " puede reconocer este navegador en otros sitios.";
            else
                act = wasBlocked
                          ? " habría vinculado este navegador con tu teléfono y con registros reunidos "
                            "sobre ti fuera de la web."
                          : " puede vincular este navegador con tu teléfono y con registros reunidos sobre "
                            "ti fuera de la web.";
            text += std::string(". ") + (wasBlocked ? "Sin el bloqueo, " : "") + subject + act;
            break;
        }
        }

        if (reach.houseName)
            text += " Este sitio pertenece a " + prose(*reach.houseName) +
                    ", que se dedica a este negocio: el expediente que lleva sobre ti no tiene ningún "
                    "tercero que "
                    "bloquear y empieza antes de que hayas hecho nada.";
        return text;
    }

    std::string whatTheScoreMeans(const Dossier::Reach& reach, bool blocking) const override {
        const std::int64_t c = reach.companies;
        const std::int64_t b = reach.blocked;
        const std::int64_t g = reach.gotThrough;
        if (c < 1) return {};
        const std::string attempted = " La puntuación cuenta lo que se intentó, bloqueado o no.";
        if (!blocking)
            return "El bloqueo estaba desactivado, así que " +
                   (c == 1 ? std::string("la única obtuvo") : "las " + number(c) + " obtuvieron") +
                   " tu dirección IP y la hora." + attempted;
        if (g == 0)
            return (c == 1 ? std::string("Nimb la bloqueó aquí; no obtuvo")
                           : "Nimb bloqueó aquí a las " + number(c) + "; ninguna obtuvo") +
                   " tu dirección IP ni la hora." + attempted;
        if (b > 0)
            return "Nimb bloqueó aquí a " + (b == 1 ? std::string("una") : number(b)) + " de ellas; " +
                   number(g) + (g == 1 ? " obtuvo" : " obtuvieron") + " tu dirección IP y la hora." +
                   attempted;
        return "Nimb no bloqueó a ninguna: " +
               (c == 1 ? std::string("obtuvo") : "las " + number(c) + " obtuvieron") +
               " tu dirección IP y la hora." + attempted;
    }

    std::string outOfAHundred() const override { return " de 100"; }
    std::string scoreFluctuates() const override {
        return "La puntuación varía ligeramente según cuánto de la página se cargue y se active.";
    }
    std::string noLongerExists() const override { return "extinto"; }
    std::string retiredFlag(std::string_view why) const override {
        return noLongerExists() + ": " + std::string(why);
    }
    std::string whereTheNamesCameFrom() const override {
        return "A quién pertenece un servidor, y qué vende esa empresa, es la única parte de este informe "
               "que "
               "puede estar equivocada: es una afirmación sobre un negocio con nombre, y la propiedad cambia "
               "sin que cambie el nombre del servidor. Cada nombre de aquí consta según lo que la propia "
               "empresa ha publicado. Un servidor que no puede atribuirse a ninguna fuente figura como sin "
               "identificar, en lugar de adivinarlo. Revisión del expediente: " +
               std::string(Dossier::revised) + ".";
    }
    std::string nothingButDelivery(std::int64_t hosts) const override {
        if (hosts == 1)
            return "Un servidor envió los bytes que pidió esta página, y nada más. No suma nada a la "
                   "puntuación:";
        return number(hosts) +
               " servidores enviaron los bytes que pidió esta página, y nada más. No suman nada a la "
               "puntuación:";
    }
    std::string requestsBlocked(std::int64_t requests) const override {
        return count(requests, "solicitud bloqueada", "solicitudes bloqueadas");
    }
    std::string requestsGotThrough(std::int64_t requests) const override {
        return count(requests, "solicitud pasó", "solicitudes pasaron");
    }
    std::string wasAllowed() const override { return "permitido"; }

    std::string theWholeDossier() const override {
        return "Todos a los que este navegador sabe poner nombre, estuvieran o no en la página de la que "
               "vienes. Qué vende cada uno, quién es su dueño y cómo llega su código \u2014 para que un "
               "nombre "
               "en un registro de red sea un nombre, y no un nombre de servidor que haya que creer por la "
               "palabra de alguien.";
    }
    std::string searchTheDossier() const override { return "Empresa, servidor o archivo"; }
    std::string searchButton() const override { return "Buscar"; }
    std::string companyTally(std::int64_t shown, std::int64_t total) const override {
        if (shown != total) return number(shown) + " de " + number(total) + " empresas";
        return companies(shown);
    }
    std::string nothingMatched(std::string_view query) const override {
        return "Nadie en el expediente responde a «" + std::string(query) +
               "». Es un archivo de unas decenas de empresas, no un directorio del sector: que falte un "
               "nombre "
               "no significa que esté libre de sospecha.";
    }
    std::string showAll() const override { return "Mostrar todo"; }
    std::string whatTheyDo() const override { return "Qué hace"; }
    std::string connections() const override { return "Vínculos"; }
    std::string fileNames() const override { return "Llega como"; }
    std::string hostsHere() const override { return "Servidores"; }
    std::string onThisPage() const override { return "en esta página"; }
    std::string isParent() const override { return "matriz"; }
    std::string sameOwner() const override { return "mismo dueño"; }
    std::string answersToNobody() const override {
        return "Sin matriz, y nadie más aquí bajo el mismo techo.";
    }
};

const DossierVocabulary& spanishDossier() {
    static const SpanishDossier words;
    return words;
}

} // namespace nimb
