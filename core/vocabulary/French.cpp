#include "vocabulary/Languages.h"

namespace nimb {

namespace {

using Unavailable = NimbReportPage::Unavailable;
using Category = ContentBlocker::Category;

std::string number(std::int64_t n) {
    return std::to_string(n);
}

std::string count(std::int64_t n, std::string_view singular, std::string_view plural) {
    return counted(CountRule::singularBelowTwo, n, singular, plural);
}

} // namespace

class French final : public Vocabulary {
public:
    // Window chrome and tool tips
    std::string back() const override { return "Précédent"; }
    std::string forward() const override { return "Suivant"; }
    std::string reload() const override { return "Recharger"; }
    std::string stop() const override { return "Arrêter"; }
    std::string backHelp() const override { return "Afficher la page précédente"; }
    std::string forwardHelp() const override { return "Afficher la page suivante"; }
    std::string reloadHelp() const override { return "Actualiser la page"; }
    std::string stopHelp() const override { return "Arrêter le chargement de cette page"; }
    std::string shieldHelp() const override { return "Ce que cette page a tenté de charger"; }
    std::string shieldTip(bool blocking, std::int64_t n) const override {
        if (blocking) return n < 1 ? shieldHelp() : shieldHelp() + "\u00a0: " + count(n, "bloqué", "bloqués");
        if (n < 1) return "Rien n’a été bloqué sur cette page";
        return "Rien n’a été bloqué\u00a0: " + gotThrough(n);
    }
    std::string stealth() const override { return "Mode furtif"; }
    std::string untitled() const override { return "Sans titre"; }
    std::string hiddenTabs() const override { return "Onglets masqués"; }
    std::string search() const override { return "Rechercher"; }
    std::string home() const override { return "Accueil"; }

    // Menus
    std::string fileMenu() const override { return "Fichier"; }
    std::string editMenu() const override { return "Édition"; }
    std::string viewMenu() const override { return "Affichage"; }
    std::string goMenu() const override { return "Aller"; }
    std::string about(std::string_view app) const override { return "À propos de " + std::string(app); }
    std::string hide(std::string_view app) const override { return "Masquer " + std::string(app); }
    std::string quit(std::string_view app) const override { return "Quitter " + std::string(app); }
    std::string searchEngineMenu() const override { return "Moteur de recherche"; }
    std::string languageMenu() const override { return "Langue"; }
    std::string newTab() const override { return "Nouvel onglet"; }
    std::string newWindow() const override { return "Nouvelle fenêtre"; }
    std::string openLocation() const override { return "Ouvrir une adresse..."; }
    std::string settings() const override { return "Paramètres"; }
    std::string printPage() const override { return "Imprimer..."; }
    std::string closeTab() const override { return "Fermer l’onglet"; }
    std::string closeWindow() const override { return "Fermer la fenêtre"; }
    std::string cut() const override { return "Couper"; }
    std::string copy() const override { return "Copier"; }
    std::string paste() const override { return "Coller"; }
    std::string selectAll() const override { return "Tout sélectionner"; }
    std::string findInPage() const override { return "Rechercher dans la page..."; }
    std::string findNext() const override { return "Rechercher le suivant"; }
    std::string findPrevious() const override { return "Rechercher le précédent"; }
    std::string javaScript() const override { return "JavaScript"; }
    std::string blockAds() const override { return "Bloquer les publicités et les murs de consentement"; }
    std::string forgetLocalStorage() const override { return "Oublier le stockage local"; }
    std::string linksOnly() const override { return "Ne demander que des liens à Google"; }
    std::string recordReports() const override { return "Enregistrer les rapports NIMB"; }
    std::string rememberHistory() const override { return "Mémoriser l’historique"; }
    std::string clearHistoryMenu() const override { return "Effacer l’historique..."; }
    std::string clearSiteDataMenu() const override {
        return "Effacer les cookies et les données de sites...";
    }
    std::string nextTab() const override { return "Onglet suivant"; }
    std::string previousTab() const override { return "Onglet précédent"; }
    std::string reopenClosedTab() const override { return "Rouvrir l’onglet fermé"; }
    std::string zoomIn() const override { return "Zoom avant"; }
    std::string zoomOut() const override { return "Zoom arrière"; }
    std::string actualSize() const override { return "Taille réelle"; }
    std::string openLinkInNewTab() const override { return "Ouvrir le lien dans un nouvel onglet"; }
    std::string addBookmark() const override { return "Ajouter un signet"; }
    std::string removeEntirely() const override { return "Supprimer complètement"; }
    std::string marginalia() const override { return "Notes en marge"; }
    std::string addToMarginalia() const override { return "Annoter en marge"; }
    std::string bookmarks() const override { return "Signets"; }
    std::string history() const override { return "Historique"; }
    std::string nimbReport() const override { return "Rapport NIMB"; }
    std::string nimbScale() const override { return "Échelle Nimb"; }
    std::string overview() const override { return "Vue d’ensemble"; }
    std::string dossier() const override { return "Dossier"; }
    std::string viewDetails() const override { return "Voir les détails"; }
    std::string savedReports() const override { return "Rapports conservés"; }
    std::string urlsOnly() const override { return "Aucun — adresses seulement"; }

    // Buttons and field prompts on generated pages and panels
    std::string remove() const override { return "Supprimer"; }
    std::string save() const override { return "Enregistrer"; }
    std::string revert() const override { return "Restaurer"; }
    std::string addToToolbar() const override { return "Ajouter à la barre"; }
    std::string removeFromToolbar() const override { return "Retirer de la barre"; }
    std::string clearHistory() const override { return "Effacer l’historique"; }
    std::string forget() const override { return "Oublier"; }
    std::string clear() const override { return "Effacer"; }
    std::string cancel() const override { return "Annuler"; }
    std::string keepThisReport() const override { return "Conserver ce rapport"; }
    std::string namePlaceholder() const override { return "Le nom que vous lui donnez"; }
    std::string summaryPlaceholder() const override { return "Ce que c’est et pourquoi vous l’avez gardé"; }
    std::string closeMarginalia() const override { return "Masquer la marge"; }

    // Find bar
    std::string findPlaceholder() const override { return "Rechercher dans cette page"; }
    std::string matchTally(std::int64_t n, std::int64_t total) const override {
        return number(n) + " sur " + number(total);
    }
    std::string noMatches() const override { return "Aucun résultat"; }
    std::string closeFind() const override { return "Masquer la barre de recherche"; }

    // Status line
    std::string contactingHost() const override { return "Connexion au serveur..."; }
    std::string documentDone() const override { return "Document : terminé"; }
    std::string done(std::int64_t blocked) const override {
        if (blocked < 1) return documentDone();
        return documentDone() + "  —  " + count(blocked, "bloqué", "bloqués");
    }
    std::string doneUnblocked(std::int64_t through) const override {
        if (through < 1) return documentDone();
        return documentDone() + "  \u2014  " + gotThrough(through);
    }
    std::string nothingToChange() const override { return "Rien à modifier."; }
    std::string removedBookmark(std::string_view name) const override {
        return "Signet supprimé : " + std::string(name);
    }
    std::string removedBookmarkAndMargin(std::string_view name, std::int64_t notes) const override {
        if (notes == 1)
            return "Signet supprimé : " + std::string(name) + " — ainsi que l’unique note de sa marge.";
        return "Signet supprimé : " + std::string(name) + " — ainsi que " + count(notes, "note", "notes") +
               " de sa marge.";
    }
    std::string addedToToolbar(std::string_view name) const override {
        return "Ajouté à la barre personnelle : " + std::string(name);
    }
    std::string offToolbar(std::string_view name) const override {
        return "Retiré de la barre personnelle, mais toujours dans les signets : " + std::string(name);
    }
    std::string forgot(std::string_view what) const override { return "Oublié : " + std::string(what); }
    std::string clearedSiteData() const override {
        return "Cookies et données de sites effacés : les sites ne vous reconnaîtront plus.";
    }
    std::string siteDataNotCleared() const override {
        return "Rien d’effacé : les cookies et les données de sites n’ont pas pu être supprimés.";
    }
    std::string nothingToClear() const override { return "Rien à effacer."; }
    std::string clearedHistory(std::int64_t n) const override {
        return "Historique effacé : " + count(n, "page oubliée", "pages oubliées") + ".";
    }
    std::string rememberingHistory() const override { return "Je retiens où vous allez."; }
    std::string notRememberingHistory() const override { return "Je ne tiens plus l’historique."; }
    std::string nothingToBookmark() const override { return "Il n’y a rien ici à ajouter aux signets."; }
    std::string alreadyBookmarked(std::string_view name) const override {
        return "Déjà dans les signets : " + std::string(name);
    }
    std::string addedBookmark(std::string_view name) const override {
        return "Signet ajouté : " + std::string(name);
    }
    std::string savedBookmark(std::string_view name) const override {
        return "Enregistré : " + std::string(name);
    }
    std::string keptInTheMargin(std::string_view line) const override {
        return "Noté en marge : " + std::string(line);
    }
    std::string struckOut() const override { return "Rayé de la marge."; }
    std::string nothingSelected() const override {
        return "Sélectionnez d’abord quelque chose dans la page.";
    }
    std::string nowSpeaking() const override { return "Je parle désormais français."; }
    std::string reportKept(std::string_view title) const override {
        return "Rapport de " + std::string(title) + " conservé.";
    }
    std::string reportForgotten(std::string_view title) const override {
        return "Oublié : le rapport de " + std::string(title) + ".";
    }
    std::string nothingToKeep() const override { return "Il n’y a ici aucun rapport à conserver."; }

    // Confirmation dialogs
    std::string removeBookmarkQuestion(std::string_view name) const override {
        return "Supprimer " + std::string(name) + " ?";
    }
    std::string refusedWindows() const override {
        return "Cette page a tenté d’ouvrir d’autres fenêtres ; elles n’ont pas été ouvertes.";
    }
    std::string downloadNotSaved() const override {
        return "Non enregistré : ce navigateur ne garde rien de ce qu’une page propose en téléchargement.";
    }
    std::string couldNotOpen() const override { return "Impossible d’ouvrir cette page"; }
    std::string stoppedWorking() const override { return "Cette page a cessé de fonctionner"; }
    std::string tryAgain() const override { return "Réessayer"; }
    std::string processEnded() const override {
        return "La page s’est arrêtée\u00a0: le processus qui l’affichait a pris fin de façon inattendue.";
    }
    std::string refusedPrint() const override {
        return "Cette page a redemandé l’impression ; la demande a été refusée.";
    }
    std::string blockingStartsLate() const override {
        return "Le blocage commence en retard : la liste de blocage n’est pas prête, cette page se charge "
               "sans elle.";
    }
    std::string doneUnfiltered() const override {
        return documentDone() + "  —  chargée avant le début du blocage";
    }
    std::string waitingToSave() const override {
        return "Enregistrement en attente : un autre programme utilise votre profil.";
    }
    std::string notSavedReadOnly() const override {
        return "Non enregistré : votre profil ne peut pas être modifié.";
    }
    std::string notSavedDiskFull() const override { return "Non enregistré : le disque est plein."; }
    std::string notSaved() const override { return "Non enregistré : votre profil n’a pas pu être écrit."; }
    std::string profileReadOnly(std::string_view path) const override {
        return "Votre profil (" + std::string(path) +
               ") peut être lu mais pas modifié. Vos signets, votre historique et vos notes sont là, "
               "mais vos modifications ne seront pas conservées après la fermeture.";
    }
    std::string profileInUse(std::string_view path) const override {
        return "Un autre programme utilise votre profil (" + std::string(path) +
               "). Vos signets, votre historique et vos notes sont là, mais vos modifications ne seront "
               "pas conservées après la fermeture.";
    }
    std::string profileUnavailable(std::string_view path) const override {
        return "Votre profil (" + std::string(path) +
               ") n’a pas pu être ouvert. Rien de ce que vous modifiez ne sera conservé après la fermeture.";
    }
    std::string profileSetAside(std::string_view aside) const override {
        return "Votre profil était endommagé et illisible. Il a été conservé tel quel sous le nom " +
               std::string(aside) + ", et un nouveau profil vide a été créé.";
    }
    std::string dismiss() const override { return "Fermer"; }
    std::string removeBookmarkDetail(std::int64_t notes) const override {
        if (notes == 1) return "Le signet emporte avec lui la note que vous aviez laissée dans sa marge.";
        return "Le signet emporte avec lui " + count(notes, "note laissée", "notes laissées") +
               " dans sa marge.";
    }
    std::string clearSiteDataQuestion() const override {
        return "Effacer les cookies et les données de sites ?";
    }
    std::string clearSiteDataDetail() const override {
        return "Tous les sites vous oublieront : vous serez déconnecté, et ce que les sites gardaient dans "
               "ce navigateur disparaît. L’historique et les signets restent.";
    }
    std::string clearHistoryQuestion() const override { return "Effacer l’historique ?"; }
    std::string clearHistoryDetail(std::int64_t pages) const override {
        return "Le souvenir de " + count(pages, "page", "pages") +
               " sera effacé, et la barre d’adresse n’aura plus rien pour compléter ce que vous tapez.";
    }
    std::string closeWindowQuestion() const override { return "Fermer cette fenêtre ?"; }
    std::string closeWindowDetail(std::int64_t tabs) const override {
        return "Elle contient " + count(tabs, "onglet ouvert", "onglets ouverts") + ".";
    }
    std::string unsavedQuestion() const override { return "Quitter sans enregistrer ?"; }
    std::string unsavedDetail(std::int64_t changes) const override {
        // French counts 0 and 1 in the singular.
        const bool one = changes < 2;
        std::string what = changes == 1 ? "Une modification n’a"
                           : one        ? number(changes) + " modification n’a"
                                        : number(changes) + " modifications n’ont";
        return what + " pas encore pu être enregistrée" + (one ? "" : "s") +
               " : un autre programme utilise votre profil. Si vous quittez maintenant, " +
               (one ? "elle sera perdue." : "elles seront perdues.");
    }
    std::string quitAnyway() const override { return "Quitter quand même"; }
    std::string quitQuestion(std::string_view app) const override {
        return "Quitter " + std::string(app) + " ?";
    }
    std::string quitDetail(std::int64_t windows, std::int64_t tabs) const override {
        return count(windows, "fenêtre", "fenêtres") + " et " + count(tabs, "onglet", "onglets") +
               " vont se fermer.";
    }
    std::string quitButton() const override { return "Quitter"; }
    std::string resendQuestion() const override { return "Renvoyer le formulaire ?"; }
    std::string resendDetail() const override {
        return "Cette page est la réponse à un formulaire. La recharger renvoie ce que vous avez saisi, "
               "et ce que le formulaire a fait, comme une commande ou un paiement, pourrait se reproduire.";
    }
    std::string resend() const override { return "Renvoyer"; }

    // Home page
    std::string recent() const override { return "Récents"; }
    std::string frequent() const override { return "Fréquents"; }
    std::string noRecent() const override { return "Les sites que vous avez visités apparaîtront ici."; }
    std::string noFrequent() const override {
        return "Les sites sur lesquels vous revenez apparaîtront ici.";
    }

    // Bookmarks page and the margin
    std::string nothingFiled() const override { return "Rien de classé pour l’instant."; }
    std::string notVisited() const override { return "Jamais ouvert depuis que vous l’avez classé"; }
    std::string marginCount(std::int64_t n) const override {
        if (n == 0) return "Rien dans la marge";
        if (n == 1) return "1 dans la marge";
        return number(n) + " dans la marge";
    }
    std::string marginaliaHow() const override {
        return "Sélectionnez quelque chose dans cette page, faites un clic droit dessus et choisissez "
               "Annoter en marge.";
    }
    std::string nothingInTheMargin() const override { return "Aucune note en marge pour l’instant."; }
    std::string elsewhereOnThisSite() const override { return "Ailleurs sur ce site"; }

    // History page
    std::string historyCount(std::int64_t n) const override {
        if (n == 0) return "Rien d’enregistré pour l’instant.";
        if (n == 1) return "Une page, conservée sur cet ordinateur et jamais envoyée ailleurs.";
        return number(n) + " pages, conservées sur cet ordinateur et jamais envoyées ailleurs.";
    }
    std::string nothingRecorded() const override { return "Rien d’enregistré pour l’instant."; }
    std::string nowhereYet() const override {
        return "Rien ici pour l’instant. Les sites que vous visitez apparaîtront dans cette liste.";
    }
    std::string visitCount(std::int64_t n) const override { return count(n, "visite", "visites"); }
    std::string today() const override { return "Aujourd’hui"; }
    std::string yesterday() const override { return "Hier"; }
    std::string historyNote() const override {
        return "La barre d’adresse complète ce que vous tapez à partir de cette liste. Tapez deux ou\n"
               "trois lettres d’un site déjà visité et le reste de l’adresse apparaît, sélectionné &mdash;\n"
               "continuez à taper et il disparaît. Aucun moteur de recherche n’est sollicité pour\n"
               "cela, et rien de ce que vous tapez ne quitte cet ordinateur.<br><br>\n"
               "<b>Fichier &rarr; Paramètres &rarr; Mémoriser l’historique</b> fige la liste ;\n"
               "<b>Effacer l’historique</b> vide ce qu’elle contient déjà. Tapez\n"
               "<code>about:history</code> dans la barre d’adresse pour revenir ici.";
    }

    // Site report page
    std::string noPage() const override { return "Aucune page"; }
    std::string unavailableLine(Unavailable why) const override {
        switch (why) {
        case Unavailable::recordingOff:
            return "L’enregistrement est désactivé.";
        case Unavailable::scriptingOff:
            return "Les scripts sont désactivés pour cette page.";
        case Unavailable::localPage:
            return "C’est l’une des pages du navigateur lui-même.";
        case Unavailable::notRecorded:
            break;
        }
        return "Rien n’a été enregistré pour cette page.";
    }
    std::string unavailableDetail(Unavailable why) const override {
        switch (why) {
        case Unavailable::recordingOff:
            return "Le blocage fait toujours son travail — ce réglage décide seulement si le navigateur\n"
                   "garde aussi la trace de <i>ce qu’il a bloqué</i>. Réactivez-le avec\n"
                   "<b>Affichage &rarr; Enregistrer les rapports NIMB</b>, puis rechargez la page.";
        case Unavailable::scriptingOff:
            return "Le rapport se construit en observant les requêtes de la page, et avec\n"
                   "<b>Affichage &rarr; JavaScript</b> désactivé, plus rien ne tourne pour observer.\n"
                   "La liste de blocage reste en vigueur ; on en a bien moins besoin, car l’essentiel\n"
                   "de ce qu’elle bloque, ce sont des scripts.";
        case Unavailable::localPage:
            return "Elle a été générée à partir d’une chaîne sur cet ordinateur, et n’a rien demandé à "
                   "personne.";
        case Unavailable::notRecorded:
            break;
        }
        return "Soit la page n’a pas fini de se charger, soit elle a remplacé l’enregistreur du navigateur\n"
               "par le sien. Rechargez et réessayez.";
    }
    std::string takenOffSummary(std::int64_t n) const override {
        return count(n, "élément retiré", "éléments retirés") + " de la page";
    }
    std::string otherHostsSummary(std::int64_t n) const override {
        return count(n, "autre serveur contacté", "autres serveurs contactés");
    }
    std::string keptToItself() const override {
        return "Rien dans la liste de blocage, et aucun tiers contacté. Cette page est restée dans son coin.";
    }
    std::string blockingIsOff() const override {
        return "<b>Le blocage est désactivé</b> &mdash; tout ce qui suit a pu passer.";
    }
    std::string notCounted() const override {
        return "Les connexions WebSocket ouvertes par les cadres et les workers ne sont pas comptées ; "
               "celles vers des serveurs de la liste sont bloquées tout de même.";
    }
    std::string witnessAbsent() const override {
        return "Seul ce que les scripts de la page ont vu est compté ici : le navigateur n’a pas pu suivre "
               "les requêtes de cette page, et celles de ses cadres, de ses workers et de ses feuilles de "
               "style manquent.";
    }
    std::string countedWithoutScripts() const override {
        return "JavaScript est désactivé : les requêtes ont été comptées par le navigateur, mais ce que la "
               "page a stocké et les murs retirés n’ont pas pu être lus.";
    }
    std::string category(Category c) const override {
        switch (c) {
        case Category::consent:
            return "Murs de consentement";
        case Category::advertising:
            return "Publicité";
        case Category::measurement:
            return "Mesure d’audience";
        case Category::interruption:
            break;
        }
        return "Interruptions";
    }
    std::string categoryWhy(Category c) const override {
        switch (c) {
        case Category::consent:
            return "Des prestataires dont le produit est la fenêtre modale qui vous demande d’accepter le "
                   "reste de cette liste.";
        case Category::advertising:
            return "Diffusion, mise aux enchères et vérification des publicités.";
        case Category::measurement:
            return "Statistiques, enregistrement des sessions et pixels qui rapportent ce que vous lisez.";
        case Category::interruption:
            break;
        }
        return "Interstitiels d’inscription à la newsletter, relances pour les notifications push et "
               "fenêtres de connexion que vous n’avez pas demandées.";
    }
    std::string alsoBlocked() const override { return "Également bloqués"; }
    std::string takenOffThePage() const override { return "Retiré de la page"; }
    std::string takenOffWhy() const override {
        return "Murs et emplacements publicitaires vides, masqués après être arrivés avec le balisage.";
    }
    std::string reason(NimbReportReason r) const override {
        switch (r) {
        case NimbReportReason::known:
            return "mur de consentement connu";
        case NimbReportReason::overlay:
            return "reconnu comme un mur";
        case NimbReportReason::adSlot:
            break;
        }
        return "emplacement publicitaire vide";
    }
    std::string otherHosts() const override { return "Autres serveurs contactés par cette page"; }
    std::string otherHostsWhy() const override {
        return "Absents de la liste de blocage, et autorisés : serveurs de contenu, polices, images,\n"
               "et tout ce qu’elle est allée chercher ailleurs que chez elle.";
    }
    std::string andMore(std::int64_t n) const override { return ", et " + number(n) + " de plus"; }
    std::string whatItKept() const override { return "Ce qu’elle a gardé pour elle"; }
    std::string storedLine(std::int64_t cookies, std::int64_t keys,
                           std::optional<std::string_view> size) const override {
        std::string text = count(cookies, "cookie visible", "cookies visibles") + " par les scripts et " +
                           count(keys, "clé", "clés") + " dans le stockage local";
        if (size) text += ", " + std::string(*size);
        return text + ".";
    }
    std::string storageWasLent() const override {
        return "Ce stockage appartenait au navigateur, pas au disque : la page y a écrit et l’a relu\n"
               "tout au long de la visite, et il est parti avec elle. Rien de ce qui suit n’a été conservé.";
    }
    std::string storageWasKept() const override {
        return "Bloquer la requête d’un traqueur ne vide pas le bocal que le site tient à son\n"
               "propre nom, et il n’a rien à demander à personne pour y écrire.";
    }
    std::string sessionKeys(std::int64_t n) const override {
        return "Le stockage de session, que tout navigateur oublie à la fermeture de la fenêtre, contenait " +
               count(n, "clé de plus", "clés de plus") + ".";
    }
    std::string databases(std::string_view names) const override {
        return "Bases de données ouvertes au nom de ce site : " + std::string(names) +
               ". Elles sont nommées ici, pas ouvertes — en lire une serait déjà une visite à part entière.";
    }
    std::string moreKeys(std::int64_t n) const override {
        return "et " + count(n, "clé", "clés") + " de plus";
    }
    std::string byteCount(std::int64_t n) const override { return count(n, "octet", "octets"); }

    // Kept reports
    std::string keptOn(std::string_view date) const override { return "Conservé : " + std::string(date); }
    std::string savedReportCount(std::int64_t n) const override {
        if (n == 1) return "1 rapport conservé";
        return count(n, "rapport conservé", "rapports conservés");
    }
    std::string nothingKept() const override {
        return "Rien de conservé pour l’instant. Chaque rapport a un bouton Conserver ce rapport sous le "
               "score, et ceux pour lesquels vous l’utilisez arrivent ici.";
    }
    std::string savedReportsNote() const override {
        return "Un rapport conservé garde ce que la page a fait — les serveurs qu’elle a appelés, les clés "
               "qu’elle a écrites, les murs qui sont tombés — et aucun de ses mots. Le score et les noms "
               "des entreprises sont recalculés chaque fois que cette liste est affichée, d’après le "
               "dossier tel qu’il est aujourd’hui, si bien qu’un rapport conservé le mois dernier peut se "
               "lire autrement maintenant : c’est le dossier qui a appris quelque chose, pas la page qui a "
               "changé. Les rapports conservés vous appartiennent et restent sur cet ordinateur. Oublier en "
               "supprime un pour de bon.";
    }

private:
    // Requests the blocklist names that got through all the same.
    static std::string gotThrough(std::int64_t n) {
        return count(n, "requête de la liste de blocage est passée",
                     "requêtes de la liste de blocage sont passées");
    }
};

const Vocabulary& frenchWords() {
    static const French words;
    return words;
}

} // namespace nimb
