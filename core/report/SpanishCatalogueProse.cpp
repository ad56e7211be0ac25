// The catalogue's prose in Spanish: the notes on each company, the dates and ties of ownership, the
// retirements and the companies the catalogue describes rather than names, each beside its English.
// Names, hosts and the companies' own quoted words stay as they are in the catalogue.

#include "report/DossierLanguages.h"

#include <array>

namespace nimb {

namespace {

constexpr std::array<ProseTranslation, 65> pieces = {{
    {"2011, as Demdex", "2011, como Demdex"},
    {"Adobe's audience store, still answering on the Demdex name it bought in 2011. It swaps its identifier "
     "for this browser with those of other companies, so that an audience gathered on one site can be found "
     "again on another.",
     "El almacén de audiencias de Adobe, que aún responde con el nombre de Demdex, comprado en 2011. "
     "Intercambia su identificador de este navegador con los de otras empresas, para que una audiencia "
     "reunida en un sitio pueda encontrarse de nuevo en otro."},
    {"Experian bought Tapad for $280m to combine, in Experian's own words, its offline consumer data with "
     "online consumer data. That is the join worth understanding: this browser, your phone, and a file about "
     "you that existed before you opened either.",
     "Experian compró Tapad por 280 millones de dólares para combinar, en sus propias palabras, sus datos de "
     "consumidores fuera de línea con datos de consumidores en línea. Esa es la unión que conviene entender: "
     "este navegador, tu teléfono y un expediente sobre ti que existía antes de que abrieras cualquiera de "
     "los dos."},
    {"various identity vendors", "varios proveedores de identidad"},
    {"Companies whose business is a lasting identifier for this browser, shared with whoever buys ads "
     "against it, so that the same person is recognised from one site to the next. Sites swap one vendor for "
     "another often; the hosts are listed here, the names are not.",
     "Empresas cuyo negocio es un identificador duradero para este navegador, compartido con quien compre "
     "anuncios dirigidos a él, para que la misma persona sea reconocida de un sitio a otro. Los sitios "
     "cambian a menudo de proveedor; aquí figuran los servidores, no los nombres."},
    {"Before the page's own ad server decides anything, Amazon offers each ad slot to the buyers it gathers, "
     "server to server, where the page cannot see who was asked.",
     "Antes de que el servidor publicitario de la propia página decida nada, Amazon ofrece cada espacio a "
     "los compradores que reúne, de servidor a servidor, donde la página no puede ver a quién se preguntó."},
    {"renamed from Casale Media, 2015", "antes Casale Media, 2015"},
    {"An exchange that puts the page's ad slots up for auction to many buyers at once, each of them sent the "
     "details of the visit. Its hosts still carry the Casale Media name.",
     "Un mercado que subasta los espacios publicitarios de la página entre muchos compradores a la vez, y a "
     "cada uno le envía los detalles de la visita. Sus servidores aún llevan el nombre de Casale Media."},
    {"former name", "nombre anterior"},
    {"Rubicon Project and Telaria merged, 2020", "fusión de Rubicon Project y Telaria, 2020"},
    {"Formed when Rubicon Project and Telaria merged in 2020, and joined by SpotX in 2021. Each bid request "
     "it sends out describes the page and the visitor to every buyer invited.",
     "Nació de la fusión de Rubicon Project y Telaria en 2020, y SpotX se le unió en 2021. Cada solicitud de "
     "puja que envía describe la página y al visitante a cada comprador invitado."},
    {"merged with, 2020", "fusión, 2020"},
    {"AppNexus, bought by AT&T in 2018 and renamed Xandr, then sold to Microsoft in 2022. Its exchange still "
     "answers on the adnxs.com hosts that carry the old name.",
     "AppNexus, comprada por AT&T en 2018 y rebautizada como Xandr, y después vendida a Microsoft en 2022. "
     "Su mercado aún responde en los servidores adnxs.com, que llevan el nombre antiguo."},
    {"former owner, 2018\u20132022", "antiguo dueño, 2018\u20132022"},
    {"Yahoo's advertising business: it bids on ad slots for advertisers, and its pixel reports what you do "
     "on their sites back to Yahoo.",
     "El negocio publicitario de Yahoo: puja por espacios en nombre de los anunciantes, y su píxel le cuenta "
     "a Yahoo lo que haces en sus sitios."},
    {"Criteo remembers the products you looked at in one shop and bids to show them to you again on other "
     "sites.",
     "Criteo recuerda los productos que miraste en una tienda y puja para volver a mostrártelos en otros "
     "sitios."},
    {"spun out of Digital Content Next", "escindida de Digital Content Next"},
    {"A marketplace for ad slots set up by publishers for their own sites, so that the auction runs on their "
     "terms. It is still an auction: buyers are told about the visit.",
     "Un mercado de espacios publicitarios creado por editores para sus propios sitios, para que la subasta "
     "se haga en sus términos. Sigue siendo una subasta: a los compradores se les informa de la visita."},
    {"Google's ad server and ad network. The tag that decides which ad fills a slot also runs the auction "
     "for it, and Google's cookie goes with it from site to site.",
     "El servidor y la red publicitaria de Google. La etiqueta que decide qué anuncio ocupa un espacio "
     "también dirige su subasta, y la cookie de Google la acompaña de un sitio a otro."},
    {"Taboola and its competitors", "Taboola y sus competidores"},
    {"The grids of paid links under articles. The widget notes what you read, so that the links it offers "
     "you follow your interests from one site to the next.",
     "Las cuadrículas de enlaces patrocinados bajo los artículos. El módulo anota lo que lees, para que los "
     "enlaces que te ofrece sigan tus intereses de un sitio a otro."},
    {"Confiant inspects the ads a page is sent and stops those carrying malware or forced redirects. To do "
     "that, it reads every ad you are shown.",
     "Confiant inspecciona los anuncios que recibe una página y detiene los que traen software malicioso o "
     "redirecciones forzadas. Para ello, lee cada anuncio que se te muestra."},
    {"IAS and DoubleVerify", "IAS y DoubleVerify"},
    {"The two large verification companies. Their code checks whether an ad was on screen, for how long and "
     "next to what, and reports it to the advertiser.",
     "Las dos grandes empresas de verificación. Su código comprueba si un anuncio estuvo en pantalla, cuánto "
     "tiempo y junto a qué, y se lo comunica al anunciante."},
    {"renamed from Appboy, 2017", "antes Appboy, 2017"},
    {"A customer-messaging platform. Its web code keeps a log of what you do on the site in local storage "
     "and sends it on in batches; the same code shows the site's pop-up messages.",
     "Una plataforma de mensajería con clientes. Su código web lleva en el almacenamiento local un registro "
     "de lo que haces en el sitio y lo envía por tandas; el mismo código muestra los mensajes emergentes del "
     "sitio."},
    {"Knotch follows how readers take to a brand's articles: how far they read, how they answer its "
     "one-question surveys, and what they do next.",
     "Knotch sigue cómo reciben los lectores los artículos de una marca: hasta dónde leen, cómo responden a "
     "sus encuestas de una sola pregunta y qué hacen después."},
    {"acquired Janrain, 2019", "adquirió Janrain, 2019"},
    {"The sign-up and sign-in service that was Janrain. It holds the account, the social logins linked to it "
     "and the profile behind them; Akamai has told its customers the service ends in 2027.",
     "El servicio de registro e inicio de sesión que fue Janrain. Guarda la cuenta, los inicios de sesión "
     "sociales vinculados a ella y el perfil que hay detrás; Akamai ha comunicado a sus clientes que el "
     "servicio termina en 2027."},
    {"April 2026", "abril de 2026"},
    {"True Anthem decides which of a publisher's articles go out on its social accounts, and when, from what "
     "readers on the site are doing.",
     "True Anthem decide qué artículos de un editor salen en sus cuentas de redes sociales, y cuándo, según "
     "lo que hacen los lectores en el sitio."},
    {"Comscore's beacon counts the visit for its audience rankings and sets a cookie of its own, which it "
     "reads again on every other site that carries the beacon.",
     "La baliza de Comscore cuenta la visita para sus clasificaciones de audiencia y pone una cookie propia, "
     "que vuelve a leer en cada uno de los demás sitios que llevan la baliza."},
    {"Adobe Analytics and Adobe Target: the site's own statistics and its A/B tests, collected on Adobe's "
     "servers.",
     "Adobe Analytics y Adobe Target: las estadísticas del propio sitio y sus pruebas A/B, recogidas en los "
     "servidores de Adobe."},
    {"Chartbeat shows the newsroom, second by second, how many people are on each story and how long they "
     "stay.",
     "Chartbeat muestra a la redacción, segundo a segundo, cuántas personas hay en cada noticia y cuánto "
     "tiempo se quedan."},
    {"Oracle announced in June 2024 that it was leaving the advertising business, and Moat closed with the "
     "rest of it on 30 September that year. A page that still calls moatads.com runs a tag for a company "
     "that is no longer there to answer it.",
     "Oracle anunció en junio de 2024 que dejaba el negocio publicitario, y Moat cerró con el resto el 30 de "
     "septiembre de ese año. Una página que aún llama a moatads.com ejecuta una etiqueta para una empresa "
     "que ya no está ahí para responderle."},
    {"Oracle left the advertising business in 2024", "Oracle dejó el negocio publicitario en 2024"},
    {"Comment threads and social-feed walls, bought by Adobe in 2016 and later shut. The tag is left over "
     "from an old integration.",
     "Hilos de comentarios y muros de publicaciones sociales, comprados por Adobe en 2016 y cerrados "
     "después. La etiqueta es un resto de una integración antigua."},
    {"Adobe discontinued Livefyre after folding it into Adobe Experience Manager",
     "Adobe abandonó Livefyre tras integrarlo en Adobe Experience Manager"},
    {"Yobi sells behavioural data, and models trained on it, for predicting what people will do next.",
     "Yobi vende datos de comportamiento, y modelos entrenados con ellos, para predecir lo que la gente hará "
     "después."},
    {"The largest independent buying platform. Its identifier, Unified ID 2.0, is built from an email "
     "address so that it can follow one person across sites and devices.",
     "La mayor plataforma de compra independiente. Su identificador, Unified ID 2.0, se construye a partir "
     "de una dirección de correo electrónico para poder seguir a una misma persona entre sitios y "
     "dispositivos."},
    {"A buying platform Roku bought in 2019 to sell advertising that follows a household from its television "
     "to its other screens.",
     "Una plataforma de compra que Roku adquirió en 2019 para vender publicidad que sigue a un hogar desde "
     "su televisor hasta sus otras pantallas."},
    {"iSpot.tv tracks television advertising: it matches the ads a home's television showed to what the same "
     "home later does online.",
     "iSpot.tv rastrea la publicidad televisiva: relaciona los anuncios que mostró el televisor de un hogar "
     "con lo que ese mismo hogar hace después en internet."},
    {"The TikTok pixel reports what you do on an advertiser's site back to TikTok, which matches it to "
     "TikTok accounts.",
     "El píxel de TikTok le cuenta a TikTok lo que haces en el sitio de un anunciante, y TikTok lo relaciona "
     "con sus cuentas."},
    {"The Pinterest tag reports visits and purchases on an advertiser's site back to Pinterest, which "
     "matches them to its users.",
     "La etiqueta de Pinterest le comunica a Pinterest las visitas y compras en el sitio de un anunciante, y "
     "Pinterest las relaciona con sus usuarios."},
    {"Snap's pixel reports what you do on an advertiser's site back to Snapchat, to aim its ads and to prove "
     "they worked.",
     "El píxel de Snap le cuenta a Snapchat lo que haces en el sitio de un anunciante, para dirigir sus "
     "anuncios y demostrar que funcionaron."},
    {"Reddit's pixel reports visits and purchases on an advertiser's site back to Reddit, which matches them "
     "to Reddit accounts.",
     "El píxel de Reddit le comunica a Reddit las visitas y compras en el sitio de un anunciante, y Reddit "
     "las relaciona con sus cuentas."},
    {"Rokt places other companies' offers on checkout and confirmation pages, chosen from what it knows "
     "about the buyer.",
     "Rokt coloca ofertas de otras empresas en las páginas de pago y de confirmación, elegidas según lo que "
     "sabe del comprador."},
    {"Datadog's browser monitoring records each visit for the site's engineers, including a replay of what "
     "was on the screen and where you clicked.",
     "La monitorización del navegador de Datadog registra cada visita para los ingenieros del sitio, "
     "incluida una reproducción de lo que había en pantalla y de dónde hiciste clic."},
    {"Optimizely shows different visitors different versions of a page and records which one you saw and "
     "what you did next. Episerver bought it in 2020 and took its name.",
     "Optimizely muestra a distintos visitantes distintas versiones de una página y registra cuál viste y "
     "qué hiciste después. Episerver la compró en 2020 y adoptó su nombre."},
    {"Ketch draws the consent banner and keeps your answer, which the site's other tags then read before "
     "they run.",
     "Ketch dibuja el aviso de consentimiento y guarda tu respuesta, que las demás etiquetas del sitio leen "
     "después antes de ejecutarse."},
    {"A customer data platform: it gathers every event a site or app records about you, joins them into one "
     "profile per person across devices, and passes the profile to the site's other vendors.",
     "Una plataforma de datos de clientes: reúne cada evento que un sitio o una aplicación registra sobre "
     "ti, los une en un perfil por persona en todos sus dispositivos y pasa el perfil a los demás "
     "proveedores del sitio."},
    {"A container that loads other companies' tags. Whatever the site has put in it runs here, whether or "
     "not this report can name it.",
     "Un contenedor que carga las etiquetas de otras empresas. Todo lo que el sitio haya puesto en él se "
     "ejecuta aquí, sepa o no nombrarlo este informe."},
    {"Imperva screens visitors for bots before they reach the site. Its check runs a script that takes a "
     "detailed reading of this browser.",
     "Imperva examina a los visitantes para descartar robots antes de que lleguen al sitio. Su comprobación "
     "ejecuta un script que toma una lectura detallada de este navegador."},
    {"A tag manager that also decides which tags may run and what they may collect; it loads the rest of the "
     "site's tags from one Bootstrap.js file.",
     "Un gestor de etiquetas que también decide qué etiquetas pueden ejecutarse y qué pueden recoger; carga "
     "el resto de las etiquetas del sitio desde un único archivo Bootstrap.js."},
    {"Meta's pixel and its buttons report visits and purchases to Meta, which matches them to Facebook and "
     "Instagram accounts on every device they are signed in on. On Meta's own sites these hosts are the "
     "house, not a third party.",
     "El píxel y los botones de Meta le comunican las visitas y compras a Meta, que las relaciona con las "
     "cuentas de Facebook e Instagram en cada dispositivo donde tengan la sesión iniciada. En los propios "
     "sitios de Meta estos servidores son la casa, no un tercero."},
    {"Fox Corporation holds its own top-level domain, .fox, and runs its news and sports sites under several "
     "names. On those sites these hosts are the site itself, not a third party.",
     "Fox Corporation tiene su propio dominio de primer nivel, .fox, y gestiona sus sitios de noticias y "
     "deportes con varios nombres. En esos sitios estos servidores son el propio sitio, no un tercero."},
    {"The most common consent banner. It records your choice and holds back or releases the site's other "
     "tags accordingly.",
     "El aviso de consentimiento más extendido. Registra tu elección y, en consecuencia, retiene o libera "
     "las demás etiquetas del sitio."},
    {"Consent messages for large publishers, including the walls that ask you to accept tracking or pay.",
     "Mensajes de consentimiento para grandes editores, incluidos los muros que te piden aceptar el rastreo "
     "o pagar."},
    {"push notification vendors", "proveedores de notificaciones push"},
    {"Services that ask to send you notifications from the site, and send them once you agree.",
     "Servicios que piden permiso para enviarte notificaciones del sitio, y las envían en cuanto aceptas."},
    {"Typefaces served from Google's servers. Each request gives Google your IP address and the time; Google "
     "says no cookies are sent with it.",
     "Tipos de letra servidos desde los servidores de Google. Cada solicitud le da a Google tu dirección IP "
     "y la hora; Google dice que no se envían cookies con ella."},
    {"Yahoo image servers", "servidores de imágenes de Yahoo"},
    {"Google's back end for web and mobile apps: the site's own database, sign-in and files, kept on "
     "Google's servers.",
     "La infraestructura de Google para aplicaciones web y móviles: la base de datos del propio sitio, el "
     "inicio de sesión y los archivos, guardados en los servidores de Google."},
    {"a standards body", "un organismo de normalización"},
    {"Names of vocabularies written into the page's markup (SVG, Dublin Core, Open Graph and the like). They "
     "look like host names, but nothing is fetched from them.",
     "Nombres de vocabularios escritos en el marcado de la página (SVG, Dublin Core, Open Graph y "
     "similares). Parecen nombres de servidor, pero no se descarga nada de ellos."},
}};

} // namespace

std::span<const ProseTranslation> spanishCatalogueProse() {
    return pieces;
}

} // namespace nimb
