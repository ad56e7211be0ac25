#include "Sites.h"

#include "blocker/ContentBlocker.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>

namespace nimb::bench {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view site = "www.herald-daily.test";
constexpr std::string_view staticHost = "static.herald-daily.test";
constexpr std::string_view apiHost = "api.herald-daily.test";
constexpr std::string_view fontHost = "fonts.typehouse.test";

// The hosts of the site's pictures, its scripts and its data, first-party and third-party alike.
const std::array imageHosts{"img.herald-daily.test",  "media.herald-daily.test", "pics.wirephoto.test",
                            "images.agencyfeed.test", "cdn.stockframes.test",    "thumbs.videohost.test",
                            "static.mapworks.test",   "avatars.commentbox.test", "img.weatherdesk.test",
                            "cdn.photopool.test",     "i.snapshare.test",        "img.marketwatcher.test"};
const std::array scriptHosts{
    "static.herald-daily.test", "cdn.libhub.test",          "code.scriptcdn.test",   "js.widgetworks.test",
    "embed.videohost.test",     "widget.weatherdesk.test",  "cdn.commentbox.test",   "api.mapworks.test",
    "static.pollster.test",     "cdn.searchbox.test",       "player.audiocast.test", "js.marketwatcher.test",
    "cdn.polyfills.test",       "static.translate-kit.test"};
const std::array jsonHosts{"api.herald-daily.test",  "feeds.agencyfeed.test", "data.weatherdesk.test",
                           "api.marketwatcher.test", "live.scoreboard.test",  "api.pollster.test",
                           "cdn.trending.test"};
const std::array frameHosts{"player.videohost.test", "maps.mapworks.test", "widgets.commentbox.test"};

const std::array words{"council",  "budget",  "river",   "school",  "market",   "storm",
                       "election", "harbour", "museum",  "railway", "hospital", "league",
                       "festival", "bridge",  "farmers", "court",   "energy",   "housing",
                       "airport",  "library", "weather", "theatre", "police",   "science"};

struct Generator {
    fs::path root;
    std::string* error = nullptr;
    bool ok = true;
    std::mt19937 random{20261206};
    std::map<std::string, std::uintmax_t> sizes; // url → bytes
    std::string siteTemplate, trackerTemplate, fillerTemplate;
    std::vector<std::string> pictures; // encoded pictures, by size class

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    std::string word() {
        return words[static_cast<std::size_t>(pick(0, static_cast<int>(words.size()) - 1))];
    }
    std::string sentence(int count) {
        std::string out;
        for (int i = 0; i < count; i++)
            out += (i ? " " : "") + word();
        out[0] = static_cast<char>(out[0] - 'a' + 'A');
        return out;
    }

    // Writes http://host/path; its address.
    std::string put(std::string_view host, std::string_view path, const std::string& content) {
        std::string url = "http://" + std::string(host) + std::string(path);
        fs::path file = root / std::string(host) / std::string(path.substr(1));
        std::error_code failed;
        fs::create_directories(file.parent_path(), failed);
        std::ofstream out(file, std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        if (failed || !out) {
            if (ok && error) *error = "cannot write " + file.string();
            ok = false;
        }
        sizes[url] = content.size();
        return url;
    }

    // A photograph-like picture: smooth colour fields with grain, as JPEG.
    std::string picture(int width, int height) {
        std::vector<guchar> pixels(static_cast<std::size_t>(width * height * 3));
        double a = pick(0, 255), b = pick(0, 255), c = pick(0, 255);
        std::normal_distribution<double> grain(0, 14);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) {
                auto* p = &pixels[static_cast<std::size_t>((y * width + x) * 3)];
                double fx = static_cast<double>(x) / width, fy = static_cast<double>(y) / height;
                p[0] = static_cast<guchar>(std::clamp(a * (1 - fx) + 180 * fy + grain(random), 0.0, 255.0));
                p[1] = static_cast<guchar>(std::clamp(b * fy + 90 * fx + grain(random), 0.0, 255.0));
                p[2] = static_cast<guchar>(std::clamp(c * (1 - fy) + grain(random), 0.0, 255.0));
            }
        GdkPixbuf* image = gdk_pixbuf_new_from_data(pixels.data(), GDK_COLORSPACE_RGB, FALSE, 8, width,
                                                    height, width * 3, nullptr, nullptr);
        gchar* buffer = nullptr;
        gsize size = 0;
        GError* failed = nullptr;
        gdk_pixbuf_save_to_buffer(image, &buffer, &size, "jpeg", &failed, "quality", "82", nullptr);
        g_object_unref(image);
        std::string out;
        if (buffer) out.assign(buffer, size);
        g_free(buffer);
        if (failed) {
            if (ok && error) *error = std::string("cannot encode a picture: ") + failed->message;
            ok = false;
            g_error_free(failed);
        }
        return out;
    }

    // The script body wrapped with its configuration, brought to about `kilobytes` with filler.
    std::string script(const std::string& body, const std::string& config, int kilobytes) {
        std::string out = "(function (cfg) {\n" + body + "\n";
        int n = 0;
        while (out.size() < static_cast<std::size_t>(kilobytes) * 1024) {
            std::string filler = fillerTemplate;
            std::string id = std::to_string(n++);
            for (auto at = filler.find("$ID"); at != std::string::npos; at = filler.find("$ID", at))
                filler.replace(at, 3, id);
            for (auto at = filler.find("$N"); at != std::string::npos; at = filler.find("$N", at))
                filler.replace(at, 2, std::to_string(n));
            out += filler;
        }
        out += "})(" + config + ");\n";
        return out;
    }
};

std::string jsString(std::string_view text) {
    return "'" + std::string(text) + "'";
}

std::string list(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); i++)
        out += (i ? "," : "") + jsString(items[i]);
    return out + "]";
}

bool readFile(const fs::path& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    out = buffer.str();
    return true;
}

// What a page loads: its own request list, to count and weigh.
struct Page {
    std::vector<std::string> requests;
    void load(std::string url) { requests.push_back(std::move(url)); }
};

} // namespace

std::size_t countElements(std::string_view html) {
    std::size_t count = 0;
    for (std::size_t at = html.find('<'); at != std::string_view::npos; at = html.find('<', at + 1)) {
        if (at + 1 < html.size()) {
            char next = html[at + 1];
            if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z')) count++;
        }
    }
    return count;
}

std::optional<SiteFixtures> writeSites(const fs::path& root, const fs::path& templates, const fs::path& fonts,
                                       std::string* error) {
    Generator g;
    g.root = root;
    g.error = error;
    if (!readFile(templates / "site.js", g.siteTemplate) ||
        !readFile(templates / "tracker.js", g.trackerTemplate) ||
        !readFile(templates / "filler.js", g.fillerTemplate)) {
        if (error) *error = "a script template is missing from " + templates.string();
        return std::nullopt;
    }
    std::string regular, medium;
    if (!readFile(fonts / "FiraSans-Regular.ttf", regular) ||
        !readFile(fonts / "FiraSans-Medium.ttf", medium)) {
        if (error) *error = "a typeface is missing from " + fonts.string();
        return std::nullopt;
    }

    // A handful of distinct pictures, served under many addresses.
    std::vector<std::string> photos, thumbs, creatives;
    for (int i = 0; i < 8; i++)
        photos.push_back(g.picture(480, 270));
    for (int i = 0; i < 6; i++)
        thumbs.push_back(g.picture(180, 120));
    for (int i = 0; i < 4; i++)
        creatives.push_back(g.picture(300, 250));

    Page clean;
    int pictureCount = 0;
    auto image = [&](const std::vector<std::string>& kind, std::string_view prefix) {
        int n = pictureCount++;
        std::string host = imageHosts[static_cast<std::size_t>(n) % imageHosts.size()];
        return g.put(host, "/" + std::string(prefix) + "/" + std::to_string(n) + ".jpg",
                     kind[static_cast<std::size_t>(n) % kind.size()]);
    };
    int jsonCount = 0;
    auto feed = [&]() {
        int n = jsonCount++;
        std::string body = "{\"title\":\"" + g.sentence(4) + "\",\"items\":[";
        for (int i = 0; i < 60; i++)
            body += std::string(i ? "," : "") + "{\"id\":" + std::to_string(i) + ",\"headline\":\"" +
                    g.sentence(8) + "\",\"score\":" + std::to_string(g.pick(0, 9999)) + "}";
        body += "]}";
        return g.put(jsonHosts[static_cast<std::size_t>(n) % jsonHosts.size()],
                     "/v1/feed-" + std::to_string(n) + ".json", body);
    };
    int scriptCount = 0;
    // One of the site's own or third-party scripts; the requests it makes go to `page`.
    auto siteScript = [&](Page& page, int kilobytes, int work, std::string slot, int build, int images,
                          int fetches) {
        int n = scriptCount++;
        std::vector<std::string> pictures, documents;
        for (int i = 0; i < images; i++)
            pictures.push_back(image(thumbs, "w"));
        for (int i = 0; i < fetches; i++)
            documents.push_back(feed());
        for (const auto& url : pictures)
            page.load(url);
        for (const auto& url : documents)
            page.load(url);
        std::string name = "s" + std::to_string(n);
        std::string config = "{name:" + jsString(name) + ",work:" + std::to_string(work) +
                             ",slot:" + jsString(slot) + ",build:" + std::to_string(build) +
                             ",images:" + list(pictures) + ",fetches:" + list(documents) + "}";
        std::string url = g.put(scriptHosts[static_cast<std::size_t>(n) % scriptHosts.size()],
                                "/js/" + name + ".js", g.script(g.siteTemplate, config, kilobytes));
        page.load(url);
        return url;
    };

    // Style sheets and web fonts.
    std::string css =
        "body{margin:0;font:16px/1.5 'Herald Sans',sans-serif;color:#222}\n"
        "header,footer{background:#f4f1ea;padding:8px 24px}nav ul{display:flex;flex-wrap:wrap;"
        "gap:12px;list-style:none;margin:0;padding:0}main{display:grid;grid-template-columns:1fr "
        "320px;gap:24px;padding:24px}.section{display:grid;grid-template-columns:repeat(auto-fill,"
        "minmax(220px,1fr));gap:16px}.card img{width:100%;height:auto}.card h3{font-weight:500;"
        "font-size:18px;margin:4px 0}.tags{display:flex;gap:6px;list-style:none;padding:0}"
        ".widget-item img{float:left;margin-right:8px}.slot{min-height:250px}\n";
    for (int i = 0; i < 300; i++)
        css += ".c" + std::to_string(i) + " .k" + std::to_string(i % 17) + "{color:#" +
               std::to_string(100 + i % 800) + ";margin:" + std::to_string(i % 9) + "px}\n";
    std::string fontCss = "@font-face{font-family:'Herald Sans';font-weight:400;src:url(http://" +
                          std::string(fontHost) +
                          "/FiraSans-Regular.ttf)}\n@font-face{font-family:'Herald Sans';"
                          "font-weight:500;src:url(http://" +
                          std::string(fontHost) + "/FiraSans-Medium.ttf)}\n";
    std::vector<std::string> sheets{
        g.put(staticHost, "/css/site.css", css), g.put(fontHost, "/css/herald.css", fontCss),
        g.put("cdn.libhub.test", "/grid/grid.min.css", css.substr(0, css.size() / 2))};
    for (const auto& url : sheets)
        clean.load(url);
    clean.load(g.put(fontHost, "/FiraSans-Regular.ttf", regular));
    clean.load(g.put(fontHost, "/FiraSans-Medium.ttf", medium));

    // The scripts of the head: libraries and the application bundle.
    std::vector<std::string> headScripts;
    for (int kilobytes : {90, 40, 30, 25, 15, 60})
        headScripts.push_back(siteScript(clean, kilobytes, 40000, "", 0, 0, 0));
    headScripts.push_back(siteScript(clean, 250, 400000, "app-root", 30, 6, 4));

    // The three embedded frames (video, map, comments): a document each with its script and pictures.
    std::vector<std::string> frames;
    for (std::size_t f = 0; f < frameHosts.size(); f++) {
        Page inside;
        std::string script = siteScript(inside, 35, 60000, "embed", 12, 4, 1);
        std::string html = "<!doctype html><html><head><meta charset=utf-8></head><body><div id=embed>";
        for (int i = 0; i < 4; i++) {
            std::string url = image(thumbs, "embed");
            inside.load(url);
            html += "<img src=\"" + url + "\" width=180 height=120 alt=\"\">";
        }
        html += "</div><script src=\"" + script + "\"></script></body></html>";
        std::string url = g.put(frameHosts[f], "/embed/" + std::to_string(f) + ".html", html);
        clean.load(url);
        for (const auto& request : inside.requests)
            clean.load(request);
        frames.push_back(url);
    }

    // The markup, with {{ADS}} and {{TAGS}} holes the tracker page fills.
    std::string logo = image(thumbs, "logo");
    clean.load(logo);
    std::string body =
        "<header><img src=\"" + logo + "\" width=180 height=60 alt=\"The Herald Daily\"><nav><ul>";
    for (int i = 0; i < 40; i++)
        body += "<li><a href=\"/section/" + std::to_string(i) + "\">" + g.word() + "</a></li>";
    body += "</ul></nav></header>{{ADS0}}<main><div class=columns>";
    for (int s = 0; s < 12; s++) {
        body += "<section class=\"section c" + std::to_string(s) + "\"><h2>" + g.sentence(2) + "</h2>";
        for (int c = 0; c < 10; c++) {
            std::string picture = image(photos, "photo");
            clean.load(picture);
            body += "<article class=card><a href=\"/story/" + std::to_string(s * 10 + c) + "\"><img src=\"" +
                    picture +
                    "\" width=480 height=270 alt=\"\" loading=eager></a><div class=meta><span class=k" +
                    std::to_string(c) + ">" + g.word() + "</span><time>" + std::to_string(g.pick(1, 59)) +
                    " min ago</time></div><h3><a href=\"/story/" + std::to_string(s * 10 + c) + "\">" +
                    g.sentence(7) + "</a></h3><p>" + g.sentence(24) +
                    "</p><ul class=tags><li><a href=\"/tag/" + g.word() + "\">" + g.word() +
                    "</a></li><li><a href=\"/tag/" + g.word() + "\">" + g.word() + "</a></li></ul></article>";
        }
        body += "</section>";
        if (s % 3 == 2) body += "{{ADS" + std::to_string(s / 3 + 1) + "}}";
    }
    body += "</div><aside><div id=most-read></div><div id=markets></div><div id=weather></div>"
            "<div id=polls></div><div id=scores></div>{{RECS}}";
    for (const auto& frame : frames)
        body += "<iframe src=\"" + frame + "\" width=320 height=240 frameborder=0></iframe>";
    body += "</aside></main><footer><ul>";
    for (int i = 0; i < 60; i++)
        body += "<li><a href=\"/about/" + std::to_string(i) + "\">" + g.sentence(2) + "</a></li>";
    body += "</ul></footer>";
    // The widgets of the body, each with its own script, pictures and data.
    std::vector<std::string> bodyScripts;
    const std::array<const char*, 5> widgets{"most-read", "markets", "weather", "polls", "scores"};
    for (std::size_t w = 0; w < widgets.size(); w++)
        bodyScripts.push_back(siteScript(clean, 30, 60000, widgets[w], 14, 10, 2));
    for (int i = 0; i < 12; i++)
        bodyScripts.push_back(siteScript(clean, 12 + 3 * i, 20000, "", 0, 0, 1));

    auto document = [&](const std::string& headExtra, const std::string& markup,
                        const std::string& bodyExtra) {
        std::string html =
            "<!doctype html><html lang=en><head><meta charset=utf-8><title>The Herald Daily</title>";
        for (const auto& sheet : sheets)
            html += "<link rel=stylesheet href=\"" + sheet + "\">";
        html += headExtra;
        for (const auto& url : headScripts)
            html += "<script src=\"" + url + "\"></script>";
        html += "</head><body><div id=app-root></div>" + markup;
        for (const auto& url : bodyScripts)
            html += "<script src=\"" + url + "\"></script>";
        html += bodyExtra + "</body></html>";
        return html;
    };
    auto fill = [](std::string text, const std::map<std::string, std::string>& holes) {
        for (int i = 0; i <= 4; i++) {
            std::string hole = "{{ADS" + std::to_string(i) + "}}";
            auto found = holes.find(hole);
            for (auto at = text.find(hole); at != std::string::npos; at = text.find(hole))
                text.replace(at, hole.size(), found == holes.end() ? "" : found->second);
        }
        auto recs = holes.find("{{RECS}}");
        for (auto at = text.find("{{RECS}}"); at != std::string::npos; at = text.find("{{RECS}}"))
            text.replace(at, 8, recs == holes.end() ? "" : recs->second);
        return text;
    };

    std::string cleanMarkup = fill(body, {});
    std::string cleanHtml = document("", cleanMarkup, "");
    std::string cleanUrl = g.put(site, "/index.html", cleanHtml);
    clean.load(cleanUrl);

    // The tracker page: the same front page with what an ad-financed site adds.
    const auto& consent = ContentBlocker::consentHosts();
    const auto& ads = ContentBlocker::adHosts();
    const auto& tracking = ContentBlocker::trackingHosts();
    const auto& nags = ContentBlocker::nagHosts();
    if (consent.size() < 2 || ads.size() < 18 || tracking.size() < 16 || nags.empty()) {
        if (error) *error = "the blocklist is shorter than the tracker page needs";
        return std::nullopt;
    }
    Page tracked;
    int tagCount = 0;
    struct Tag {
        std::string host;
        int kilobytes = 40;
        int work = 100000;
        int beacons = 3;
        std::vector<std::string> scripts;
        std::vector<std::pair<std::string, std::string>> frames;
        std::string slot;
        int images = 0;
        int bids = 0;
        std::string wall;
    };
    // Writes one tracker script; its address. The requests it makes go to `page`.
    std::function<std::string(Page&, const Tag&)> trackerScript = [&](Page& page, const Tag& tag) {
        int n = tagCount++;
        std::string name = "t" + std::to_string(n);
        std::vector<std::string> beacons, pictures, bids;
        for (int i = 0; i < tag.beacons; i++) {
            beacons.push_back("http://" + tag.host + "/collect/" + name + "-" + std::to_string(i) + ".gif");
            page.load(beacons.back());
        }
        for (int i = 0; i < tag.images; i++) {
            pictures.push_back(g.put(tag.host, "/rec/" + name + "-" + std::to_string(i) + ".jpg",
                                     thumbs[static_cast<std::size_t>(i) % thumbs.size()]));
            page.load(pictures.back());
        }
        for (int i = 0; i < tag.bids; i++) {
            bids.push_back("http://" + ads[7 + static_cast<std::size_t>(i) % 5] + "/bid/" + name + "-" +
                           std::to_string(i));
            page.load(bids.back());
        }
        for (const auto& url : tag.scripts)
            page.load(url);
        std::string frameList = "[";
        for (std::size_t i = 0; i < tag.frames.size(); i++)
            frameList += std::string(i ? "," : "") + "[" + jsString(tag.frames[i].first) + "," +
                         jsString(tag.frames[i].second) + "]";
        frameList += "]";
        std::string config =
            "{name:" + jsString(name) + ",work:" + std::to_string(tag.work) + ",beacons:" + list(beacons) +
            ",scripts:" + list(tag.scripts) + ",frames:" + frameList + ",slot:" + jsString(tag.slot) +
            ",images:" + list(pictures) + ",bids:" + list(bids) + ",wall:" + jsString(tag.wall) + "}";
        std::string url =
            g.put(tag.host, "/tag/" + name + ".js", g.script(g.trackerTemplate, config, tag.kilobytes));
        page.load(url);
        return url;
    };
    // An ad frame: a creative, its script and its pixels.
    auto adFrame = [&](std::size_t n) {
        Page inside;
        const std::string& host = ads[1 + n % 4];
        std::string creative =
            g.put(host, "/creative/" + std::to_string(n) + ".jpg", creatives[n % creatives.size()]);
        inside.load(creative);
        std::string script = trackerScript(inside, Tag{host, 45, 120000, 2, {}, {}, "", 0, 0, ""});
        std::string html =
            "<!doctype html><html><head><meta charset=utf-8></head><body style=margin:0><a href=\"http://" +
            host + "/click/" + std::to_string(n) + "\"><img src=\"" + creative +
            "\" width=300 height=250 alt=\"\"></a><img src=\"http://" + host + "/imp/" + std::to_string(n) +
            ".gif\" width=1 height=1 alt=\"\"><script src=\"" + script + "\"></script></body></html>";
        inside.load("http://" + host + "/imp/" + std::to_string(n) + ".gif");
        std::string url = g.put(host, "/frame/" + std::to_string(n) + ".html", html);
        return std::pair{url, inside.requests};
    };

    std::vector<std::string> tags; // the script tags of the tracker page's own markup
    // The consent wall, with the frame script its vendor loads.
    std::string cmpExtra = trackerScript(tracked, Tag{consent[1], 60, 80000, 1, {}, {}, "", 0, 0, ""});
    tags.push_back(
        trackerScript(tracked, Tag{consent[0], 120, 150000, 2, {cmpExtra}, {}, "", 0, 0, "consent"}));
    // The tag manager and the tags it loads.
    std::vector<std::string> managed;
    for (std::size_t i = 1; i <= 8; i++)
        managed.push_back(trackerScript(
            tracked, Tag{tracking[i], 40 + static_cast<int>(i) * 6, 100000, 4, {}, {}, "", 0, 0, ""}));
    tags.push_back(trackerScript(tracked, Tag{tracking[0], 180, 300000, 3, managed, {}, "", 0, 0, ""}));
    // The ad library, which fills eight slots with frames.
    std::vector<std::pair<std::string, std::string>> slots;
    std::map<std::string, std::string> holes;
    for (std::size_t n = 0; n < 8; n++) {
        auto [frame, requests] = adFrame(n);
        std::string id = "ad-slot-" + std::to_string(n);
        slots.emplace_back(id, frame);
        tracked.load(frame);
        for (const auto& request : requests)
            tracked.load(request);
        holes["{{ADS" + std::to_string(n % 5) + "}}"] += "<div class=slot id=" + id + "></div>";
    }
    std::string adHelper = trackerScript(tracked, Tag{ads[5], 70, 150000, 3, {}, {}, "", 0, 0, ""});
    tags.push_back(trackerScript(tracked, Tag{ads[0], 200, 400000, 4, {adHelper}, slots, "", 0, 0, ""}));
    // Header bidding.
    tags.push_back(trackerScript(tracked, Tag{ads[6], 120, 250000, 2, {}, {}, "", 0, 10, ""}));
    // Analytics, each its own tag.
    for (std::size_t i = 9; i < 16; i++)
        tags.push_back(trackerScript(tracked, Tag{tracking[i], 50, 80000, 3, {}, {}, "", 0, 0, ""}));
    // Recommendation widgets.
    holes["{{RECS}}"] = "<div id=recs-a></div><div id=recs-b></div>";
    tags.push_back(trackerScript(tracked, Tag{ads[12], 90, 120000, 3, {}, {}, "recs-a", 12, 0, ""}));
    tags.push_back(trackerScript(tracked, Tag{ads[13], 90, 120000, 3, {}, {}, "recs-b", 12, 0, ""}));
    // More ad tags, and the notification nag.
    for (std::size_t i = 14; i < 18; i++)
        tags.push_back(trackerScript(tracked, Tag{ads[i], 35, 60000, 2, {}, {}, "", 0, 0, ""}));
    tags.push_back(trackerScript(tracked, Tag{nags[0], 40, 40000, 1, {}, {}, "", 0, 0, "nag"}));

    std::string headTags, bodyTags;
    for (std::size_t i = 0; i < tags.size(); i++)
        (i < 3 ? headTags : bodyTags) +=
            "<script src=\"" + tags[i] + "\"" + (i < 3 ? "" : " async") + "></script>";
    std::string trackerHtml = document(headTags, fill(body, holes), bodyTags);
    std::string trackerUrl = g.put(site, "/tracked.html", trackerHtml);
    if (!g.ok) return std::nullopt;

    SiteFixtures out;
    out.cleanPage = cleanUrl;
    out.trackerPage = trackerUrl;
    auto hostOf = [](const std::string& url) {
        std::string rest = url.substr(url.find("//") + 2);
        return rest.substr(0, rest.find('/'));
    };
    std::set<std::string> cleanHosts, trackerHosts;
    for (const auto& url : clean.requests) {
        cleanHosts.insert(hostOf(url));
        out.cleanBytes += g.sizes.count(url) ? g.sizes[url] : 0;
    }
    for (const auto& url : tracked.requests) {
        if (!cleanHosts.count(hostOf(url))) trackerHosts.insert(hostOf(url));
        out.trackerBytes += g.sizes.count(url) ? g.sizes[url] : 0;
    }
    out.cleanHosts.assign(cleanHosts.begin(), cleanHosts.end());
    out.trackerHosts.assign(trackerHosts.begin(), trackerHosts.end());
    out.cleanElements =
        countElements(cleanMarkup) + countElements(cleanHtml.substr(0, cleanHtml.find("<body>")));
    out.cleanRequests = clean.requests.size();
    out.trackerRequests = clean.requests.size() + tracked.requests.size();
    out.trackerBytes += out.cleanBytes;
    out.trackerTags = tags.size();
    return out;
}

} // namespace nimb::bench
