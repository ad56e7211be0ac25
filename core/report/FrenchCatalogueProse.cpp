// The catalogue's prose in French: the notes on each company, the dates and ties of ownership, the
// retirements and the companies the catalogue describes rather than names, each beside its English.
// Names, hosts and the companies' own quoted words stay as they are in the catalogue.

#include "report/DossierLanguages.h"

#include <array>

namespace nimb {

namespace {

constexpr std::array<ProseTranslation, 65> pieces = {{
    {"2011, as Demdex", "2011, sous le nom de Demdex"},
    {"Adobe's audience store, still answering on the Demdex name it bought in 2011. It swaps its identifier "
     "for this browser with those of other companies, so that an audience gathered on one site can be found "
     "again on another.",
     "La base d’audiences d’Adobe, qui répond toujours sous le nom de Demdex, racheté en 2011. Elle échange "
     "son identifiant de ce navigateur avec ceux d’autres entreprises, pour qu’une audience constituée sur "
     "un site se retrouve sur un autre."},
    {"Experian bought Tapad for $280m to combine, in Experian's own words, its offline consumer data with "
     "online consumer data. That is the join worth understanding: this browser, your phone, and a file about "
     "you that existed before you opened either.",
     "Experian a racheté Tapad 280 millions de dollars pour combiner, selon ses propres termes, ses données "
     "de consommateurs hors ligne avec des données de consommateurs en ligne. C’est ce rapprochement qu’il "
     "faut comprendre\u00a0: ce navigateur, votre téléphone, et un fichier sur vous qui existait avant que "
     "vous n’ouvriez l’un ou l’autre."},
    {"various identity vendors", "divers fournisseurs d’identité"},
    {"Companies whose business is a lasting identifier for this browser, shared with whoever buys ads "
     "against it, so that the same person is recognised from one site to the next. Sites swap one vendor for "
     "another often; the hosts are listed here, the names are not.",
     "Des entreprises dont le métier est un identifiant durable pour ce navigateur, partagé avec quiconque "
     "achète de la publicité en le ciblant, pour que la même personne soit reconnue d’un site à l’autre. Les "
     "sites changent souvent de fournisseur\u202f; les serveurs sont listés ici, les noms ne le sont pas."},
    {"Before the page's own ad server decides anything, Amazon offers each ad slot to the buyers it gathers, "
     "server to server, where the page cannot see who was asked.",
     "Avant que le serveur publicitaire de la page ne décide quoi que ce soit, Amazon propose chaque "
     "emplacement aux acheteurs qu’il rassemble, de serveur à serveur, là où la page ne peut pas voir à qui "
     "l’on a demandé."},
    {"renamed from Casale Media, 2015", "anciennement Casale Media, 2015"},
    {"An exchange that puts the page's ad slots up for auction to many buyers at once, each of them sent the "
     "details of the visit. Its hosts still carry the Casale Media name.",
     "Une place de marché qui met les emplacements publicitaires de la page aux enchères auprès de nombreux "
     "acheteurs à la fois, chacun recevant le détail de la visite. Ses serveurs portent encore le nom de "
     "Casale Media."},
    {"former name", "ancien nom"},
    {"Rubicon Project and Telaria merged, 2020", "fusion de Rubicon Project et de Telaria, 2020"},
    {"Formed when Rubicon Project and Telaria merged in 2020, and joined by SpotX in 2021. Each bid request "
     "it sends out describes the page and the visitor to every buyer invited.",
     "Née de la fusion de Rubicon Project et de Telaria en 2020, rejointe par SpotX en 2021. Chaque demande "
     "d’enchère qu’elle envoie décrit la page et le visiteur à chaque acheteur invité."},
    {"merged with, 2020", "fusion, 2020"},
    {"AppNexus, bought by AT&T in 2018 and renamed Xandr, then sold to Microsoft in 2022. Its exchange still "
     "answers on the adnxs.com hosts that carry the old name.",
     "AppNexus, racheté par AT&T en 2018 et rebaptisé Xandr, puis vendu à Microsoft en 2022. Sa place de "
     "marché répond toujours sur les serveurs adnxs.com, qui portent l’ancien nom."},
    {"former owner, 2018\u20132022", "ancien propriétaire, 2018\u20132022"},
    {"Yahoo's advertising business: it bids on ad slots for advertisers, and its pixel reports what you do "
     "on their sites back to Yahoo.",
     "L’activité publicitaire de Yahoo\u00a0: elle enchérit sur des emplacements pour le compte "
     "d’annonceurs, et son pixel rapporte à Yahoo ce que vous faites sur leurs sites."},
    {"Criteo remembers the products you looked at in one shop and bids to show them to you again on other "
     "sites.",
     "Criteo retient les produits que vous avez regardés dans une boutique et enchérit pour vous les "
     "remontrer sur d’autres sites."},
    {"spun out of Digital Content Next", "issu de Digital Content Next"},
    {"A marketplace for ad slots set up by publishers for their own sites, so that the auction runs on their "
     "terms. It is still an auction: buyers are told about the visit.",
     "Une place de marché d’emplacements publicitaires créée par des éditeurs pour leurs propres sites, afin "
     "que l’enchère se déroule à leurs conditions. C’est tout de même une enchère\u00a0: les acheteurs sont "
     "informés de la visite."},
    {"Google's ad server and ad network. The tag that decides which ad fills a slot also runs the auction "
     "for it, and Google's cookie goes with it from site to site.",
     "Le serveur publicitaire et la régie de Google. La balise qui décide quelle publicité remplit un "
     "emplacement en mène aussi l’enchère, et le cookie de Google la suit de site en site."},
    {"Taboola and its competitors", "Taboola et ses concurrents"},
    {"The grids of paid links under articles. The widget notes what you read, so that the links it offers "
     "you follow your interests from one site to the next.",
     "Les grilles de liens sponsorisés sous les articles. Le module note ce que vous lisez, pour que les "
     "liens qu’il vous propose suivent vos centres d’intérêt d’un site à l’autre."},
    {"Confiant inspects the ads a page is sent and stops those carrying malware or forced redirects. To do "
     "that, it reads every ad you are shown.",
     "Confiant inspecte les publicités envoyées à une page et arrête celles qui portent un logiciel "
     "malveillant ou une redirection forcée. Pour cela, il lit chaque publicité qui vous est montrée."},
    {"IAS and DoubleVerify", "IAS et DoubleVerify"},
    {"The two large verification companies. Their code checks whether an ad was on screen, for how long and "
     "next to what, and reports it to the advertiser.",
     "Les deux grandes entreprises de vérification. Leur code vérifie si une publicité était à l’écran, "
     "combien de temps et à côté de quoi, et en rend compte à l’annonceur."},
    {"renamed from Appboy, 2017", "anciennement Appboy, 2017"},
    {"A customer-messaging platform. Its web code keeps a log of what you do on the site in local storage "
     "and sends it on in batches; the same code shows the site's pop-up messages.",
     "Une plateforme de messagerie client. Son code web tient dans le stockage local un journal de ce que "
     "vous faites sur le site et l’envoie par lots\u202f; le même code affiche les messages surgissants du "
     "site."},
    {"Knotch follows how readers take to a brand's articles: how far they read, how they answer its "
     "one-question surveys, and what they do next.",
     "Knotch suit l’accueil que les lecteurs réservent aux articles d’une marque\u00a0: jusqu’où ils lisent, "
     "comment ils répondent à ses sondages d’une seule question, et ce qu’ils font ensuite."},
    {"acquired Janrain, 2019", "rachat de Janrain, 2019"},
    {"The sign-up and sign-in service that was Janrain. It holds the account, the social logins linked to it "
     "and the profile behind them; Akamai has told its customers the service ends in 2027.",
     "Le service d’inscription et de connexion qui s’appelait Janrain. Il détient le compte, les connexions "
     "par réseaux sociaux qui y sont liées et le profil qui se trouve derrière\u202f; Akamai a annoncé à ses "
     "clients la fin du service en 2027."},
    {"April 2026", "avril 2026"},
    {"True Anthem decides which of a publisher's articles go out on its social accounts, and when, from what "
     "readers on the site are doing.",
     "True Anthem décide quels articles d’un éditeur partent sur ses comptes de réseaux sociaux, et quand, "
     "d’après ce que font les lecteurs sur le site."},
    {"Comscore's beacon counts the visit for its audience rankings and sets a cookie of its own, which it "
     "reads again on every other site that carries the beacon.",
     "La balise de Comscore compte la visite pour ses classements d’audience et dépose son propre cookie, "
     "qu’elle relit sur chaque autre site qui porte la balise."},
    {"Adobe Analytics and Adobe Target: the site's own statistics and its A/B tests, collected on Adobe's "
     "servers.",
     "Adobe Analytics et Adobe Target\u00a0: les statistiques du site lui-même et ses tests A/B, collectés "
     "sur les serveurs d’Adobe."},
    {"Chartbeat shows the newsroom, second by second, how many people are on each story and how long they "
     "stay.",
     "Chartbeat montre à la rédaction, seconde par seconde, combien de personnes lisent chaque article et "
     "combien de temps elles restent."},
    {"Oracle announced in June 2024 that it was leaving the advertising business, and Moat closed with the "
     "rest of it on 30 September that year. A page that still calls moatads.com runs a tag for a company "
     "that is no longer there to answer it.",
     "Oracle a annoncé en juin 2024 qu’il quittait la publicité, et Moat a fermé avec le reste de cette "
     "activité le 30 septembre de la même année. Une page qui appelle encore moatads.com exécute une balise "
     "pour une entreprise qui n’est plus là pour lui répondre."},
    {"Oracle left the advertising business in 2024", "Oracle a quitté la publicité en 2024"},
    {"Comment threads and social-feed walls, bought by Adobe in 2016 and later shut. The tag is left over "
     "from an old integration.",
     "Des fils de commentaires et des murs de flux sociaux, rachetés par Adobe en 2016 puis fermés. La "
     "balise est un reste d’une ancienne intégration."},
    {"Adobe discontinued Livefyre after folding it into Adobe Experience Manager",
     "Adobe a abandonné Livefyre après l’avoir fondu dans Adobe Experience Manager"},
    {"Yobi sells behavioural data, and models trained on it, for predicting what people will do next.",
     "Yobi vend des données comportementales, et des modèles entraînés sur elles, pour prédire ce que les "
     "gens feront ensuite."},
    {"The largest independent buying platform. Its identifier, Unified ID 2.0, is built from an email "
     "address so that it can follow one person across sites and devices.",
     "La plus grande plateforme d’achat indépendante. Son identifiant, Unified ID 2.0, est construit à "
     "partir d’une adresse électronique pour pouvoir suivre une même personne d’un site et d’un appareil à "
     "l’autre."},
    {"A buying platform Roku bought in 2019 to sell advertising that follows a household from its television "
     "to its other screens.",
     "Une plateforme d’achat que Roku a rachetée en 2019 pour vendre une publicité qui suit un foyer de sa "
     "télévision à ses autres écrans."},
    {"iSpot.tv tracks television advertising: it matches the ads a home's television showed to what the same "
     "home later does online.",
     "iSpot.tv suit la publicité télévisée\u00a0: il rapproche les publicités qu’a montrées le téléviseur "
     "d’un foyer de ce que ce même foyer fait ensuite en ligne."},
    {"The TikTok pixel reports what you do on an advertiser's site back to TikTok, which matches it to "
     "TikTok accounts.",
     "Le pixel de TikTok rapporte à TikTok ce que vous faites sur le site d’un annonceur, et TikTok le "
     "rapproche de ses comptes."},
    {"The Pinterest tag reports visits and purchases on an advertiser's site back to Pinterest, which "
     "matches them to its users.",
     "La balise de Pinterest rapporte à Pinterest les visites et les achats sur le site d’un annonceur, et "
     "Pinterest les rapproche de ses utilisateurs."},
    {"Snap's pixel reports what you do on an advertiser's site back to Snapchat, to aim its ads and to prove "
     "they worked.",
     "Le pixel de Snap rapporte à Snapchat ce que vous faites sur le site d’un annonceur, pour cibler ses "
     "publicités et prouver qu’elles ont marché."},
    {"Reddit's pixel reports visits and purchases on an advertiser's site back to Reddit, which matches them "
     "to Reddit accounts.",
     "Le pixel de Reddit rapporte à Reddit les visites et les achats sur le site d’un annonceur, et Reddit "
     "les rapproche de ses comptes."},
    {"Rokt places other companies' offers on checkout and confirmation pages, chosen from what it knows "
     "about the buyer.",
     "Rokt place les offres d’autres entreprises sur les pages de paiement et de validation de commande, "
     "choisies d’après ce qu’il sait de l’acheteur."},
    {"Datadog's browser monitoring records each visit for the site's engineers, including a replay of what "
     "was on the screen and where you clicked.",
     "La surveillance de navigateur de Datadog enregistre chaque visite pour les ingénieurs du site, avec "
     "une relecture de ce qui était à l’écran et de l’endroit où vous avez cliqué."},
    {"Optimizely shows different visitors different versions of a page and records which one you saw and "
     "what you did next. Episerver bought it in 2020 and took its name.",
     "Optimizely montre à des visiteurs différents des moutures différentes d’une page, et enregistre celle "
     "que vous avez vue et ce que vous avez fait ensuite. Episerver l’a racheté en 2020 et a pris son nom."},
    {"Ketch draws the consent banner and keeps your answer, which the site's other tags then read before "
     "they run.",
     "Ketch affiche le bandeau de consentement et conserve votre réponse, que les autres balises du site "
     "lisent ensuite avant de s’exécuter."},
    {"A customer data platform: it gathers every event a site or app records about you, joins them into one "
     "profile per person across devices, and passes the profile to the site's other vendors.",
     "Une plateforme de données clients\u00a0: elle rassemble chaque événement qu’un site ou une application "
     "enregistre à votre sujet, les réunit en un profil par personne sur tous ses appareils, et transmet ce "
     "profil aux autres prestataires du site."},
    {"A container that loads other companies' tags. Whatever the site has put in it runs here, whether or "
     "not this report can name it.",
     "Un conteneur qui charge les balises d’autres entreprises. Tout ce que le site y a mis s’exécute ici, "
     "que ce rapport sache le nommer ou non."},
    {"Imperva screens visitors for bots before they reach the site. Its check runs a script that takes a "
     "detailed reading of this browser.",
     "Imperva filtre les visiteurs pour écarter les robots avant qu’ils n’atteignent le site. Sa "
     "vérification exécute un script qui relève en détail les caractéristiques de ce navigateur."},
    {"A tag manager that also decides which tags may run and what they may collect; it loads the rest of the "
     "site's tags from one Bootstrap.js file.",
     "Un gestionnaire de balises qui décide aussi quelles balises peuvent s’exécuter et ce qu’elles peuvent "
     "collecter\u202f; il charge le reste des balises du site depuis un seul fichier Bootstrap.js."},
    {"Meta's pixel and its buttons report visits and purchases to Meta, which matches them to Facebook and "
     "Instagram accounts on every device they are signed in on. On Meta's own sites these hosts are the "
     "house, not a third party.",
     "Le pixel et les boutons de Meta rapportent les visites et les achats à Meta, qui les rapproche des "
     "comptes Facebook et Instagram sur chaque appareil où ils sont connectés. Sur les propres sites de "
     "Meta, ces serveurs sont la maison, pas un tiers."},
    {"Fox Corporation holds its own top-level domain, .fox, and runs its news and sports sites under several "
     "names. On those sites these hosts are the site itself, not a third party.",
     "Fox Corporation détient son propre domaine de premier niveau, .fox, et exploite ses sites "
     "d’information et de sport sous plusieurs noms. Sur ces sites, ces serveurs sont le site lui-même, pas "
     "un tiers."},
    {"The most common consent banner. It records your choice and holds back or releases the site's other "
     "tags accordingly.",
     "Le bandeau de consentement le plus répandu. Il enregistre votre choix et retient ou libère en "
     "conséquence les autres balises du site."},
    {"Consent messages for large publishers, including the walls that ask you to accept tracking or pay.",
     "Des messages de consentement pour les grands éditeurs, y compris les murs qui vous demandent "
     "d’accepter le pistage ou de payer."},
    {"push notification vendors", "fournisseurs de notifications push"},
    {"Services that ask to send you notifications from the site, and send them once you agree.",
     "Des services qui demandent à vous envoyer des alertes du site, et qui les envoient une fois que vous "
     "avez accepté."},
    {"Typefaces served from Google's servers. Each request gives Google your IP address and the time; Google "
     "says no cookies are sent with it.",
     "Des polices de caractères servies depuis les serveurs de Google. Chaque requête donne à Google votre "
     "adresse IP et l’heure\u202f; Google affirme qu’aucun cookie n’est envoyé avec."},
    {"Yahoo image servers", "serveurs d’images de Yahoo"},
    {"Google's back end for web and mobile apps: the site's own database, sign-in and files, kept on "
     "Google's servers.",
     "L’infrastructure de Google pour les applications web et mobiles\u00a0: la base de données du site "
     "lui-même, sa connexion et ses fichiers, conservés sur les serveurs de Google."},
    {"a standards body", "un organisme de normalisation"},
    {"Names of vocabularies written into the page's markup (SVG, Dublin Core, Open Graph and the like). They "
     "look like host names, but nothing is fetched from them.",
     "Des noms de vocabulaires inscrits dans le balisage de la page (SVG, Dublin Core, Open Graph et "
     "autres). Ils ressemblent à des noms d’hôte, mais rien n’est téléchargé depuis eux."},
}};

} // namespace

std::span<const ProseTranslation> frenchCatalogueProse() {
    return pieces;
}

} // namespace nimb
