// The dossier's tables: every company the browser can put a name to, the storage-key prefixes that
// betray a measurement library, and the brand top-level domains. Data only; the look-ups that read it
// are in Dossier.cpp.
//
// Each entry rests on the address in its `sourced` field. `checked` is the month the attribution was
// last verified against that material, or "needs-check" where it has not been since it was written.
// A host is listed in at most one entry; a suffix answers for every host under it.

#include "report/Dossier.h"

namespace nimb::Dossier {

namespace {

constexpr const char* verified = "2026-08";
constexpr const char* unverified = "needs-check";

using enum Capability;

std::vector<Entry> makeEntries() {
    return {
        // 1
        Entry{
            .hosts = {"demdex.net", "demdex.com"},
            .company =
                {.name = "Adobe Audience Manager",
                 .owner = "Adobe",
                 .since = "2011, as Demdex",
                 .sourced =
                     "https://business.adobe.com/products/audience-manager/adobe-audience-manager.html",
                 .checked = verified},
            .group = Group::identity,
            .capabilities = {crossSite, audienceMeasurement},
            .theirWords = "data management platform",
            .note =
                "Adobe's audience store, still answering on the Demdex name it bought in 2011. It swaps its "
                "identifier for this browser with those of other companies, so that an audience gathered "
                "on one site can be found again on another.",
        },
        // 2
        Entry{
            .hosts = {"tapad.com"},
            .company = {.name = "Tapad",
                        .owner = "Experian",
                        .since = "2020",
                        .sourced = "https://www.tapad.com/",
                        .checked = verified},
            .group = Group::identity,
            .capabilities = {crossDevice, crossSite, offlineJoin},
            .theirWords = "digital identity resolution",
            .note =
                "Experian bought Tapad for $280m to combine, in Experian's own words, its offline consumer "
                "data with online consumer data. That is the join worth understanding: this browser, your "
                "phone, and a file about you that existed before you opened either.",
        },
        // 3
        Entry{
            .hosts = {"rlcdn.com", "id5-sync.com", "crwdcntrl.net", "liadm.com", "agkn.com", "zeotap.com",
                      "33across.com", "intentiq.com"},
            .company = {.name = "various identity vendors",
                        .sourced = "https://docs.prebid.org/dev-docs/modules/userId.html",
                        .checked = unverified},
            .group = Group::identity,
            .capabilities = {crossSite},
            .note = "Companies whose business is a lasting identifier for this browser, shared with whoever "
                    "buys ads against it, so that the same person is recognised from one site to the next. "
                    "Sites swap one vendor for another often; the hosts are listed here, the names are not.",
        },
        // 4
        Entry{
            .hosts = {"amazon-adsystem.com"},
            .company = {.name = "Amazon Publisher Services",
                        .owner = "Amazon",
                        .sourced = "https://aps.amazon.com/",
                        .checked = verified},
            .group = Group::auction,
            .capabilities = {bidBroadcast, serverSideBidding},
            .theirWords = "server-side header bidding",
            .note =
                "Before the page's own ad server decides anything, Amazon offers each ad slot to the buyers "
                "it gathers, server to server, where the page cannot see who was asked.",
            .files = {"apstag.js"},
        },
        // 5
        Entry{
            .hosts = {"casalemedia.com", "indexww.com"},
            .company = {.name = "Index Exchange",
                        .since = "renamed from Casale Media, 2015",
                        .sourced = "https://www.indexexchange.com/",
                        .checked = verified},
            .group = Group::auction,
            .capabilities = {bidBroadcast},
            .theirWords = "programmatic SSP",
            .note =
                "An exchange that puts the page's ad slots up for auction to many buyers at once, each of "
                "them sent the details of the visit. Its hosts still carry the Casale Media name.",
            .ties = {{"Casale Media", "former name"}},
        },
        // 6
        Entry{
            .hosts = {"rubiconproject.com", "spotxchange.com"},
            .company = {.name = "Magnite",
                        .since = "Rubicon Project and Telaria merged, 2020",
                        .sourced = "https://www.magnite.com/",
                        .checked = verified},
            .group = Group::auction,
            .capabilities = {bidBroadcast},
            .theirWords = "sell-side advertising platform",
            .note =
                "Formed when Rubicon Project and Telaria merged in 2020, and joined by SpotX in 2021. Each "
                "bid request it sends out describes the page and the visitor to every buyer invited.",
            .ties = {{"Rubicon Project", "former name"}, {"Telaria", "merged with, 2020"}},
        },
        // 7
        Entry{
            .hosts = {"adnxs.com", "adnxs-simple.com"},
            .company = {.name = "Xandr",
                        .owner = "Microsoft",
                        .since = "2022",
                        .sourced = "https://blogs.microsoft.com/blog/2021/12/21/"
                                   "microsoft-to-acquire-xandr-to-accelerate-delivery-of-digital-advertising-"
                                   "and-retail-media-solutions/",
                        .checked = verified},
            .group = Group::auction,
            .capabilities = {bidBroadcast},
            .note = "AppNexus, bought by AT&T in 2018 and renamed Xandr, then sold to Microsoft in 2022. Its "
                    "exchange still answers on the adnxs.com hosts that carry the old name.",
            .ties = {{"AppNexus", "former name"}, {"AT&T", "former owner, 2018\u20132022"}},
        },
        // 8
        Entry{
            .hosts = {"pubgw.yahoo.com", "analytics.yahoo.com", "ads.yahoo.com"},
            .company = {.name = "Yahoo", .sourced = "https://www.yahooinc.com/", .checked = unverified},
            .group = Group::auction,
            .capabilities = {bidBroadcast, serverSideBidding},
            .note =
                "Yahoo's advertising business: it bids on ad slots for advertisers, and its pixel reports "
                "what you do on their sites back to Yahoo.",
        },
        // 9
        Entry{
            .hosts = {"pubmatic.com"},
            .company = {.name = "PubMatic", .sourced = "https://pubmatic.com/", .checked = unverified},
            .group = Group::auction,
            .capabilities = {bidBroadcast},
            .files = {"pwt.js"},
        },
        // 10
        Entry{
            .hosts = {"openx.net"},
            .company = {.name = "OpenX", .sourced = "https://www.openx.com/", .checked = unverified},
            .group = Group::auction,
            .capabilities = {bidBroadcast},
        },
        // 11
        Entry{
            .hosts = {"criteo.com", "criteo.net"},
            .company = {.name = "Criteo", .sourced = "https://www.criteo.com/", .checked = unverified},
            .group = Group::auction,
            .capabilities = {bidBroadcast, crossSite},
            .note = "Criteo remembers the products you looked at in one shop and bids to show them to you "
                    "again on other sites.",
            .files = {"ld.js"},
        },
        // 12
        Entry{
            .hosts = {"trustx.org"},
            .company = {.name = "TRUSTX",
                        .owner = "Symitri",
                        .since = "spun out of Digital Content Next",
                        .sourced = "https://www.trustx.org/",
                        .checked = verified},
            .group = Group::auction,
            .capabilities = {bidBroadcast},
            .theirWords = "the only SSP built by, and for, premium publishers",
            .note =
                "A marketplace for ad slots set up by publishers for their own sites, so that the auction "
                "runs on their terms. It is still an auction: buyers are told about the visit.",
        },
        // 13
        Entry{
            .hosts = {"doubleclick.net", "googlesyndication.com", "googletagservices.com",
                      "googleadservices.com", "2mdn.net", "adtrafficquality.google"},
            .company = {.name = "Google",
                        .sourced = "https://policies.google.com/technologies/ads",
                        .checked = unverified},
            .group = Group::advertising,
            .capabilities = {adDelivery, bidBroadcast, crossSite},
            .note =
                "Google's ad server and ad network. The tag that decides which ad fills a slot also runs the "
                "auction for it, and Google's cookie goes with it from site to site.",
            .files = {"gpt.js", "pubads_impl.js", "adsbygoogle.js"},
        },
        // 14
        Entry{
            .hosts = {"taboola.com", "outbrain.com", "outbrainimg.com", "mgid.com", "revcontent.com"},
            .company = {.name = "Taboola and its competitors",
                        .sourced = "https://www.taboola.com/",
                        .checked = unverified},
            .group = Group::advertising,
            .capabilities = {recommendation, crossSite},
            .note =
                "The grids of paid links under articles. The widget notes what you read, so that the links "
                "it offers you follow your interests from one site to the next.",
            .files = {"loader.js", "outbrain.js"},
        },
        // 15
        Entry{
            .hosts = {"confiant-integrations.net", "clarium.io"},
            .company = {.name = "Confiant", .sourced = "https://www.confiant.com/", .checked = verified},
            .group = Group::advertising,
            .capabilities = {adSecurity},
            .theirWords = "detecting and stopping malvertising attacks",
            .note = "Confiant inspects the ads a page is sent and stops those carrying malware or forced "
                    "redirects. To do that, it reads every ad you are shown.",
        },
        // 16
        Entry{
            .hosts = {"adsafeprotected.com", "doubleverify.com"},
            .company = {.name = "IAS and DoubleVerify",
                        .sourced = "https://integralads.com/",
                        .checked = unverified},
            .group = Group::advertising,
            .capabilities = {viewability},
            .note =
                "The two large verification companies. Their code checks whether an ad was on screen, for "
                "how long and next to what, and reports it to the advertiser.",
            .files = {"iasPET.1.js"},
        },
        // 17
        Entry{
            .hosts = {"braze.com", "braze.eu", "appboycdn.com"},
            .company = {.name = "Braze",
                        .since = "renamed from Appboy, 2017",
                        .sourced = "https://www.braze.com/",
                        .checked = verified},
            .group = Group::profile,
            .capabilities = {behaviouralProfile, interruption},
            .theirWords = "queued locally in HTML 5 localStorage when available",
            .note =
                "A customer-messaging platform. Its web code keeps a log of what you do on the site in local "
                "storage and sends it on in batches; the same code shows the site's pop-up messages.",
            .ties = {{"Appboy", "former name"}},
            .files = {"appboy.min.js", "braze.min.js"},
        },
        // 18
        Entry{
            .hosts = {"knotch.com", "knotch.it", "knotch-cdn.com"},
            .company = {.name = "Knotch", .sourced = "https://www.knotch.com/", .checked = verified},
            .group = Group::profile,
            .capabilities = {contentAnalytics, behaviouralProfile},
            .theirWords = "content intelligence platform",
            .note =
                "Knotch follows how readers take to a brand's articles: how far they read, how they answer "
                "its one-question surveys, and what they do next.",
        },
        // 19
        Entry{
            .hosts = {"janrain.com", "janraincapture.com"},
            .company =
                {.name = "Akamai Identity Cloud",
                 .owner = "Akamai",
                 .since = "acquired Janrain, 2019",
                 .sourced =
                     "https://techdocs.akamai.com/identity-cloud/docs/an-introduction-to-identity-cloud",
                 .checked = verified},
            .group = Group::profile,
            .capabilities = {socialLogin, behaviouralProfile},
            .theirWords = "customer identity and access management",
            .note =
                "The sign-up and sign-in service that was Janrain. It holds the account, the social logins "
                "linked to it and the profile behind them; Akamai has told its customers the service ends "
                "in 2027.",
            .ties = {{"Janrain", "former name"}},
        },
        // 20
        Entry{
            .hosts = {"tru.am"},
            .company = {.name = "True Anthem",
                        .owner = "JWX",
                        .since = "April 2026",
                        .sourced = "https://www.trueanthem.com/",
                        .checked = verified},
            .group = Group::profile,
            .capabilities = {socialDistribution, contentAnalytics},
            .theirWords = "AI-powered content distribution platform",
            .note = "True Anthem decides which of a publisher's articles go out on its social accounts, and "
                    "when, from what readers on the site are doing.",
        },
        // 21
        Entry{
            .hosts = {"scorecardresearch.com", "comscore.com"},
            .company = {.name = "Comscore", .sourced = "https://www.comscore.com/", .checked = unverified},
            .group = Group::measurement,
            .capabilities = {audienceMeasurement, crossSite},
            .note =
                "Comscore's beacon counts the visit for its audience rankings and sets a cookie of its own, "
                "which it reads again on every other site that carries the beacon.",
            .files = {"beacon.js"},
        },
        // 22
        Entry{
            .hosts = {"omtrdc.net"},
            .company = {.name = "Adobe Experience Cloud",
                        .owner = "Adobe",
                        .sourced = "https://business.adobe.com/products/analytics/adobe-analytics.html",
                        .checked = unverified},
            .group = Group::measurement,
            .capabilities = {audienceMeasurement, experimentation},
            .note =
                "Adobe Analytics and Adobe Target: the site's own statistics and its A/B tests, collected "
                "on Adobe's servers.",
            .files = {"AppMeasurement.js", "VisitorAPI.js"},
        },
        // 23
        Entry{
            .hosts = {"chartbeat.com", "chartbeat.net"},
            .company = {.name = "Chartbeat", .sourced = "https://chartbeat.com/", .checked = unverified},
            .group = Group::measurement,
            .capabilities = {audienceMeasurement},
            .note =
                "Chartbeat shows the newsroom, second by second, how many people are on each story and how "
                "long they stay.",
            .files = {"chartbeat.js", "chartbeat_mab.js"},
        },
        // 24
        Entry{
            .hosts = {"moatads.com", "moatpixel.com"},
            .company = {.name = "Moat",
                        .owner = "Oracle",
                        .since = "2017",
                        .sourced = "https://adage.com/article/special-report-cannes-lions/"
                                   "oracle-tried-sell-ad-business-doubleverify-and-ias/2566376",
                        .checked = verified},
            .group = Group::dead,
            .capabilities = {viewability},
            .note =
                "Oracle announced in June 2024 that it was leaving the advertising business, and Moat closed "
                "with the rest of it on 30 September that year. A page that still calls moatads.com runs a "
                "tag for a company that is no longer there to answer it.",
            .retired = "Oracle left the advertising business in 2024",
            .files = {"moatad.js", "moatframe.js"},
        },
        // 25
        Entry{
            .hosts = {"livefyre.com"},
            .company = {.name = "Livefyre",
                        .owner = "Adobe",
                        .since = "2016",
                        .sourced = "https://www.adobe.com/",
                        .checked = verified},
            .group = Group::dead,
            .capabilities = {contentDelivery},
            .note =
                "Comment threads and social-feed walls, bought by Adobe in 2016 and later shut. The tag is "
                "left over from an old integration.",
            .retired = "Adobe discontinued Livefyre after folding it into Adobe Experience Manager",
        },
        // 26
        Entry{
            .hosts = {"yobi.ai"},
            .company = {.name = "Yobi", .sourced = "https://www.yobi.ai/", .checked = verified},
            .group = Group::identity,
            .capabilities = {crossSite, behaviouralProfile},
            .theirWords = "one of the largest consented behavioral datasets in the US",
            .note =
                "Yobi sells behavioural data, and models trained on it, for predicting what people will do "
                "next.",
        },
        // 27
        Entry{
            .hosts = {"adsrvr.org"},
            .company = {.name = "The Trade Desk",
                        .sourced = "https://www.thetradedesk.com/",
                        .checked = unverified},
            .group = Group::identity,
            .capabilities = {bidBroadcast, crossSite, crossDevice},
            .note =
                "The largest independent buying platform. Its identifier, Unified ID 2.0, is built from an "
                "email address so that it can follow one person across sites and devices.",
        },
        // 28
        Entry{
            .hosts = {"w55c.net", "dataxu.com"},
            .company = {.name = "DataXu",
                        .owner = "Roku",
                        .since = "2019",
                        .sourced = "https://www.roku.com/",
                        .checked = verified},
            .group = Group::identity,
            .capabilities = {bidBroadcast, crossSite, crossDevice},
            .note =
                "A buying platform Roku bought in 2019 to sell advertising that follows a household from its "
                "television to its other screens.",
        },
        // 29
        Entry{
            .hosts = {"ispot.tv"},
            .company = {.name = "iSpot.tv", .sourced = "https://www.ispot.tv/", .checked = unverified},
            .group = Group::identity,
            .capabilities = {crossDevice, audienceMeasurement},
            .note =
                "iSpot.tv tracks television advertising: it matches the ads a home's television showed to "
                "what the same home later does online.",
        },
        // 30
        Entry{
            .hosts = {"tiktok.com", "tiktokcdn.com", "tiktokcdn-us.com"},
            .company = {.name = "TikTok",
                        .owner = "ByteDance",
                        .sourced = "https://ads.tiktok.com/",
                        .checked = unverified},
            .group = Group::profile,
            .capabilities = {crossSite, behaviouralProfile},
            .note =
                "The TikTok pixel reports what you do on an advertiser's site back to TikTok, which matches "
                "it to TikTok accounts.",
            .files = {"events.js"},
        },
        // 31
        Entry{
            .hosts = {"pinterest.com", "pinimg.com", "pin.it"},
            .company = {.name = "Pinterest",
                        .sourced = "https://business.pinterest.com/",
                        .checked = unverified},
            .group = Group::profile,
            .capabilities = {crossSite, adDelivery},
            .note =
                "The Pinterest tag reports visits and purchases on an advertiser's site back to Pinterest, "
                "which matches them to its users.",
            .files = {"core.js", "pinit.js"},
        },
        // 32
        Entry{
            .hosts = {"snapchat.com", "sc-static.net", "snap.com"},
            .company = {.name = "Snap",
                        .sourced = "https://businesshelp.snapchat.com/",
                        .checked = unverified},
            .group = Group::profile,
            .capabilities = {crossSite, adDelivery},
            .note =
                "Snap's pixel reports what you do on an advertiser's site back to Snapchat, to aim its ads "
                "and to prove they worked.",
            .files = {"scevent.min.js"},
        },
        // 33
        Entry{
            .hosts = {"reddit.com", "redditstatic.com", "redd.it"},
            .company = {.name = "Reddit", .sourced = "https://www.redditinc.com/", .checked = unverified},
            .group = Group::profile,
            .capabilities = {crossSite, adDelivery},
            .note =
                "Reddit's pixel reports visits and purchases on an advertiser's site back to Reddit, which "
                "matches them to Reddit accounts.",
            .files = {"pixel.js"},
        },
        // 34
        Entry{
            .hosts = {"rokt.com", "rokt-api.com"},
            .company = {.name = "Rokt", .sourced = "https://www.rokt.com/", .checked = unverified},
            .group = Group::profile,
            .capabilities = {behaviouralProfile, adDelivery},
            .note =
                "Rokt places other companies' offers on checkout and confirmation pages, chosen from what it "
                "knows about the buyer.",
        },
        // 35
        Entry{
            .hosts = {"browser-intake-datadoghq.com", "browser-intake-datadoghq.eu",
                      "datadoghq-browser-agent.com"},
            .company = {.name = "Datadog", .sourced = "https://www.datadoghq.com/", .checked = unverified},
            .group = Group::profile,
            .capabilities = {sessionReplay, experimentation},
            .note = "Datadog's browser monitoring records each visit for the site's engineers, including a "
                    "replay of what was on the screen and where you clicked.",
            .files = {"datadog-rum.js", "datadog-logs.js"},
        },
        // 36
        Entry{
            .hosts = {"eppo.cloud", "geteppo.com"},
            .company = {.name = "Eppo", .sourced = "https://www.geteppo.com/", .checked = unverified},
            .group = Group::measurement,
            .capabilities = {experimentation},
        },
        // 37
        Entry{
            .hosts = {"optimizely.com", "episerver.net"},
            .company = {.name = "Optimizely",
                        .sourced = "https://www.optimizely.com/",
                        .checked = unverified},
            .group = Group::measurement,
            .capabilities = {experimentation},
            .theirWords = "experimentation platform",
            .note =
                "Optimizely shows different visitors different versions of a page and records which one you "
                "saw and what you did next. Episerver bought it in 2020 and took its name.",
        },
        // 38
        Entry{
            .hosts = {"ketch.com", "ketchcdn.com", "ketchjs.com"},
            .company = {.name = "Ketch", .sourced = "https://www.ketch.com/", .checked = unverified},
            .group = Group::walls,
            .capabilities = {consentWall},
            .theirWords = "consent and preference management",
            .note = "Ketch draws the consent banner and keeps your answer, which the site's other tags then "
                    "read before they run.",
        },
        // 39
        Entry{
            .hosts = {"mparticle.com"},
            .company = {.name = "mParticle", .sourced = "https://www.mparticle.com/", .checked = unverified},
            .group = Group::profile,
            .capabilities = {behaviouralProfile, crossSite, crossDevice},
            .note = "A customer data platform: it gathers every event a site or app records about you, joins "
                    "them "
                    "into one profile per person across devices, and passes the profile to the site's other "
                    "vendors.",
            .files = {"mparticle.js"},
        },
        // 40
        Entry{
            .hosts = {"stackadapt.com"},
            .company = {.name = "StackAdapt",
                        .sourced = "https://www.stackadapt.com/",
                        .checked = unverified},
            .group = Group::auction,
            .capabilities = {bidBroadcast, crossSite},
        },
        // 41
        Entry{
            .hosts = {"bidr.io", "beeswax.com"},
            .company = {.name = "Beeswax",
                        .owner = "FreeWheel",
                        .sourced = "https://www.freewheel.com/",
                        .checked = unverified},
            .group = Group::auction,
            .capabilities = {bidBroadcast},
        },
        // 42
        Entry{
            .hosts = {"mediago.io"},
            .company = {.name = "MediaGo",
                        .owner = "Baidu",
                        .sourced = "https://www.mediago.io/",
                        .checked = unverified},
            .group = Group::advertising,
            .capabilities = {recommendation, crossSite},
        },
        // 43
        Entry{
            .hosts = {"googletagmanager.com"},
            .company = {.name = "Google Tag Manager",
                        .owner = "Google",
                        .sourced = "https://marketingplatform.google.com/about/tag-manager/",
                        .checked = unverified},
            .group = Group::profile,
            .capabilities = {tagDelivery},
            .note =
                "A container that loads other companies' tags. Whatever the site has put in it runs here, "
                "whether or not this report can name it.",
            .files = {"gtm.js", "gtag/js"},
        },
        // 44
        Entry{
            .hosts = {"imperva.com", "incapsula.com"},
            .company = {.name = "Imperva", .sourced = "https://www.imperva.com/", .checked = unverified},
            .group = Group::ordinary,
            .capabilities = {adSecurity},
            .note =
                "Imperva screens visitors for bots before they reach the site. Its check runs a script that "
                "takes a detailed reading of this browser.",
        },
        // 45
        Entry{
            .hosts = {"trustpilot.com"},
            .company = {.name = "Trustpilot",
                        .sourced = "https://www.trustpilot.com/",
                        .checked = unverified},
            .group = Group::ordinary,
            .capabilities = {contentDelivery},
        },
        // 46: the two tag hosts by name, and the rest of the domain.
        Entry{
            .hosts = {"nexus.ensighten.com", "nexus3.ensighten.com", "ensighten.com"},
            .company = {.name = "Ensighten",
                        .owner = "CHEQ",
                        .since = "2022",
                        .sourced = "https://www.ensighten.com/",
                        .checked = verified},
            .group = Group::profile,
            .capabilities = {tagDelivery, behaviouralProfile},
            .theirWords = "deploy any vendor tag on any platform or device",
            .note =
                "A tag manager that also decides which tags may run and what they may collect; it loads the "
                "rest of the site's tags from one Bootstrap.js file.",
            .files = {"Bootstrap.js"},
        },
        // 47
        Entry{
            .hosts = {"facebook.com", "facebook.net", "fbcdn.net", "fbsbx.com", "instagram.com",
                      "cdninstagram.com", "whatsapp.com", "whatsapp.net", "messenger.com", "meta.com"},
            .company = {.name = "Meta", .sourced = "https://about.meta.com/", .checked = verified},
            .group = Group::profile,
            .capabilities = {behaviouralProfile, crossSite, crossDevice, socialLogin},
            .note =
                "Meta's pixel and its buttons report visits and purchases to Meta, which matches them to "
                "Facebook and Instagram accounts on every device they are signed in on. On Meta's own sites "
                "these hosts are the house, not a third party.",
            .siblings = {"facebook.com", "instagram.com", "whatsapp.com", "messenger.com", "meta.com"},
        },
        // 48: the bare label answers for every host under the company's own top-level domain.
        Entry{
            .hosts = {"fox", "foxnews.com", "fncstatic.com", "foxbusiness.com", "foxsports.com",
                      "foxweather.com"},
            .company = {.name = "Fox Corporation",
                        .sourced = "https://www.foxcorporation.com/",
                        .checked = verified},
            .group = Group::ownGround,
            .capabilities = {contentDelivery},
            .note =
                "Fox Corporation holds its own top-level domain, .fox, and runs its news and sports sites "
                "under several names. On those sites these hosts are the site itself, not a third party.",
            .siblings = {"foxnews.com", "foxbusiness.com", "foxsports.com", "foxweather.com", "outkick.com"},
        },
        // 49
        Entry{
            .hosts = {"cookielaw.org", "onetrust.com", "cookiepro.com"},
            .company = {.name = "OneTrust", .sourced = "https://www.onetrust.com/", .checked = unverified},
            .group = Group::walls,
            .capabilities = {consentWall},
            .note = "The most common consent banner. It records your choice and holds back or releases the "
                    "site's other tags accordingly.",
            .files = {"otSDKStub.js", "otBannerSdk.js"},
        },
        // 50
        Entry{
            .hosts = {"privacy-mgmt.com", "sourcepoint.com"},
            .company = {.name = "Sourcepoint",
                        .sourced = "https://www.sourcepoint.com/",
                        .checked = unverified},
            .group = Group::walls,
            .capabilities = {consentWall},
            .note =
                "Consent messages for large publishers, including the walls that ask you to accept tracking "
                "or pay.",
            .files = {"wrapperMessagingWithoutDetection.js"},
        },
        // 51
        Entry{
            .hosts = {"onesignal.com", "pushengage.com", "izooto.com"},
            .company = {.name = "push notification vendors",
                        .sourced = "https://onesignal.com/",
                        .checked = unverified},
            .group = Group::walls,
            .capabilities = {interruption},
            .note =
                "Services that ask to send you notifications from the site, and send them once you agree.",
            .files = {"OneSignalSDK.js"},
        },
        // 52
        Entry{
            .hosts = {"fonts.googleapis.com", "fonts.gstatic.com"},
            .company = {.name = "Google Fonts",
                        .owner = "Google",
                        .sourced = "https://developers.google.com/fonts/faq/privacy",
                        .checked = unverified},
            .group = Group::ordinary,
            .capabilities = {fontDelivery},
            .note =
                "Typefaces served from Google's servers. Each request gives Google your IP address and the "
                "time; Google says no cookies are sent with it.",
        },
        // 53
        Entry{
            .hosts = {"fontawesome.com", "fontawesome.io"},
            .company = {.name = "Fonticons", .sourced = "https://fontawesome.com/", .checked = unverified},
            .group = Group::ordinary,
            .capabilities = {fontDelivery},
        },
        // 54
        Entry{
            .hosts = {"yimg.com"},
            .company = {.name = "Yahoo image servers",
                        .owner = "Yahoo",
                        .sourced = "https://www.yahooinc.com/",
                        .checked = unverified},
            .group = Group::ordinary,
            .capabilities = {contentDelivery},
        },
        // 55
        Entry{
            .hosts = {"supabase.co", "supabase.com"},
            .company = {.name = "Supabase", .sourced = "https://supabase.com/", .checked = unverified},
            .group = Group::backend,
            .capabilities = {appBackend},
            .theirWords = "Postgres database, Authentication, instant APIs",
        },
        // 56
        Entry{
            .hosts = {"firebaseio.com", "firebaseapp.com", "firestore.googleapis.com"},
            .company = {.name = "Firebase",
                        .owner = "Google",
                        .since = "2014",
                        .sourced = "https://firebase.google.com/docs/database",
                        .checked = unverified},
            .group = Group::backend,
            .capabilities = {appBackend},
            .theirWords = "cloud-hosted NoSQL database",
            .note = "Google's back end for web and mobile apps: the site's own database, sign-in and files, "
                    "kept on Google's servers.",
        },
        // 57: XML namespace names written into markup; they read like hosts, but nothing is fetched from
        // them.
        Entry{
            .hosts = {"w3.org", "purl.org", "ogp.me", "xmlns.com", "schema.org", "rdfs.org", "docbook.org",
                      "iptc.org"},
            .company = {.name = "a standards body", .sourced = "https://www.w3.org/", .checked = verified},
            .group = Group::ordinary,
            .note =
                "Names of vocabularies written into the page's markup (SVG, Dublin Core, Open Graph and the "
                "like). They look like host names, but nothing is fetched from them.",
        },
    };
}

} // namespace

const std::vector<Entry>& entries() {
    static const std::vector<Entry> table = makeEntries();
    return table;
}

const std::vector<SdkKey>& sdkKeys() {
    static const std::vector<SdkKey> table = {
        {"mprtcl-", "jssdks.mparticle.com"},
        {"eppo-", "fscdn.eppo.cloud"},
        {"ab.storage.", "sdk.iad-01.braze.com"},
        {"reese84", "imperva.com"},
        {"_ga", "www.google-analytics.com"},
        {"amplitude_", "api2.amplitude.com"},
        {"mp_", "api-js.mixpanel.com"},
        {"ajs_", "cdn.segment.com"},
        {"_hjSession", "static.hotjar.com"},
        {"optimizely", "cdn.optimizely.com"},
        {"_dd_s", "browser-intake-datadoghq.com"},
        {"kameleoon", "kameleoon.eu"},
    };
    return table;
}

const std::vector<BrandTLD>& brandTLDs() {
    static const std::vector<BrandTLD> table = [] {
        const std::pair<const char*, const char*> held[] = {
            {"fox", "FOX Registry, LLC"},
            {"google", "Charleston Road Registry Inc. (Google)"},
            {"amazon", "Amazon Registry Services, Inc."},
            {"microsoft", "Microsoft Corporation"},
            {"apple", "Apple Inc."},
            {"bbc", "British Broadcasting Corporation"},
            {"cbs", "CBS Domains Inc."},
            {"nbc", "NBCUniversal Media, LLC"},
            {"disney", "Disney Enterprises, Inc."},
            {"sky", "Sky International AG"},
            {"walmart", "Wal-Mart Stores, Inc."},
            {"target", "Target Brands, Inc."},
            {"nike", "NIKE, Inc."},
            {"ford", "Ford Motor Company"},
            {"bmw", "Bayerische Motoren Werke AG"},
            {"netflix", "Netflix, Inc."},
        };
        std::vector<BrandTLD> list;
        for (const auto& [tld, holder] : held)
            list.push_back(
                {tld, holder, std::string("https://www.iana.org/domains/root/db/") + tld + ".html"});
        return list;
    }();
    return table;
}

} // namespace nimb::Dossier
