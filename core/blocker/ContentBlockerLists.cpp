// The blocklist itself: hosts per category, the two host-plus-path entries and the consent-wall
// selectors. Kept apart from the code that derives the rule list from them so that a change to the
// lists can be reviewed on its own.
//
// Shape of the host lists (ContentBlockerTest checks it): lower-case names of letters, digits, dots
// and hyphens; 148 names with one dot, 8 with two, 1 with three; no name twice and none below
// another listed name, since every rule already covers the subdomains of its host.

#include "blocker/ContentBlocker.h"

namespace nimb::ContentBlocker {

// Vendors whose product is the consent modal.
const std::vector<std::string>& consentHosts() {
    static const std::vector<std::string> hosts{
        // OneTrust (with its CookiePro line)
        "cookielaw.org",
        "onetrust.com",
        "onetrust.io",
        "cookiepro.com",
        // Usercentrics (Cookiebot)
        "cookiebot.com",
        "cookiebot.eu",
        "usercentrics.eu",
        // Sourcepoint (now part of Didomi)
        "privacy-mgmt.com",
        // IAB Europe's consent framework host, under which CMPs serve their frames
        "consensu.org",
        // InMobi Choice (formerly Quantcast Choice)
        "cmp.inmobi.com",
        // Didomi
        "privacy-center.org",
        "didomi.io",
        // TrustArc
        "trustarc.com",
        "truste.com",
        "truste-svc.net",
        // iubenda
        "iubenda.com",
        // CookieYes
        "cdn-cookieyes.com",
        // Termly
        "termly.io",
        // Osano
        "osano.com",
        // Cookie Script
        "cookie-script.com",
        // Axeptio
        "axept.io",
        // CookieHub
        "cookiehub.net",
        // consentmanager
        "consentmanager.net",
        // Google's consent and ad-block messages (Funding Choices)
        "fundingchoicesmessages.google.com",
        // Ethyca (Fides)
        "ethyca.com",
        // Crownpeak (Evidon)
        "evidon.com",
        // HubSpot's cookie banner
        "hs-banner.com",
        // Transcend
        "transcend.io",
        // LiveRamp's privacy manager
        "privacymanager.io",
    };
    return hosts;
}

// Serving, auctioning and verifying ads.
const std::vector<std::string>& adHosts() {
    static const std::vector<std::string> hosts{
        // Google (Ad Manager, AdSense, Campaign Manager, IMA video ads)
        "doubleclick.net",
        "googlesyndication.com",
        "googleadservices.com",
        "googletagservices.com",
        "adservice.google.com",
        "2mdn.net",
        "imasdk.googleapis.com",
        // Amazon Ads
        "amazon-adsystem.com",
        // Microsoft Invest (Xandr, formerly AppNexus)
        "adnxs.com",
        // Criteo
        "criteo.com",
        "criteo.net",
        // Taboola
        "taboola.com",
        // Outbrain
        "outbrain.com",
        // The Trade Desk
        "adsrvr.org",
        // PubMatic
        "pubmatic.com",
        // Magnite (Rubicon Project, SpringServe)
        "rubiconproject.com",
        "springserve.com",
        // OpenX
        "openx.net",
        // Index Exchange
        "casalemedia.com",
        // Media.net
        "media.net",
        // Sovrn
        "lijit.com",
        // TripleLift
        "3lift.com",
        // Sharethrough
        "sharethrough.com",
        // GumGum
        "gumgum.com",
        // Yieldmo
        "yieldmo.com",
        // Teads
        "teads.tv",
        // Equativ (Smart AdServer)
        "smartadserver.com",
        // Adform
        "adform.net",
        // Integral Ad Science
        "adsafeprotected.com",
        // DoubleVerify
        "doubleverify.com",
        // Oracle Moat
        "moatads.com",
        // Amazon Ad Server (Sizmek)
        "serving-sys.com",
        // 33Across
        "33across.com",
        // AdRoll
        "adroll.com",
        // BidSwitch
        "bidswitch.net",
        // MGID
        "mgid.com",
        // Revcontent
        "revcontent.com",
        // Azerion (Improve Digital)
        "360yield.com",
        // Seedtag
        "seedtag.com",
        // MediaMath
        "mathtag.com",
        // Flashtalking
        "flashtalking.com",
        // Innovid
        "innovid.com",
        // PulsePoint
        "contextweb.com",
        // Sonobi
        "sonobi.com",
        // OneTag
        "onetag-sys.com",
        // Smaato
        "smaato.net",
        // Yieldlab
        "yieldlab.net",
        // Connatix
        "connatix.com",
        // Ezoic
        "ezoic.net",
        // Raptive (AdThrive)
        "adthrive.com",
        // Mediavine
        "mediavine.com",
    };
    return hosts;
}

// Analytics, session recording and tracking pixels.
const std::vector<std::string>& trackingHosts() {
    static const std::vector<std::string> hosts{
        // Google Analytics and Tag Manager
        "google-analytics.com",
        "googletagmanager.com",
        // Meta pixel
        "connect.facebook.net",
        // Microsoft (Bing UET pixel, Clarity)
        "bat.bing.com",
        "clarity.ms",
        // TikTok pixel
        "analytics.tiktok.com",
        // LinkedIn Insight tag
        "snap.licdn.com",
        "px.ads.linkedin.com",
        // X (Twitter) pixel
        "ads-twitter.com",
        // Snap pixel
        "sc-static.net",
        // Hotjar
        "hotjar.com",
        "hotjar.io",
        // FullStory
        "fullstory.com",
        // Mouseflow
        "mouseflow.com",
        // Crazy Egg
        "crazyegg.com",
        // Lucky Orange
        "luckyorange.com",
        // Smartlook
        "smartlook.com",
        // Inspectlet
        "inspectlet.com",
        // Quantum Metric
        "quantummetric.com",
        // Contentsquare
        "contentsquare.net",
        // PostHog
        "posthog.com",
        // Datadog real-user monitoring and session replay
        "browser-intake-datadoghq.com",
        // Adobe (Analytics, Target, Audience Manager)
        "omtrdc.net",
        "2o7.net",
        "demdex.net",
        // Twilio Segment
        "segment.io",
        "segment.com",
        // Mixpanel
        "mixpanel.com",
        // Amplitude
        "amplitude.com",
        // Heap
        "heapanalytics.com",
        // Chartbeat
        "chartbeat.com",
        "chartbeat.net",
        // Parse.ly
        "parsely.com",
        // Comscore
        "scorecardresearch.com",
        // Nielsen
        "imrworldwide.com",
        // Quantcast Measure
        "quantserve.com",
        "quantcount.com",
        // New Relic browser monitoring
        "nr-data.net",
        // Akamai mPulse
        "go-mpulse.net",
        // Matomo Cloud
        "matomo.cloud",
        // Optimizely
        "optimizely.com",
        // VWO
        "visualwebsiteoptimizer.com",
        // StatCounter
        "statcounter.com",
        // Clicky
        "getclicky.com",
        // Pendo
        "pendo.io",
        // Permutive
        "permutive.com",
        // Lotame
        "crwdcntrl.net",
        // LiveRamp
        "rlcdn.com",
        // Tealium
        "tiqcdn.com",
        "tealiumiq.com",
        // Oracle BlueKai
        "bluekai.com",
        // Salesforce Audience Studio (Krux)
        "krxd.net",
        // Cloudflare Web Analytics
        "cloudflareinsights.com",
        // HubSpot analytics
        "hs-analytics.net",
        // Adobe Marketo
        "marketo.net",
        // 6sense
        "6sc.co",
        // Demandbase
        "demandbase.com",
        // Dealfront (Leadfeeder)
        "leadfeeder.com",
        // Gemius
        "gemius.pl",
        // Piano Analytics (AT Internet)
        "xiti.com",
    };
    return hosts;
}

// Newsletter interstitials, push-notification prompts and pop-up widgets.
const std::vector<std::string>& nagHosts() {
    static const std::vector<std::string> hosts{
        // OneSignal
        "onesignal.com",
        // Pushnami
        "pushnami.com",
        // iZooto
        "izooto.com",
        // Attentive sign-up pop-ups
        "attn.tv",
        // Wunderkind (BounceX) exit-intent overlays
        "bouncex.net",
        // Sumo
        "sumo.com",
        // OptinMonster
        "omappapi.com",
        // Privy
        "privy.com",
        // Justuno
        "justuno.com",
        // Wisepops
        "wisepops.com",
        // Digioh lightboxes
        "lightboxcdn.com",
        // Hello Bar
        "hellobar.com",
        // Mailchimp pop-up forms
        "chimpstatic.com",
        // Admiral
        "getadmiral.com",
        // Sleeknote
        "sleeknote.com",
        // Getsitecontrol
        "getsitecontrol.com",
        // Qualaroo
        "qualaroo.com",
    };
    return hosts;
}

const std::vector<PathEntry>& blockedPaths() {
    static const std::vector<PathEntry> paths{
        // Meta pixel events sent to Facebook's main host
        {"www.facebook.com/tr", Category::measurement},
        // Google's "Sign in with Google" prompt
        {"accounts.google.com/gsi/", Category::interruption},
    };
    return paths;
}

const std::vector<std::string>& hiddenSelectors() {
    static const std::vector<std::string> selectors{
        // OneTrust
        "#onetrust-consent-sdk",
        "#onetrust-banner-sdk",
        "#onetrust-pc-sdk",
        ".onetrust-pc-dark-filter",
        "#ot-sdk-btn-floating",
        // Cookiebot
        "#CybotCookiebotDialog",
        "#CybotCookiebotDialogBodyUnderlay",
        "#CookiebotWidget",
        // Sourcepoint
        "div[id^=\"sp_message_container_\"]",
        "#sp_privacy_manager_container",
        // InMobi Choice (Quantcast)
        "#qc-cmp2-container",
        "#qc-cmp2-ui",
        ".qc-cmp-cleanslate",
        // Didomi
        "#didomi-host",
        "#didomi-popup",
        ".didomi-popup-backdrop",
        // Usercentrics
        "#usercentrics-root",
        "#usercentrics-button",
        "#uc-center-container",
        // TrustArc
        "#truste-consent-track",
        "#consent_blackbar",
        ".trustarc-banner-container",
        // iubenda
        "#iubenda-cs-banner",
        ".iubenda-cs-overlay",
        // CookieYes
        ".cky-consent-container",
        ".cky-overlay",
        ".cky-modal",
        // Termly
        "#termly-code-snippet-support",
        // Osano
        ".osano-cm-window",
        ".osano-cm-dialog",
        // Cookie Script
        "#cookiescript_injected",
        "#cookiescript_wrapper",
        // Axeptio
        "#axeptio_overlay",
        "#axeptio_main_button",
        // CookieHub
        "#ch2",
        "#ch2-dialog",
        // consentmanager
        "#cmpbox",
        "#cmpbox2",
        "#cmpwrapper",
        // Google Funding Choices
        ".fc-consent-root",
        ".fc-dialog-container",
        ".fc-ab-root",
        // Ethyca Fides
        "#fides-overlay",
        "#fides-banner-container",
        ".fides-modal-overlay",
        // Crownpeak (Evidon)
        "#_evidon_banner",
        "#_evidon-barrier-wrapper",
        ".evidon-banner",
        // Osano's open-source cookie consent
        ".cc-window",
        ".cc-banner",
        ".cc-overlay",
        // CookieYes' WordPress plugin (Cookie Law Info)
        "#cookie-law-info-bar",
        "#cookie-law-info-again",
        // Cookie Notice for WordPress
        "#cookie-notice",
        ".cookie-notice-container",
        // GDPR cookie plugins
        "#gdpr-cookie-message",
        "#gdpr-consent-tool-wrapper",
        // HubSpot
        "#hs-eu-cookie-confirmation",
        // Klaro
        "#klaro",
        ".klaro .cookie-modal",
        ".klaro .cookie-notice",
        // Cookie consent modals of site builders
        "#CCM_Modal",
        "#cookieConsentContainer",
        // "Sign in with Google" (the frame's host is the second path entry's)
        "#credential_picker_container",
        "#credential_picker_iframe",
        "iframe[src*=\"accounts.google.com/gsi/\"]",
    };
    return selectors;
}

} // namespace nimb::ContentBlocker
