// The catalogue's prose in Italian: the notes on each company, the dates and ties of ownership, the
// retirements and the companies the catalogue describes rather than names, each beside its English.
// Names, hosts and the companies' own quoted words stay as they are in the catalogue.

#include "report/DossierLanguages.h"

#include <array>

namespace nimb {

namespace {

constexpr std::array<ProseTranslation, 65> pieces = {{
    {"2011, as Demdex", "2011, come Demdex"},
    {"Adobe's audience store, still answering on the Demdex name it bought in 2011. It swaps its identifier "
     "for this browser with those of other companies, so that an audience gathered on one site can be found "
     "again on another.",
     "L’archivio di pubblici di Adobe, che risponde ancora col nome Demdex, acquistato nel 2011. Scambia il "
     "suo identificativo di questo browser con quelli di altre aziende, così che un pubblico raccolto su un "
     "sito si possa ritrovare su un altro."},
    {"Experian bought Tapad for $280m to combine, in Experian's own words, its offline consumer data with "
     "online consumer data. That is the join worth understanding: this browser, your phone, and a file about "
     "you that existed before you opened either.",
     "Experian ha comprato Tapad per 280 milioni di dollari per combinare, con parole sue, i propri dati "
     "offline sui consumatori con quelli raccolti in rete. È questo il collegamento da capire: questo "
     "browser, il tuo telefono e un fascicolo su di te che esisteva prima che aprissi l’uno o l’altro."},
    {"various identity vendors", "vari fornitori di identità"},
    {"Companies whose business is a lasting identifier for this browser, shared with whoever buys ads "
     "against it, so that the same person is recognised from one site to the next. Sites swap one vendor for "
     "another often; the hosts are listed here, the names are not.",
     "Aziende il cui mestiere è un identificativo duraturo per questo browser, condiviso con chiunque compri "
     "pubblicità mirata su di esso, così che la stessa persona sia riconosciuta da un sito all’altro. I siti "
     "cambiano spesso fornitore; qui sono elencati i server, non i nomi."},
    {"Before the page's own ad server decides anything, Amazon offers each ad slot to the buyers it gathers, "
     "server to server, where the page cannot see who was asked.",
     "Prima che il server pubblicitario della pagina decida qualsiasi cosa, Amazon offre ogni spazio agli "
     "acquirenti che raduna, da server a server, dove la pagina non può vedere a chi è stato chiesto."},
    {"renamed from Casale Media, 2015", "già Casale Media, 2015"},
    {"An exchange that puts the page's ad slots up for auction to many buyers at once, each of them sent the "
     "details of the visit. Its hosts still carry the Casale Media name.",
     "Una borsa che mette all’asta gli spazi pubblicitari della pagina presso molti acquirenti insieme, a "
     "ciascuno dei quali vengono inviati i dettagli della visita. I suoi server portano ancora il nome "
     "Casale Media."},
    {"former name", "nome precedente"},
    {"Rubicon Project and Telaria merged, 2020", "fusione di Rubicon Project e Telaria, 2020"},
    {"Formed when Rubicon Project and Telaria merged in 2020, and joined by SpotX in 2021. Each bid request "
     "it sends out describes the page and the visitor to every buyer invited.",
     "Nata dalla fusione di Rubicon Project e Telaria nel 2020, e raggiunta da SpotX nel 2021. Ogni "
     "richiesta di offerta che invia descrive la pagina e il visitatore a ogni acquirente invitato."},
    {"merged with, 2020", "fusione, 2020"},
    {"AppNexus, bought by AT&T in 2018 and renamed Xandr, then sold to Microsoft in 2022. Its exchange still "
     "answers on the adnxs.com hosts that carry the old name.",
     "AppNexus, comprata da AT&T nel 2018 e ribattezzata Xandr, poi venduta a Microsoft nel 2022. La sua "
     "borsa risponde ancora sui server adnxs.com, che portano il vecchio nome."},
    {"former owner, 2018\u20132022", "ex proprietario, 2018\u20132022"},
    {"Yahoo's advertising business: it bids on ad slots for advertisers, and its pixel reports what you do "
     "on their sites back to Yahoo.",
     "Il ramo pubblicitario di Yahoo: fa offerte sugli spazi per conto degli inserzionisti, e il suo pixel "
     "riferisce a Yahoo ciò che fai sui loro siti."},
    {"Criteo remembers the products you looked at in one shop and bids to show them to you again on other "
     "sites.",
     "Criteo ricorda i prodotti che hai guardato in un negozio e fa offerte per mostrarteli di nuovo su "
     "altri siti."},
    {"spun out of Digital Content Next", "nato da Digital Content Next"},
    {"A marketplace for ad slots set up by publishers for their own sites, so that the auction runs on their "
     "terms. It is still an auction: buyers are told about the visit.",
     "Un mercato di spazi pubblicitari creato dagli editori per i propri siti, perché l’asta si svolga alle "
     "loro condizioni. Resta comunque un’asta: gli acquirenti vengono informati della visita."},
    {"Google's ad server and ad network. The tag that decides which ad fills a slot also runs the auction "
     "for it, and Google's cookie goes with it from site to site.",
     "Il server pubblicitario e la rete pubblicitaria di Google. Il tag che decide quale annuncio riempie "
     "uno spazio ne gestisce anche l’asta, e il cookie di Google lo accompagna da un sito all’altro."},
    {"Taboola and its competitors", "Taboola e i suoi concorrenti"},
    {"The grids of paid links under articles. The widget notes what you read, so that the links it offers "
     "you follow your interests from one site to the next.",
     "Le griglie di link a pagamento sotto gli articoli. Il riquadro annota ciò che leggi, così che i link "
     "che ti propone seguano i tuoi interessi da un sito all’altro."},
    {"Confiant inspects the ads a page is sent and stops those carrying malware or forced redirects. To do "
     "that, it reads every ad you are shown.",
     "Confiant esamina gli annunci inviati a una pagina e ferma quelli che portano software dannoso o "
     "reindirizzamenti forzati. Per farlo, legge ogni annuncio che ti viene mostrato."},
    {"IAS and DoubleVerify", "IAS e DoubleVerify"},
    {"The two large verification companies. Their code checks whether an ad was on screen, for how long and "
     "next to what, and reports it to the advertiser.",
     "Le due grandi aziende di verifica. Il loro codice controlla se un annuncio era sullo schermo, per "
     "quanto tempo e accanto a cosa, e lo riferisce all’inserzionista."},
    {"renamed from Appboy, 2017", "già Appboy, 2017"},
    {"A customer-messaging platform. Its web code keeps a log of what you do on the site in local storage "
     "and sends it on in batches; the same code shows the site's pop-up messages.",
     "Una piattaforma di messaggistica per i clienti. Il suo codice web tiene nella memoria locale un "
     "registro di ciò che fai sul sito e lo invia a blocchi; lo stesso codice mostra i messaggi a comparsa "
     "del sito."},
    {"Knotch follows how readers take to a brand's articles: how far they read, how they answer its "
     "one-question surveys, and what they do next.",
     "Knotch segue come i lettori accolgono gli articoli di un marchio: fin dove leggono, come rispondono ai "
     "suoi sondaggi di una sola domanda e cosa fanno dopo."},
    {"acquired Janrain, 2019", "ha acquisito Janrain, 2019"},
    {"The sign-up and sign-in service that was Janrain. It holds the account, the social logins linked to it "
     "and the profile behind them; Akamai has told its customers the service ends in 2027.",
     "Il servizio di registrazione e di accesso che era Janrain. Custodisce l’account, gli accessi tramite "
     "social collegati e il profilo che c’è dietro; Akamai ha comunicato ai clienti che il servizio chiuderà "
     "nel 2027."},
    {"April 2026", "aprile 2026"},
    {"True Anthem decides which of a publisher's articles go out on its social accounts, and when, from what "
     "readers on the site are doing.",
     "True Anthem decide quali articoli di un editore escono sui suoi profili social, e quando, in base a "
     "ciò che fanno i lettori sul sito."},
    {"Comscore's beacon counts the visit for its audience rankings and sets a cookie of its own, which it "
     "reads again on every other site that carries the beacon.",
     "Il codice di tracciamento di Comscore conta la visita per le sue classifiche di ascolto e imposta un "
     "proprio cookie, che rilegge su ogni altro sito che ospita lo stesso codice."},
    {"Adobe Analytics and Adobe Target: the site's own statistics and its A/B tests, collected on Adobe's "
     "servers.",
     "Adobe Analytics e Adobe Target: le statistiche del sito stesso e i suoi test A/B, raccolti sui server "
     "di Adobe."},
    {"Chartbeat shows the newsroom, second by second, how many people are on each story and how long they "
     "stay.",
     "Chartbeat mostra alla redazione, secondo per secondo, quante persone ci sono su ogni articolo e per "
     "quanto tempo restano."},
    {"Oracle announced in June 2024 that it was leaving the advertising business, and Moat closed with the "
     "rest of it on 30 September that year. A page that still calls moatads.com runs a tag for a company "
     "that is no longer there to answer it.",
     "Oracle ha annunciato nel giugno 2024 che lasciava la pubblicità, e Moat ha chiuso insieme al resto "
     "dell’attività il 30 settembre di quell’anno. Una pagina che chiama ancora moatads.com esegue un tag "
     "per un’azienda che non c’è più a rispondergli."},
    {"Oracle left the advertising business in 2024", "Oracle ha lasciato la pubblicità nel 2024"},
    {"Comment threads and social-feed walls, bought by Adobe in 2016 and later shut. The tag is left over "
     "from an old integration.",
     "Discussioni di commenti e bacheche di contenuti social, comprate da Adobe nel 2016 e poi chiuse. Il "
     "tag è un residuo di una vecchia integrazione."},
    {"Adobe discontinued Livefyre after folding it into Adobe Experience Manager",
     "Adobe ha dismesso Livefyre dopo averlo integrato in Adobe Experience Manager"},
    {"Yobi sells behavioural data, and models trained on it, for predicting what people will do next.",
     "Yobi vende dati comportamentali, e modelli addestrati su di essi, per prevedere cosa faranno le "
     "persone."},
    {"The largest independent buying platform. Its identifier, Unified ID 2.0, is built from an email "
     "address so that it can follow one person across sites and devices.",
     "La più grande piattaforma d’acquisto indipendente. Il suo identificativo, Unified ID 2.0, è costruito "
     "a partire da un indirizzo di posta elettronica per poter seguire una stessa persona tra siti e "
     "dispositivi."},
    {"A buying platform Roku bought in 2019 to sell advertising that follows a household from its television "
     "to its other screens.",
     "Una piattaforma d’acquisto comprata da Roku nel 2019 per vendere pubblicità che segue una famiglia dal "
     "televisore agli altri schermi di casa."},
    {"iSpot.tv tracks television advertising: it matches the ads a home's television showed to what the same "
     "home later does online.",
     "iSpot.tv traccia la pubblicità televisiva: abbina gli spot che il televisore di una casa ha mostrato a "
     "ciò che la stessa casa fa poi in rete."},
    {"The TikTok pixel reports what you do on an advertiser's site back to TikTok, which matches it to "
     "TikTok accounts.",
     "Il pixel di TikTok riferisce a TikTok ciò che fai sul sito di un inserzionista, e TikTok lo abbina ai "
     "propri profili."},
    {"The Pinterest tag reports visits and purchases on an advertiser's site back to Pinterest, which "
     "matches them to its users.",
     "Il tag di Pinterest riferisce a Pinterest le visite e gli acquisti sul sito di un inserzionista, e "
     "Pinterest li abbina ai suoi utenti."},
    {"Snap's pixel reports what you do on an advertiser's site back to Snapchat, to aim its ads and to prove "
     "they worked.",
     "Il pixel di Snap riferisce a Snapchat ciò che fai sul sito di un inserzionista, per mirare i suoi "
     "annunci e dimostrare che hanno funzionato."},
    {"Reddit's pixel reports visits and purchases on an advertiser's site back to Reddit, which matches them "
     "to Reddit accounts.",
     "Il pixel di Reddit riferisce a Reddit le visite e gli acquisti sul sito di un inserzionista, e Reddit "
     "li abbina ai propri profili."},
    {"Rokt places other companies' offers on checkout and confirmation pages, chosen from what it knows "
     "about the buyer.",
     "Rokt colloca offerte di altre aziende nelle pagine di pagamento e di conferma, scelte in base a ciò "
     "che sa dell’acquirente."},
    {"Datadog's browser monitoring records each visit for the site's engineers, including a replay of what "
     "was on the screen and where you clicked.",
     "Il monitoraggio del browser di Datadog registra ogni visita per gli ingegneri del sito, compresa una "
     "riproduzione di ciò che c’era sullo schermo e di dove hai cliccato."},
    {"Optimizely shows different visitors different versions of a page and records which one you saw and "
     "what you did next. Episerver bought it in 2020 and took its name.",
     "Optimizely mostra a visitatori diversi versioni diverse di una pagina e registra quale hai visto e "
     "cosa hai fatto dopo. Episerver l’ha comprata nel 2020 e ne ha preso il nome."},
    {"Ketch draws the consent banner and keeps your answer, which the site's other tags then read before "
     "they run.",
     "Ketch disegna il riquadro del consenso e conserva la tua risposta, che gli altri tag del sito leggono "
     "poi prima di attivarsi."},
    {"A customer data platform: it gathers every event a site or app records about you, joins them into one "
     "profile per person across devices, and passes the profile to the site's other vendors.",
     "Una piattaforma di dati sui clienti: raccoglie ogni evento che un sito o un’applicazione registra su "
     "di te, li unisce in un unico profilo per persona su tutti i dispositivi e passa il profilo agli altri "
     "fornitori del sito."},
    {"A container that loads other companies' tags. Whatever the site has put in it runs here, whether or "
     "not this report can name it.",
     "Un contenitore che carica i tag di altre aziende. Qualunque cosa il sito ci abbia messo viene eseguita "
     "qui, che questo rapporto sappia nominarla o no."},
    {"Imperva screens visitors for bots before they reach the site. Its check runs a script that takes a "
     "detailed reading of this browser.",
     "Imperva esamina i visitatori per scartare i bot prima che raggiungano il sito. Il suo controllo esegue "
     "uno script che rileva nei dettagli questo browser."},
    {"A tag manager that also decides which tags may run and what they may collect; it loads the rest of the "
     "site's tags from one Bootstrap.js file.",
     "Un gestore di tag che decide anche quali tag possono essere eseguiti e cosa possono raccogliere; "
     "carica il resto dei tag del sito da un unico file Bootstrap.js."},
    {"Meta's pixel and its buttons report visits and purchases to Meta, which matches them to Facebook and "
     "Instagram accounts on every device they are signed in on. On Meta's own sites these hosts are the "
     "house, not a third party.",
     "Il pixel e i pulsanti di Meta riferiscono visite e acquisti a Meta, che li abbina ai profili Facebook "
     "e Instagram su ogni dispositivo in cui sono collegati. Sui siti di Meta stessa questi server sono la "
     "casa, non una terza parte."},
    {"Fox Corporation holds its own top-level domain, .fox, and runs its news and sports sites under several "
     "names. On those sites these hosts are the site itself, not a third party.",
     "Fox Corporation possiede un proprio dominio di primo livello, .fox, e gestisce i suoi siti di notizie "
     "e di sport sotto diversi nomi. Su quei siti questi server sono il sito stesso, non una terza parte."},
    {"The most common consent banner. It records your choice and holds back or releases the site's other "
     "tags accordingly.",
     "Il riquadro del consenso più diffuso. Registra la tua scelta e di conseguenza trattiene o lascia "
     "partire gli altri tag del sito."},
    {"Consent messages for large publishers, including the walls that ask you to accept tracking or pay.",
     "Messaggi di consenso per i grandi editori, compresi i muri che ti chiedono di accettare il "
     "tracciamento o di pagare."},
    {"push notification vendors", "fornitori di notifiche push"},
    {"Services that ask to send you notifications from the site, and send them once you agree.",
     "Servizi che chiedono di inviarti notifiche dal sito, e le inviano una volta che hai accettato."},
    {"Typefaces served from Google's servers. Each request gives Google your IP address and the time; Google "
     "says no cookies are sent with it.",
     "Caratteri tipografici serviti dai server di Google. Ogni richiesta dà a Google il tuo indirizzo IP e "
     "l’ora; Google dice che non viene inviato alcun cookie."},
    {"Yahoo image servers", "server di immagini di Yahoo"},
    {"Google's back end for web and mobile apps: the site's own database, sign-in and files, kept on "
     "Google's servers.",
     "L’infrastruttura di Google per le applicazioni web e per dispositivi mobili: la base di dati del sito "
     "stesso, l’accesso e i file, conservati sui server di Google."},
    {"a standards body", "un ente di normazione"},
    {"Names of vocabularies written into the page's markup (SVG, Dublin Core, Open Graph and the like). They "
     "look like host names, but nothing is fetched from them.",
     "Nomi di vocabolari scritti nel markup della pagina (SVG, Dublin Core, Open Graph e simili). Sembrano "
     "nomi di server, ma da essi non viene scaricato niente."},
}};

} // namespace

std::span<const ProseTranslation> italianCatalogueProse() {
    return pieces;
}

} // namespace nimb
