#include "SampleRecords.h"

#include <string_view>
#include <utility>

namespace nimb::samples {

namespace {

constexpr double minute = 60;
constexpr double hour = 60 * minute;
constexpr double day = 24 * hour;

Date ago(double seconds) {
    return Date{now.seconds - seconds};
}

constexpr std::string_view article =
    "https://www.riverside-gazette.com/news/2026/03/14/council-votes-on-harbour-plan";
constexpr std::string_view articleTitle = "Council votes 7–2 to approve the harbour plan | Riverside Gazette";
constexpr std::string_view gazette = "https://www.riverside-gazette.com/";
constexpr std::string_view gazetteOpinion = "https://www.riverside-gazette.com/opinion/";
constexpr std::string_view fira = "https://en.wikipedia.org/wiki/Fira_(typeface)";
constexpr std::string_view gtkWidget = "https://docs.gtk.org/gtk4/class.Widget.html";
constexpr std::string_view webKitReference = "https://webkitgtk.org/reference/webkitgtk/stable/index.html";
constexpr std::string_view readingList = "file:///home/ada/Documents/notes/reading-list.html";
constexpr std::string_view venice = "https://www.openstreetmap.org/#map=15/45.4371/12.3326";
constexpr std::string_view skillet =
    "https://www.example-shop.co.uk/products/kitchen/cookware/cast-iron/skillets/"
    "26cm-pre-seasoned-cast-iron-skillet-with-helper-handle?colour=graphite&ref=newsletter-2026-03";

// Builds a record the way the parser does, so every derived field (categories, order) is what the
// browser would hold.
NimbReport normalised(const NimbReport& report) {
    NimbReport read = NimbReport::parse(report.snapshot(), report.address, report.title);
    read.blockingOn = report.blockingOn;
    return read;
}

// A UUID-shaped identifier whose last group is the number.
std::string numberedId(std::string_view prefix, std::size_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 12) digits.insert(0, 12 - digits.size(), '0');
    return std::string(prefix) + digits;
}

SavedReport kept(std::string id, Date saved, const NimbReport& report) {
    return SavedReport{std::move(id),    saved, report.address, report.title, report.blockingOn,
                       report.snapshot()};
}

} // namespace

std::vector<Visit> visits() {
    return {
        Visit::make(std::string(article), std::string(articleTitle), ago(5 * minute), 1),
        Visit::make(std::string(gazette), "Riverside Gazette — News from the river towns", ago(7 * minute),
                    23),
        Visit::make("https://en.wikipedia.org/wiki/Typeface", "Typeface - Wikipedia", ago(40 * minute), 3),
        Visit::make(std::string(fira), "Fira (typeface) - Wikipedia", ago(45 * minute), 2),
        Visit::make(std::string(gtkWidget), "Gtk.Widget", ago(2 * hour), 6),
        Visit::make("https://webkitgtk.org/reference/webkitgtk/stable/method.WebView.load_html.html",
                    "WebKit.WebView.load_html", ago(2.5 * hour), 4),
        Visit::make("https://news.ycombinator.com/item?id=39712345", "", ago(3 * hour), 1),
        Visit::make("https://lite.duckduckgo.com/lite/?q=fira+sans+medium+ttf",
                    "fira sans medium ttf at DuckDuckGo", ago(3.2 * hour), 1),
        Visit::make("https://elpais.com/ciencia/2026-03-13/el-telescopio-james-webb-observa-el-nacimiento-de-"
                    "una-estrella.html",
                    "El telescopio James Webb observa el nacimiento de una estrella | Ciencia | EL PAÍS",
                    ago(16 * hour + 40 * minute), 1),
        Visit::make("https://www.lemonde.fr/sciences/article/2026/03/13/les-abeilles-sauvages-reviennent-en-"
                    "ville_6201234_1650684.html",
                    "Les abeilles sauvages reviennent en ville : « On ne les attendait plus »",
                    ago(day + 7 * hour), 2),
        Visit::make("https://www.corriere.it/cronache/26_marzo_12/venezia-acqua-alta-mose.shtml",
                    "Venezia, l’acqua alta e il Mose: cosa è successo giovedì notte", ago(2 * day + 3 * hour),
                    1),
        Visit::make(std::string(readingList), "Reading list", ago(3 * day), 5),
        Visit::make("https://github.com/boostorg/url/issues/812",
                    "url_view::host() returns wrong slice for IPv6 zone ids · Issue #812 · boostorg/url",
                    ago(4 * day + 2 * hour), 2),
        Visit::make("http://info.cern.ch/hypertext/WWW/TheProject.html", "The World Wide Web project",
                    ago(5 * day + 1 * hour), 1),
        Visit::make("https://www.bbc.co.uk/news/science-environment-68512345",
                    "Scientists map the deepest trench in the Atlantic - BBC News", ago(6 * day + 5 * hour),
                    3),
        Visit::make(std::string(venice), "OpenStreetMap", ago(8 * day), 9),
        Visit::make(std::string(skillet),
                    "26cm Pre-Seasoned Cast Iron Skillet with Helper Handle, Graphite — Oven Safe to 260°C, "
                    "Induction Ready, Lifetime Guarantee | Example Shop UK",
                    ago(12 * day), 2),
        Visit::make("ftp://ftp.gnu.org/gnu/", "Index of /gnu", ago(15 * day), 1),
        Visit::make("https://arxiv.org/abs/2403.01234",
                    "[2403.01234] Measuring third-party reach on news sites at scale", ago(20 * day), 2),
        Visit::make("https://www.youtube.com/watch?v=dQw4w9WgXcQ",
                    "Harbour cranes at dusk — timelapse - YouTube", ago(22 * day), 1),
        Visit::make("https://mastodon.social/@typographica", "Typographica (@typographica@mastodon.social)",
                    ago(25 * day), 4),
        Visit::make("https://www.rust-lang.org/", "Rust Programming Language", ago(27 * day), 1),
        Visit::make("https://www.theguardian.com/world/2026/feb/14/harbour-strike-ends",
                    "Harbour strike ends after nine days | World news | The Guardian", ago(28 * day), 1),
        Visit::make("https://www.nytimes.com/2026/02/10/science/bees-cities.html",
                    "Bees Return to the Cities", ago(32 * day), 1),
    };
}

std::vector<Visit> manyVisits(std::size_t count) {
    std::vector<Visit> list;
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string n = std::to_string(i);
        list.push_back(
            Visit::make("https://www.site" + std::to_string(i % 97) + ".example/articles/" + n +
                            "/a-fairly-ordinary-page-name?ref=front&id=" + n,
                        "An ordinary page title, number " + n + " | Site " + std::to_string(i % 97),
                        ago(static_cast<double>(i) * 37 * minute), static_cast<std::int64_t>(1 + i % 7)));
    }
    return list;
}

std::vector<Bookmark> bookmarks() {
    return {
        Bookmark{"Riverside Gazette", std::string(gazette), true,
                 "Local news for the river towns. Council votes, the harbour, the ferry timetable.\nRead on "
                 "Saturday mornings."},
        Bookmark{"Fira Sans", std::string(fira), true,
                 "The typeface these pages are set in: Erik Spiekermann and Ralph du Carrois drew it for "
                 "Firefox OS in 2013, under the Open Font License."},
        Bookmark{"GTK 4 widgets", std::string(gtkWidget), true, ""},
        Bookmark{"WebKitGTK reference", std::string(webKitReference), false,
                 "The API reference for the web engine.\n\nload_html takes no base URI for our own pages: "
                 "they are about:blank with an opaque origin, and only the nimb-asset scheme reaches the "
                 "fonts.\n\nSnapshots: get_snapshot with the full-document region, then save the texture "
                 "to PNG."},
        Bookmark{"Reading list", std::string(readingList), false, "Books to find at the library."},
        Bookmark{"Venice on foot", std::string(venice), false, ""},
        Bookmark{"Cast iron skillet — the one with the helper handle, graphite, 26 cm, pre-seasoned",
                 std::string(skillet), false, ""},
        Bookmark{"Gazette opinion", std::string(gazetteOpinion), false, ""},
    };
}

std::vector<Note> notes() {
    return {
        Note::make("0F8C2C7A-4B7E-4C4B-9A51-1E0F7B3B2A01", std::string(fira), std::nullopt,
                   "Fira Sans is a humanist sans-serif typeface commissioned by Mozilla for Firefox OS.",
                   ago(44 * minute)),
        Note::make("5D0E7C61-23A9-4E2F-8B7D-6C1D9A0E3B02", std::string(gazette), std::string(article),
                   "The council voted seven to two on Thursday night to approve the harbour plan, ending "
                   "eleven years of argument about the old coal quay.",
                   ago(4 * minute)),
        Note::make("9B3A41F2-7D5C-4A16-A0E8-2F4C6B8D1E03", std::string(gazette), std::string(article),
                   "“We are not building a marina for yachts,” the harbour master said. “We are building a "
                   "working harbour.”\n\nConstruction starts in September.",
                   ago(3 * minute)),
        Note::make("C47E9D13-0A2B-4F5E-9C8D-7B6A5E4D3C04", std::string(webKitReference),
                   "https://webkitgtk.org/reference/webkitgtk/stable/method.WebView.load_html.html",
                   "Load the given content string with the specified base_uri.", ago(2.5 * hour)),
        Note::make("E2A1B3C4-D5E6-4F70-8192-A3B4C5D6E705", std::string(gazetteOpinion),
                   "https://www.riverside-gazette.com/opinion/2026/03/10/the-ferry-deserves-better",
                   "The ferry deserves better than a timetable printed in 2009.", ago(4 * day)),
    };
}

std::vector<Bookmark> manyBookmarks(std::size_t count) {
    std::vector<Bookmark> list;
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string n = std::to_string(i);
        list.push_back(Bookmark{"A bookmark with an ordinary name, number " + n,
                                "https://www.site" + n + ".example/section/page-" + n, i % 5 == 0,
                                i % 2 ? "A summary of a couple of sentences about why this page was kept.\n"
                                        "And a second line."
                                      : ""});
    }
    return list;
}

std::vector<Note> manyNotes(const std::vector<Bookmark>& bookmarks, std::size_t count) {
    std::vector<Note> list;
    if (bookmarks.empty()) return list;
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Bookmark& home = bookmarks[i % bookmarks.size()];
        std::string id = numberedId("00000000-0000-4000-8000-", i);
        list.push_back(Note::make(id, home.address, home.address + "/more",
                                  "A sentence or two taken off the page, as a note in the margin.",
                                  ago(static_cast<double>(count - i) * hour)));
    }
    return list;
}

std::string marginHere() {
    return std::string(gazette);
}

NimbReport fullReport() {
    NimbReport report;
    report.address = std::string(article);
    report.title = std::string(articleTitle);
    report.recorded = true;
    report.blocked = {
        {"securepubads.g.doubleclick.net", 14, {}},
        {"c.amazon-adsystem.com", 9, {}},
        {"pagead2.googlesyndication.com", 6, {}},
        {"prebid.adtrackr.io", 5, {}},
        {"htlb.casalemedia.com", 4, {}},
        {"fastlane.rubiconproject.com", 4, {}},
        {"sb.scorecardresearch.com", 3, {}},
        {"z.moatads.com", 3, {}},
        {"cdn.cookielaw.org", 2, {}},
        {"connect.facebook.net", 2, {}},
        {"dpm.demdex.net", 2, {}},
        {"pixel.tapad.com", 1, {}},
        {"www.googletagmanager.com", 1, {}},
    };
    report.hidden = {
        {"div#onetrust-consent-sdk.otFlat", NimbReport::Reason::known,
         "We value your privacy. We and our 847 partners store and access information on your device…"},
        {"div#subscribe-wall.modal-overlay", NimbReport::Reason::overlay,
         "You have read 3 of your 3 free articles this month. Subscribe for £1 a week."},
        {"div#ad-top-leaderboard.ad-slot", NimbReport::Reason::adSlot, ""},
        {"aside.ad-slot.ad-slot--mpu", NimbReport::Reason::adSlot, "Advertisement"},
    };
    report.otherHosts = {
        "blog.google",
        "cdn.jsdelivr.net",
        "fonts.googleapis.com",
        "fonts.gstatic.com",
        "riverside-gazette-default-rtdb.firebaseio.com",
        "riverside-gazette.imgix.net",
        "static.chartbeat.com",
    };
    report.houseHosts = {"media.rgazette.net", "static.riverside-gazette.com"};
    report.cookies = 14;
    report.local.count = 80;
    report.local.bytes = 48210;
    report.local.items = {
        {"rg_events_queue", 21480,
         "[{\"event\":\"scroll_depth\",\"session\":\"a91f\",\"time\":1773505100123,\"value\":75},{\"event\":"
         "\"ar"},
        {"mprtcl-v4_4C5E1A2B", 3120,
         "{\"gs\":{\"cgid\":\"6f1d2c3b-9a8e-4f7d-b6c5-d4e3f2a1b0c9\",\"das\":\"3"},
        {"recentlyViewed", 1536,
         "[\"https://www.riverside-gazette.com/news/2026/03/12/ferry-timetable\",\"h"},
        {"rg_device", 612,
         "{\"browser\":\"Safari\",\"os_version\":\"14.4\",\"screen\":\"1440x900\",\"timezone\":\"Europe/L"},
        {"_ga_RG4X2PL", 180, "GS1.1.1773505012.4.1.1773505190.0.0.0"},
        {"_dd_s", 168, "rum=0&id=9c2e5f1a-3b4d-4e6f-8a7b-1c2d3e4f5a6b&created=1773505010000&expire=17735"},
        {"consent_state", 96, "{\"expires\":1805041200000,\"purposes\":[1,2,3,4,7,9,10]}"},
        {"rg.theme", 24, "dark"},
    };
    report.session.count = 3;
    report.session.bytes = 410;
    report.session.items = {{"rg_pageviews", 40, "4"}};
    report.databases = {"firebaseLocalStorageDb", "rg-offline-articles"};
    report.storageForgotten = true;
    report.blockingOn = true;
    return normalised(report);
}

NimbReport quietReport() {
    NimbReport report;
    report.address = "https://www.rust-lang.org/";
    report.title = "Rust Programming Language";
    report.recorded = true;
    report.hidden = {{"div#newsletter-popup.dialog", NimbReport::Reason::overlay, "Get the newsletter"}};
    return normalised(report);
}

NimbReport unblockedReport() {
    NimbReport report = fullReport();
    report.blockingOn = false;
    report.hidden.clear();
    return report;
}

NimbReport unrecordedReport() {
    return NimbReport::parse("", article, articleTitle);
}

NimbReport largestReport() {
    NimbReport report;
    report.address = std::string(article);
    report.title = std::string(articleTitle);
    report.recorded = true;
    for (int i = 0; i < 200; ++i)
        report.blocked.push_back(
            {"tracker" + std::to_string(i) + ".adnetwork" + std::to_string(i % 40) + ".com", 1 + i % 9, {}});
    for (int i = 0; i < 300; ++i)
        report.otherHosts.push_back("cdn" + std::to_string(i) + ".assets" + std::to_string(i % 50) + ".net");
    for (int i = 0; i < 100; ++i)
        report.hidden.push_back({"div#slot-" + std::to_string(i) + ".ad-slot",
                                 i % 3 == 0 ? NimbReport::Reason::adSlot : NimbReport::Reason::overlay,
                                 i % 2 ? "Advertisement" : ""});
    report.local.count = 240;
    report.local.bytes = 2 * 1024 * 1024;
    report.session.count = 90;
    for (std::size_t i = 0; i < NimbReport::Jar::itemLimit; ++i) {
        std::string n = std::to_string(i);
        report.local.items.push_back({"key_" + n, static_cast<std::int64_t>(20000 - i * 100),
                                      "{\"id\":\"6f1d2c3b-9a8e-4f7d-b6c5-d4e3f2a1b0c" +
                                          std::to_string(i % 10) +
                                          "\",\"url\":\"https://www.riverside-gazette.com/" + n + "\"}"});
        report.session.items.push_back({"s_" + n, 64, "value " + n});
    }
    report.cookies = 60;
    report.databases = {"one", "two", "three"};
    return normalised(report);
}

std::vector<SavedReport> savedReports() {
    NimbReport broken = quietReport();
    SavedReport unreadable = kept("7A1F3E22-5B6C-4D8E-9F01-23456789ABCD", ago(41 * day), broken);
    unreadable.address = "https://www.corriere.it/cronache/26_marzo_12/venezia-acqua-alta-mose.shtml";
    unreadable.title = "Venezia, l’acqua alta e il Mose";
    unreadable.snapshot = "{\"walls\":[tru";
    return {
        kept("3E5B7D91-2C4A-4F6E-8D0B-1A3C5E7F9B11", ago(3 * minute), fullReport()),
        kept("8C6A4E20-9B7D-4C5F-A1E3-2D4F6A8C0E22", ago(day + 2 * hour), unblockedReport()),
        kept("D19F2B83-6E4A-4C7D-B5F1-3A5C7E9B1D33", ago(27 * day), quietReport()),
        unreadable,
    };
}

std::vector<SavedReport> manySavedReports(std::size_t count) {
    NimbReport report = fullReport();
    std::vector<SavedReport> list;
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string id = numberedId("00000000-0000-4000-9000-", i);
        list.push_back(kept(id, ago(static_cast<double>(i) * 5 * hour), report));
    }
    return list;
}

std::vector<Visit> hostileVisits() {
    return {
        Visit::make(hostileAddress, hostileText, ago(minute), 3),
        Visit::make(hostileAddress, "", ago(2 * minute), 1),
        Visit::make(std::string("https://evil.example/?q=") + hostileText, hostileText, ago(day), 2),
        Visit::make("https://evil.example/a'b\"c<d>&e", hostileText, ago(9 * day), 1),
    };
}

std::vector<Bookmark> hostileBookmarks() {
    return {
        Bookmark{hostileText, hostileAddress, true, hostileText},
        Bookmark{hostileText, std::string("https://evil.example/?q=") + hostileText, false, hostileText},
        Bookmark{"", "https://evil.example/a'b\"c<d>&e", true, ""},
    };
}

std::vector<Note> hostileNotes() {
    return {
        Note::make("<script>", hostileAddress, std::string(hostileAddress), hostileText, ago(minute)),
        Note::make("\"'&", std::string("https://evil.example/?q=") + hostileText,
                   std::string("https://evil.example/a'b\"c<d>&e"), hostileText, ago(day)),
    };
}

NimbReport hostileReport() {
    NimbReport report;
    report.address = std::string("https://evil.example/?q=") + hostileText;
    report.title = hostileText;
    report.recorded = true;
    report.blocked = {{std::string("<script>.doubleclick.net"), 3, {}}, {hostileText, 2, {}}};
    report.hidden = {{hostileText, NimbReport::Reason::known, hostileText}};
    report.otherHosts = {std::string(hostileAddress), "x\"onmouseover=\"alert(1)"};
    report.houseHosts = {hostileText};
    report.cookies = 2;
    // The last key is a library's, so that a finding names whose code ran.
    report.local = {4,
                    3000,
                    {{hostileText, 1000, hostileText},
                     {"javascript:alert(1)", 10, hostileAddress},
                     {"mprtcl-<u>", 100, "https://x.example/<script>"}}};
    report.session = {1, 20, {{hostileText, 20, hostileText}}};
    report.databases = {hostileText};
    return normalised(report);
}

std::vector<SavedReport> hostileSavedReports() {
    NimbReport report = hostileReport();
    SavedReport record = kept("<script>alert(1)</script>", ago(hour), report);
    record.address = hostileAddress;
    return {record, kept("\"'&<>", ago(2 * day), report)};
}

} // namespace nimb::samples
