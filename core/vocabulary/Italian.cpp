#include "vocabulary/Languages.h"

namespace nimb {

namespace {

using Unavailable = NimbReportPage::Unavailable;
using Category = ContentBlocker::Category;

std::string number(std::int64_t n) {
    return std::to_string(n);
}

std::string count(std::int64_t n, std::string_view singular, std::string_view plural) {
    return counted(CountRule::singularForOne, n, singular, plural);
}

} // namespace

class Italian final : public Vocabulary {
public:
    // Window chrome and tool tips
    std::string back() const override { return "Indietro"; }
    std::string forward() const override { return "Avanti"; }
    std::string reload() const override { return "Ricarica"; }
    std::string stop() const override { return "Interrompi"; }
    std::string backHelp() const override { return "Mostra la pagina precedente"; }
    std::string forwardHelp() const override { return "Mostra la pagina successiva"; }
    std::string reloadHelp() const override { return "Aggiorna la pagina"; }
    std::string stopHelp() const override { return "Interrompi il caricamento di questa pagina"; }
    std::string shieldHelp() const override { return "Cosa ha cercato di caricare questa pagina"; }
    std::string shieldTip(bool blocking, std::int64_t n) const override {
        if (blocking) return n < 1 ? shieldHelp() : shieldHelp() + ": " + count(n, "bloccato", "bloccati");
        if (n < 1) return "Niente è stato bloccato in questa pagina";
        return "Niente è stato bloccato: " + gotThrough(n);
    }
    std::string stealth() const override { return "Modalità furtiva"; }
    std::string untitled() const override { return "Senza titolo"; }
    std::string hiddenTabs() const override { return "Schede nascoste"; }
    std::string search() const override { return "Cerca"; }
    std::string home() const override { return "Pagina iniziale"; }

    // Menus
    std::string fileMenu() const override { return "File"; }
    std::string editMenu() const override { return "Modifica"; }
    std::string viewMenu() const override { return "Visualizza"; }
    std::string goMenu() const override { return "Vai"; }
    std::string about(std::string_view app) const override { return "Informazioni su " + std::string(app); }
    std::string hide(std::string_view app) const override { return "Nascondi " + std::string(app); }
    std::string quit(std::string_view app) const override { return "Esci da " + std::string(app); }
    std::string searchEngineMenu() const override { return "Motore di ricerca"; }
    std::string languageMenu() const override { return "Lingua"; }
    std::string newTab() const override { return "Nuova scheda"; }
    std::string newWindow() const override { return "Nuova finestra"; }
    std::string openLocation() const override { return "Apri indirizzo..."; }
    std::string settings() const override { return "Impostazioni"; }
    std::string printPage() const override { return "Stampa..."; }
    std::string closeTab() const override { return "Chiudi scheda"; }
    std::string closeWindow() const override { return "Chiudi finestra"; }
    std::string cut() const override { return "Taglia"; }
    std::string copy() const override { return "Copia"; }
    std::string paste() const override { return "Incolla"; }
    std::string selectAll() const override { return "Seleziona tutto"; }
    std::string findInPage() const override { return "Trova nella pagina..."; }
    std::string findNext() const override { return "Trova successivo"; }
    std::string findPrevious() const override { return "Trova precedente"; }
    std::string javaScript() const override { return "JavaScript"; }
    std::string blockAds() const override { return "Blocca pubblicità e muri del consenso"; }
    std::string forgetLocalStorage() const override { return "Dimentica archiviazione locale"; }
    std::string linksOnly() const override { return "Chiedi a Google solo i link"; }
    std::string recordReports() const override { return "Registra rapporti NIMB"; }
    std::string rememberHistory() const override { return "Ricorda cronologia"; }
    std::string clearHistoryMenu() const override { return "Cancella cronologia..."; }
    std::string clearSiteDataMenu() const override { return "Cancella cookie e dati dei siti..."; }
    std::string nextTab() const override { return "Scheda successiva"; }
    std::string previousTab() const override { return "Scheda precedente"; }
    std::string reopenClosedTab() const override { return "Riapri scheda chiusa"; }
    std::string zoomIn() const override { return "Ingrandisci"; }
    std::string zoomOut() const override { return "Riduci"; }
    std::string actualSize() const override { return "Dimensioni effettive"; }
    std::string openLinkInNewTab() const override { return "Apri link in nuova scheda"; }
    std::string addBookmark() const override { return "Aggiungi segnalibro"; }
    std::string removeEntirely() const override { return "Elimina del tutto"; }
    std::string marginalia() const override { return "Note a margine"; }
    std::string addToMarginalia() const override { return "Annota a margine"; }
    std::string bookmarks() const override { return "Segnalibri"; }
    std::string history() const override { return "Cronologia"; }
    std::string nimbReport() const override { return "Rapporto NIMB"; }
    std::string nimbScale() const override { return "Scala Nimb"; }
    std::string overview() const override { return "Panoramica"; }
    std::string dossier() const override { return "Dossier"; }
    std::string viewDetails() const override { return "Mostra dettagli"; }
    std::string savedReports() const override { return "Rapporti conservati"; }
    std::string urlsOnly() const override { return "Nessuno — solo indirizzi"; }

    // Buttons and field prompts on generated pages and panels
    std::string remove() const override { return "Elimina"; }
    std::string save() const override { return "Salva"; }
    std::string revert() const override { return "Ripristina"; }
    std::string addToToolbar() const override { return "Aggiungi alla barra"; }
    std::string removeFromToolbar() const override { return "Togli dalla barra"; }
    std::string clearHistory() const override { return "Cancella cronologia"; }
    std::string forget() const override { return "Dimentica"; }
    std::string clear() const override { return "Cancella"; }
    std::string cancel() const override { return "Annulla"; }
    std::string keepThisReport() const override { return "Conserva questo rapporto"; }
    std::string namePlaceholder() const override { return "Come lo chiami"; }
    std::string summaryPlaceholder() const override { return "Cos’è e perché l’hai conservato"; }
    std::string closeMarginalia() const override { return "Nascondi il margine"; }

    // Find bar
    std::string findPlaceholder() const override { return "Trova in questa pagina"; }
    std::string matchTally(std::int64_t n, std::int64_t total) const override {
        return number(n) + " di " + number(total);
    }
    std::string noMatches() const override { return "Nessuna corrispondenza"; }
    std::string closeFind() const override { return "Nascondi la barra di ricerca"; }

    // Status line
    std::string contactingHost() const override { return "Connessione al server..."; }
    std::string documentDone() const override { return "Documento: completato"; }
    std::string done(std::int64_t blocked) const override {
        if (blocked < 1) return documentDone();
        return documentDone() + "  —  " + count(blocked, "bloccato", "bloccati");
    }
    std::string doneUnblocked(std::int64_t through) const override {
        if (through < 1) return documentDone();
        return documentDone() + "  \u2014  " + gotThrough(through);
    }
    std::string nothingToChange() const override { return "Niente da cambiare."; }
    std::string removedBookmark(std::string_view name) const override {
        return "Segnalibro eliminato: " + std::string(name);
    }
    std::string removedBookmarkAndMargin(std::string_view name, std::int64_t notes) const override {
        if (notes == 1)
            return "Segnalibro eliminato: " + std::string(name) +
                   " — insieme all’unica nota del suo margine.";
        return "Segnalibro eliminato: " + std::string(name) + " — insieme alle " + number(notes) +
               " note del suo margine.";
    }
    std::string addedToToolbar(std::string_view name) const override {
        return "Aggiunto alla barra personale: " + std::string(name);
    }
    std::string offToolbar(std::string_view name) const override {
        return "Tolto dalla barra personale, ma ancora tra i segnalibri: " + std::string(name);
    }
    std::string forgot(std::string_view what) const override { return "Dimenticato: " + std::string(what); }
    std::string clearedSiteData() const override {
        return "Cookie e dati dei siti cancellati: i siti non ti riconosceranno più.";
    }
    std::string siteDataNotCleared() const override {
        return "Nulla cancellato: non è stato possibile rimuovere i cookie e i dati dei siti.";
    }
    std::string nothingToClear() const override { return "Niente da cancellare."; }
    std::string clearedHistory(std::int64_t n) const override {
        return "Cronologia cancellata: " + count(n, "pagina dimenticata", "pagine dimenticate") + ".";
    }
    std::string rememberingHistory() const override { return "Mi ricordo dove vai."; }
    std::string notRememberingHistory() const override { return "Non tengo più la cronologia."; }
    std::string nothingToBookmark() const override {
        return "Qui non c’è niente da aggiungere ai segnalibri.";
    }
    std::string alreadyBookmarked(std::string_view name) const override {
        return "Già tra i segnalibri: " + std::string(name);
    }
    std::string addedBookmark(std::string_view name) const override {
        return "Segnalibro aggiunto: " + std::string(name);
    }
    std::string savedBookmark(std::string_view name) const override {
        return "Salvato: " + std::string(name);
    }
    std::string keptInTheMargin(std::string_view line) const override {
        return "Annotato a margine: " + std::string(line);
    }
    std::string struckOut() const override { return "Depennato dal margine."; }
    std::string nothingSelected() const override { return "Prima seleziona qualcosa nella pagina."; }
    std::string nowSpeaking() const override { return "Ora parlo italiano."; }
    std::string reportKept(std::string_view title) const override {
        return "Rapporto di " + std::string(title) + " conservato.";
    }
    std::string reportForgotten(std::string_view title) const override {
        return "Dimenticato: il rapporto di " + std::string(title) + ".";
    }
    std::string nothingToKeep() const override { return "Qui non c’è nessun rapporto da conservare."; }

    // Confirmation dialogs
    std::string removeBookmarkQuestion(std::string_view name) const override {
        return "Eliminare " + std::string(name) + "?";
    }
    std::string refusedWindows() const override {
        return "Questa pagina ha cercato di aprire altre finestre; non sono state aperte.";
    }
    std::string downloadNotSaved() const override {
        return "Non salvato: questo browser non conserva nulla di ciò che una pagina offre da scaricare.";
    }
    std::string couldNotOpen() const override { return "Impossibile aprire questa pagina"; }
    std::string stoppedWorking() const override { return "Questa pagina ha smesso di funzionare"; }
    std::string tryAgain() const override { return "Riprova"; }
    std::string processEnded() const override {
        return "La pagina si è fermata: il processo che la mostrava è terminato in modo imprevisto.";
    }
    std::string refusedPrint() const override {
        return "Questa pagina ha chiesto di nuovo di stampare; la richiesta è stata rifiutata.";
    }
    std::string blockingStartsLate() const override {
        return "Il blocco inizia in ritardo: l’elenco di blocco non è pronto, questa pagina si carica senza.";
    }
    std::string doneUnfiltered() const override {
        return documentDone() + "  —  caricata prima dell’inizio del blocco";
    }
    std::string waitingToSave() const override {
        return "Salvataggio in attesa: un altro programma sta usando il tuo profilo.";
    }
    std::string notSavedReadOnly() const override {
        return "Non salvato: il tuo profilo non può essere modificato.";
    }
    std::string notSavedDiskFull() const override { return "Non salvato: il disco è pieno."; }
    std::string notSaved() const override {
        return "Non salvato: non è stato possibile scrivere il tuo profilo.";
    }
    std::string profileReadOnly(std::string_view path) const override {
        return "Il tuo profilo (" + std::string(path) +
               ") può essere letto ma non modificato. Segnalibri, cronologia e note ci sono tutti, ma le "
               "modifiche non saranno conservate dopo la chiusura.";
    }
    std::string profileInUse(std::string_view path) const override {
        return "Un altro programma sta usando il tuo profilo (" + std::string(path) +
               "). Segnalibri, cronologia e note ci sono tutti, ma le modifiche non saranno conservate "
               "dopo la chiusura.";
    }
    std::string profileUnavailable(std::string_view path) const override {
        return "Non è stato possibile aprire il tuo profilo (" + std::string(path) +
               "). Nulla di ciò che modifichi sarà conservato dopo la chiusura.";
    }
    std::string profileSetAside(std::string_view aside) const override {
        return "Il tuo profilo era danneggiato e non leggibile. È stato conservato, intatto, come " +
               std::string(aside) + ", ed è stato creato un nuovo profilo vuoto.";
    }
    std::string dismiss() const override { return "Chiudi"; }
    std::string removeBookmarkDetail(std::int64_t notes) const override {
        if (notes == 1) return "Se ne va anche l’unica nota che avevi lasciato nel suo margine.";
        return "Se ne vanno anche le " + number(notes) + " note che avevi lasciato nel suo margine.";
    }
    std::string clearSiteDataQuestion() const override { return "Cancellare cookie e dati dei siti?"; }
    std::string clearSiteDataDetail() const override {
        return "Ogni sito ti dimenticherà: verrai disconnesso, e ciò che i siti conservavano in questo "
               "browser se ne va. Cronologia e segnalibri restano.";
    }
    std::string clearHistoryQuestion() const override { return "Cancellare la cronologia?"; }
    std::string clearHistoryDetail(std::int64_t pages) const override {
        return "Il ricordo di " + count(pages, "pagina", "pagine") +
               " andrà perso, e la barra degli indirizzi non avrà più niente con cui completare quello che "
               "scrivi.";
    }
    std::string closeWindowQuestion() const override { return "Chiudere questa finestra?"; }
    std::string closeWindowDetail(std::int64_t tabs) const override {
        return "Contiene " + count(tabs, "scheda aperta", "schede aperte") + ".";
    }
    std::string unsavedQuestion() const override { return "Uscire senza salvare?"; }
    std::string unsavedDetail(std::int64_t changes) const override {
        std::string what = changes == 1 ? "Una modifica non ha" : number(changes) + " modifiche non hanno";
        return what + " ancora potuto essere salvat" + (changes == 1 ? "a" : "e") +
               ": un altro programma sta usando il tuo profilo. Se esci ora, " +
               (changes == 1 ? "andrà persa." : "andranno perse.");
    }
    std::string quitAnyway() const override { return "Esci comunque"; }
    std::string quitQuestion(std::string_view app) const override {
        return "Uscire da " + std::string(app) + "?";
    }
    std::string quitDetail(std::int64_t windows, std::int64_t tabs) const override {
        return "Si chiuderanno " + count(windows, "finestra", "finestre") + " e " +
               count(tabs, "scheda", "schede") + ".";
    }
    std::string quitButton() const override { return "Esci"; }
    std::string resendQuestion() const override { return "Inviare di nuovo il modulo?"; }
    std::string resendDetail() const override {
        return "Questa pagina è la risposta a un modulo. Ricaricarla invia di nuovo quello che hai "
               "inserito, e ciò che il modulo ha fatto, come un ordine o un pagamento, potrebbe ripetersi.";
    }
    std::string resend() const override { return "Invia di nuovo"; }

    // Home page
    std::string recent() const override { return "Recenti"; }
    std::string frequent() const override { return "Frequenti"; }
    std::string noRecent() const override { return "Qui compariranno i siti che hai visitato."; }
    std::string noFrequent() const override { return "Qui compariranno i siti dove torni spesso."; }

    // Bookmarks page and the margin
    std::string nothingFiled() const override { return "Non hai ancora archiviato niente."; }
    std::string notVisited() const override { return "Mai aperto da quando l’hai archiviato"; }
    std::string marginCount(std::int64_t n) const override {
        if (n == 0) return "Niente a margine";
        if (n == 1) return "1 a margine";
        return number(n) + " a margine";
    }
    std::string marginaliaHow() const override {
        return "Seleziona qualcosa in questa pagina, fai clic destro sulla selezione e scegli Annota a "
               "margine.";
    }
    std::string nothingInTheMargin() const override { return "Ancora nessuna nota a margine."; }
    std::string elsewhereOnThisSite() const override { return "Altrove su questo sito"; }

    // History page
    std::string historyCount(std::int64_t n) const override {
        if (n == 0) return "Ancora niente di registrato.";
        if (n == 1) return "Una pagina, conservata su questo computer e mai inviata altrove.";
        return number(n) + " pagine, conservate su questo computer e mai inviate altrove.";
    }
    std::string nothingRecorded() const override { return "Ancora niente di registrato."; }
    std::string nowhereYet() const override {
        return "Qui non c’è ancora niente. I siti che visiti compariranno in questo elenco.";
    }
    std::string visitCount(std::int64_t n) const override { return count(n, "visita", "visite"); }
    std::string today() const override { return "Oggi"; }
    std::string yesterday() const override { return "Ieri"; }
    std::string historyNote() const override {
        return "La barra degli indirizzi completa quello che scrivi partendo da questo elenco. Digita\n"
               "due o tre lettere di un sito che hai visitato e il resto dell’indirizzo compare\n"
               "selezionato &mdash; continua a scrivere e sparisce. Per farlo non si chiede niente\n"
               "a nessun motore di ricerca, e nulla di ciò che scrivi lascia questo computer.<br><br>\n"
               "<b>File &rarr; Impostazioni &rarr; Ricorda cronologia</b> non fa più crescere l’elenco;\n"
               "<b>Cancella cronologia</b> svuota quello che contiene già. Digita\n"
               "<code>about:history</code> nella barra degli indirizzi per tornare qui.";
    }

    // Site report page
    std::string noPage() const override { return "Nessuna pagina"; }
    std::string unavailableLine(Unavailable why) const override {
        switch (why) {
        case Unavailable::recordingOff:
            return "La registrazione è disattivata.";
        case Unavailable::scriptingOff:
            return "Gli script sono disattivati per questa pagina.";
        case Unavailable::localPage:
            return "È una delle pagine del browser stesso.";
        case Unavailable::notRecorded:
            break;
        }
        return "Non è stato registrato niente per questa pagina.";
    }
    std::string unavailableDetail(Unavailable why) const override {
        switch (why) {
        case Unavailable::recordingOff:
            return "Il blocco continua a fare il suo lavoro — questa opzione decide solo se il browser\n"
                   "prende nota anche di <i>cosa</i> ha bloccato. Riattivala con\n"
                   "<b>Visualizza &rarr; Registra rapporti NIMB</b>, poi ricarica la pagina.";
        case Unavailable::scriptingOff:
            return "Il rapporto si costruisce osservando le richieste che fa la pagina, e con\n"
                   "<b>Visualizza &rarr; JavaScript</b> disattivato non gira niente con cui osservarle.\n"
                   "La lista di blocco resta in vigore; ne serve molto meno, perché quasi tutto\n"
                   "quello che blocca sono script.";
        case Unavailable::localPage:
            return "È stata generata da una stringa su questo computer, e non ha chiesto niente a nessuno.";
        case Unavailable::notRecorded:
            break;
        }
        return "O la pagina non ha finito di caricarsi, o ha sostituito il registratore del browser\n"
               "con uno suo. Ricarica e riprova.";
    }
    std::string takenOffSummary(std::int64_t n) const override {
        return count(n, "cosa tolta", "cose tolte") + " dalla pagina";
    }
    std::string otherHostsSummary(std::int64_t n) const override {
        return count(n, "server esterno contattato", "server esterni contattati");
    }
    std::string keptToItself() const override {
        return "Niente nella lista di blocco e nessuna terza parte contattata. Questa pagina se n’è stata "
               "per conto suo.";
    }
    std::string blockingIsOff() const override {
        return "<b>Il blocco è disattivato</b> &mdash; tutto quello che segue è stato lasciato passare.";
    }
    std::string notCounted() const override {
        return "Le connessioni WebSocket aperte da frame e worker non sono contate; quelle verso i server "
               "dell’elenco sono comunque bloccate.";
    }
    std::string witnessAbsent() const override {
        return "Qui è contato solo ciò che hanno visto gli script della pagina: il browser non ha potuto "
               "seguire le richieste di questa pagina, e mancano quelle dei suoi frame, worker e fogli di "
               "stile.";
    }
    std::string countedWithoutScripts() const override {
        return "JavaScript è disattivato: le richieste sono state contate dal browser, ma ciò che la pagina "
               "ha memorizzato e i muri tolti non si sono potuti leggere.";
    }
    std::string category(Category c) const override {
        switch (c) {
        case Category::consent:
            return "Muri del consenso";
        case Category::advertising:
            return "Pubblicità";
        case Category::measurement:
            return "Misurazione";
        case Category::interruption:
            break;
        }
        return "Interruzioni";
    }
    std::string categoryWhy(Category c) const override {
        switch (c) {
        case Category::consent:
            return "Fornitori il cui prodotto è la finestra modale che ti chiede di accettare il resto di "
                   "questo elenco.";
        case Category::advertising:
            return "Erogazione, aste e verifica degli annunci.";
        case Category::measurement:
            return "Statistiche, registrazione delle sessioni e pixel che riferiscono cosa leggi.";
        case Category::interruption:
            break;
        }
        return "Interstiziali per iscriversi alle newsletter, richieste insistenti di notifiche push e "
               "riquadri di accesso che non hai chiesto.";
    }
    std::string alsoBlocked() const override { return "Altri blocchi"; }
    std::string takenOffThePage() const override { return "Tolto dalla pagina"; }
    std::string takenOffWhy() const override {
        return "Muri e spazi pubblicitari vuoti, nascosti dopo essere arrivati con il markup.";
    }
    std::string reason(NimbReportReason r) const override {
        switch (r) {
        case NimbReportReason::known:
            return "muro del consenso noto";
        case NimbReportReason::overlay:
            return "riconosciuto come muro";
        case NimbReportReason::adSlot:
            break;
        }
        return "spazio pubblicitario vuoto";
    }
    std::string otherHosts() const override { return "Altri server contattati da questa pagina"; }
    std::string otherHostsWhy() const override {
        return "Non sono nella lista di blocco, e sono stati consentiti: server di contenuti, font,\n"
               "immagini e tutto quello che ha recuperato da un luogo diverso da sé.";
    }
    std::string andMore(std::int64_t n) const override { return ", e " + number(n) + " in più"; }
    std::string whatItKept() const override { return "Quello che ha tenuto per sé"; }
    std::string storedLine(std::int64_t cookies, std::int64_t keys,
                           std::optional<std::string_view> size) const override {
        std::string text = count(cookies, "cookie visibile", "cookie visibili") + " agli script e " +
                           count(keys, "chiave", "chiavi") + " nell’archiviazione locale";
        if (size) text += ", " + std::string(*size);
        return text + ".";
    }
    std::string storageWasLent() const override {
        return "Quello spazio era del browser, non del disco: la pagina ci ha scritto e l’ha riletto\n"
               "per tutta la visita, e se n’è andato insieme a lei. Niente di quello che segue è stato "
               "conservato.";
    }
    std::string storageWasKept() const override {
        return "Bloccare la richiesta di un tracker non svuota il barattolo che il sito tiene a suo\n"
               "nome, e per scriverci non deve chiedere niente a nessuno.";
    }
    std::string sessionKeys(std::int64_t n) const override {
        return "L’archiviazione di sessione, che ogni browser dimentica alla chiusura della finestra, "
               "conteneva " +
               count(n, "chiave in più", "chiavi in più") + ".";
    }
    std::string databases(std::string_view names) const override {
        return "Database aperti a nome di questo sito: " + std::string(names) +
               ". Qui sono solo nominati, non aperti — leggerne uno sarebbe già una visita a sé.";
    }
    std::string moreKeys(std::int64_t n) const override {
        return "e " + count(n, "chiave", "chiavi") + " in più";
    }
    std::string byteCount(std::int64_t n) const override { return count(n, "byte", "byte"); }

    // Kept reports
    std::string keptOn(std::string_view date) const override { return "Conservato: " + std::string(date); }
    std::string savedReportCount(std::int64_t n) const override {
        if (n == 1) return "1 rapporto conservato";
        return number(n) + " rapporti conservati";
    }
    std::string nothingKept() const override {
        return "Non hai ancora conservato niente. Ogni rapporto ha un pulsante Conserva questo rapporto "
               "sotto il punteggio, e i rapporti su cui lo premi arrivano qui.";
    }
    std::string savedReportsNote() const override {
        return "Un rapporto conservato registra quello che ha fatto la pagina — i server che ha chiamato, "
               "le chiavi che ha scritto, i muri che sono caduti — e nessuna delle sue parole. Il punteggio "
               "e i nomi delle aziende vengono ricalcolati ogni volta che questo elenco viene mostrato, in "
               "base al dossier così com’è oggi, quindi un rapporto conservato il mese scorso adesso può "
               "dire cose diverse: è il dossier che ha imparato qualcosa, non la pagina che è cambiata. I "
               "rapporti conservati sono tuoi e restano su questo computer. Dimentica ne elimina uno per "
               "sempre.";
    }

private:
    // Requests the blocklist names that got through all the same.
    static std::string gotThrough(std::int64_t n) {
        return count(n, "richiesta della lista di blocco è passata",
                     "richieste della lista di blocco sono passate");
    }
};

const Vocabulary& italianWords() {
    static const Italian words;
    return words;
}

} // namespace nimb
