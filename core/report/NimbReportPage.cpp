#include "report/NimbReportPage.h"

#include "base/Domain.h"
#include "base/Text.h"
#include "blocker/ContentBlocker.h"
#include "pages/HistoryPage.h"
#include "pages/PageFrame.h"
#include "report/DossierVocabulary.h"
#include "report/Evidence.h"
#include "report/NimbReport.h"
#include "report/ReportAction.h"
#include "vocabulary/Language.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

namespace nimb::NimbReportPage {

using BookmarksPage::appendEscaped;
using BookmarksPage::escape;

std::string name(View view) {
    switch (view) {
    case View::overview:
        return words().overview();
    case View::dossier:
        return words().dossier();
    }
    return {};
}

namespace {

std::optional<std::string_view> savedId(const std::optional<SavedReport>& saved) {
    if (!saved) return std::nullopt;
    return std::string_view(saved->id);
}

// "<a class="classes" href="action">text</a>"
void appendButton(std::string& out, std::string_view classes, const ReportAction& action,
                  std::string_view label) {
    out += "<a class=\"";
    out += classes;
    out += "\" href=\"";
    appendEscaped(out, action.href());
    out += "\">";
    appendEscaped(out, label);
    out += "</a>";
}

std::string siteKey(std::string_view address) {
    return Domain::registrable(Domain::hostOf(address));
}

bool contains(const std::vector<std::string>& list, std::string_view value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

// The catalogue entries of the hosts a report contacted, each looked up once per page.
class Entries {
public:
    explicit Entries(const NimbReport& report) {
        m_entries.reserve(report.blocked.size() + report.otherHosts.size() + report.houseHosts.size());
        for (const auto& blocked : report.blocked)
            add(blocked.host);
        for (const auto& host : report.otherHosts)
            add(host);
        for (const auto& host : report.houseHosts)
            add(host);
    }

    // Whether the host is one the report contacted.
    [[nodiscard]] bool contacted(std::string_view host) const { return m_entries.contains(host); }
    // Its entry (looked up now when the report did not contact it).
    [[nodiscard]] const Dossier::Entry* of(std::string_view host) const {
        auto found = m_entries.find(host);
        return found != m_entries.end() ? found->second : Dossier::entryForHost(host);
    }
    [[nodiscard]] bool anyNamed() const {
        return std::any_of(m_entries.begin(), m_entries.end(), [](const auto& pair) { return pair.second; });
    }

private:
    void add(std::string_view host) {
        if (!m_entries.contains(host)) m_entries.emplace(host, Dossier::entryForHost(host));
    }

    std::unordered_map<std::string_view, const Dossier::Entry*> m_entries;
};

// The style sheets: the frame's, the heat scale's, then the page's or the panel's own.
std::string styleOf(std::string_view rules) {
    std::string sheet = Dossier::heatScaleStyle();
    sheet += '\n';
    sheet += rules;
    return PageFrame::styleSheet(sheet);
}

// A host of the site's own domain that no entry names is the site's own, not an unidentified third
// party. (`Evidence::ownGround` answers only for hosts off the site's domain.)
bool onSiteDomain(std::string_view host, std::string_view site) {
    return !site.empty() && Domain::registrable(host) == site;
}

// One contacted host as the list of parties shows it.
struct Party {
    std::string_view host;
    std::optional<std::int64_t> requests; // blocked requests; none for a host that was allowed
    const Dossier::Entry* entry = nullptr;
};

// A row says what became of the host's requests: with blocking off, those the blocklist names got
// through like any other.
void appendPartyRow(std::string& out, const Party& party, bool namesCompany, bool blocking,
                    const std::optional<SavedReport>& saved) {
    const DossierVocabulary& dossier = dossierWords();
    out += "    <li><span class=\"n\">";
    if (party.requests)
        appendEscaped(out, blocking ? dossier.requestsBlocked(*party.requests)
                                    : dossier.requestsGotThrough(*party.requests));
    else
        appendEscaped(out, dossier.wasAllowed());
    out += "</span><span class=\"who\">";
    if (namesCompany) {
        const Dossier::Company& company = party.entry->company;
        out += "<span class=\"lede\"><a class=\"name\" href=\"";
        appendEscaped(out, ReportAction::show(View::dossier, company.name, savedId(saved)).href());
        out += "\">";
        appendEscaped(out, dossier.attribution(company));
        out += "</a>";
        if (party.entry->retired) {
            out += " <span class=\"flag\">";
            appendEscaped(out, dossier.noLongerExists());
            out += "</span>";
        }
        out += "</span>";
        const auto& capabilities = party.entry->capabilities;
        for (std::size_t i = 0; i < capabilities.size(); ++i) {
            out += i == 0 ? " &mdash; " : ", ";
            appendEscaped(out, dossier.capability(capabilities[i]));
        }
        out += "<span class=\"quote\"><code>";
        appendEscaped(out, party.host);
        out += "</code></span>";
    } else {
        out += "<code>";
        appendEscaped(out, party.host);
        out += "</code>";
    }
    out += "</span></li>";
}

std::string partiesOf(const NimbReport& report, const Entries& entries,
                      const std::optional<SavedReport>& saved) {
    const std::string site = siteKey(report.address);
    std::array<std::vector<Party>, allCases<Dossier::Group>.size()> groups;
    auto file = [&](std::string_view host, std::optional<std::int64_t> requests, bool house) {
        const Dossier::Entry* entry = entries.of(host);
        Dossier::Group group = Dossier::Group::unknown;
        if (house)
            group = Dossier::Group::ownGround;
        else if (entry)
            group = contains(entry->siblings, site) ? Dossier::Group::ownGround : entry->group;
        else if (onSiteDomain(host, site) || Evidence::ownGround(host, site))
            group = Dossier::Group::ownGround;
        groups[static_cast<std::size_t>(group)].push_back({host, requests, entry});
    };
    for (const auto& blocked : report.blocked)
        file(blocked.host, blocked.requests, false);
    for (const auto& host : report.otherHosts)
        file(host, std::nullopt, false);
    for (const auto& host : report.houseHosts)
        file(host, std::nullopt, true);

    std::string out;
    for (Dossier::Group group : Dossier::ranked) {
        auto& list = groups[static_cast<std::size_t>(group)];
        if (list.empty()) continue;
        out += "  <h2>";
        appendEscaped(out, dossierWords().group(group));
        out += "</h2>\n";
        if (group == Dossier::Group::ordinary) {
            std::vector<std::string_view> hosts;
            hosts.reserve(list.size());
            for (const Party& party : list)
                hosts.push_back(party.host);
            std::sort(hosts.begin(), hosts.end());
            out += "  <p class=\"hosts\">";
            appendEscaped(out, dossierWords().nothingButDelivery(static_cast<std::int64_t>(list.size())));
            // Only the host names are set in the monospace face, not the sentence before them.
            out += " <span class=\"names\">";
            for (std::size_t i = 0; i < hosts.size(); ++i) {
                if (i) out += " &middot; ";
                appendEscaped(out, hosts[i]);
            }
            out += "</span></p>\n";
            continue;
        }
        std::stable_sort(list.begin(), list.end(), [](const Party& a, const Party& b) {
            std::int64_t left = a.requests.value_or(0), right = b.requests.value_or(0);
            if (left != right) return left > right;
            return a.host < b.host;
        });
        std::unordered_set<std::string_view> named;
        out += "  <ul>\n";
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Party& party = list[i];
            bool namesCompany = party.entry && named.insert(party.entry->company.name).second;
            if (i) out += '\n';
            appendPartyRow(out, party, namesCompany, report.blockingOn, saved);
        }
        out += "\n  </ul>\n";
    }
    return out;
}

std::string triedOf(const NimbReport& report, const Entries& entries, Date now) {
    std::vector<Evidence::Finding> findings = Evidence::read(report, now);
    if (findings.empty()) return {};

    // Who stands behind a subject the catalogue cannot name: the site's own company when the site is
    // one of its siblings, else the site itself.
    const std::string site = siteKey(report.address);
    std::string owner;
    const std::string ownHost = Domain::hostOf(report.address);
    const Dossier::Entry* ownEntry = ownHost.empty() ? nullptr : Dossier::entryForHost(ownHost);
    if (ownEntry && contains(ownEntry->siblings, site))
        owner = ownEntry->company.name;
    else if (!site.empty())
        owner = site;
    else
        owner = words().noPage();

    std::string out;
    bool first = true;
    for (const Evidence::Finding& finding : findings) {
        // The finding's subjects by who is behind each, in first-seen order.
        std::vector<std::pair<std::string_view, std::vector<std::string_view>>> actors;
        for (const std::string& subject : finding.subjects) {
            const Dossier::Entry* entry =
                entries.contacted(subject) ? entries.of(subject) : Dossier::sdkForKey(subject);
            std::string_view actor = entry ? std::string_view(entry->company.name) : std::string_view(owner);
            auto found =
                std::find_if(actors.begin(), actors.end(), [&](const auto& a) { return a.first == actor; });
            if (found == actors.end())
                actors.push_back({actor, {subject}});
            else
                found->second.push_back(subject);
        }
        const std::string sentence = finding.sentence();
        for (const auto& [actor, subjects] : actors) {
            if (!first) out += '\n';
            first = false;
            out += "    <li><span class=\"who\">";
            appendEscaped(out, sentence);
            out += "<span class=\"quote\">";
            // A company the catalogue describes rather than names is described in the page's language.
            const std::string shown = dossierWords().prose(actor);
            if (sentence.find(shown) == std::string::npos) {
                out += "<b>";
                appendEscaped(out, shown);
                out += "</b> ";
            }
            for (std::size_t i = 0; i < subjects.size(); ++i) {
                if (i) out += ' ';
                out += "<code>";
                appendEscaped(out, subjects[i]);
                out += "</code>";
            }
            out += "</span></span></li>";
        }
    }
    return "  <ul class=\"tried\">\n" + out + "\n  </ul>\n\n";
}

std::string provenanceOf(const Entries& entries) {
    if (!entries.anyNamed()) return {};
    return "  <div class=\"note\">" + escape(dossierWords().whereTheNamesCameFrom()) + "</div>\n";
}

std::string fullReading(const NimbReport& report, const std::optional<SavedReport>& saved, Date now,
                        std::string_view timeZone) {
    Dossier::Reach reach = reading(report);
    Entries entries(report);
    std::string out = head(report, reach, keeping(saved, now, timeZone));
    out += summary(report, reach);
    out += triedOf(report, entries, now);
    out += partiesOf(report, entries, saved);
    out += taken(report);
    out += stored(report);
    out += provenanceOf(entries);
    return out;
}

} // namespace

std::string site(std::string_view address) {
    std::string key = siteKey(address);
    if (!key.empty()) return key;
    if (!address.empty()) return std::string(address);
    return words().noPage();
}

std::string_view searchQuery(std::string_view query) {
    return text::prefix(text::trimmed(query), ReportAction::queryLimit);
}

const std::string& pageStyle() {
    static const std::string style = styleOf(PageStyles::report);
    return style;
}

const std::string& panelStyle() {
    static const std::string style = styleOf(PageStyles::panel);
    return style;
}

std::string document(std::string_view style, std::string_view body) {
    std::string out;
    out.reserve(style.size() + body.size() + 256);
    out += PageFrame::doctype;
    appendEscaped(out, words().nimbScale());
    out += PageFrame::titleEnd;
    out += style;
    out += "\n</style></head><body>\n<div class=\"sheet\">\n";
    out += body;
    out += "\n</div>\n</body></html>";
    return out;
}

std::string tabs(View current, std::string_view query, const std::optional<SavedReport>& saved) {
    std::string out = "  <nav class=\"views\">\n";
    bool first = true;
    for (View view : allCases<View>) {
        if (!first) out += '\n';
        first = false;
        bool on = view == current;
        out += on ? "    <a class=\"tab on\" href=\"" : "    <a class=\"tab\" href=\"";
        appendEscaped(out, ReportAction::show(view, query, savedId(saved)).href());
        out += on ? "\" aria-current=\"page\">" : "\">";
        appendEscaped(out, name(view));
        out += "</a>";
    }
    out += "\n  </nav>\n";
    return out;
}

std::string head(const NimbReport& report, const std::optional<Dossier::Reach>& reach,
                 std::string_view after) {
    std::string out = "  <header class=\"top\">\n    <h1>";
    appendEscaped(out, words().nimbScale());
    out += "</h1>\n    <p class=\"addr\">";
    appendEscaped(out, site(report.address));
    out += "</p>\n";
    if (reach) {
        out += "    <p class=\"score\"><span class=\"num\" style=\"color:";
        out += Dossier::colour(reach->heat());
        out += "\">";
        out += std::to_string(reach->score());
        out += "</span>";
        appendEscaped(out, dossierWords().outOfAHundred());
        out += "</p>\n";
        out += Dossier::heatScale(*reach);
    }
    out += after;
    out += "  </header>\n";
    return out;
}

std::string keeping(const std::optional<SavedReport>& saved, Date now, std::string_view timeZone) {
    std::string out = "    <p class=\"keeping\">";
    if (saved) {
        out += "<span class=\"was\">";
        appendEscaped(out, words().keptOn(HistoryPage::when(saved->saved, now, timeZone)));
        out += "</span>";
        appendButton(out, "btn gone", ReportAction::forget(saved->id), words().forget());
    } else {
        appendButton(out, "btn", ReportAction::keep(), words().keepThisReport());
    }
    appendButton(out, "btn quiet", ReportAction::list(), words().savedReports());
    out += "</p>\n";
    return out;
}

std::string unavailableBody(const NimbReport& report, Unavailable why) {
    std::string out = head(report, std::nullopt, "");
    out += "  <p class=\"sub\">";
    appendEscaped(out, words().unavailableLine(why));
    out += "</p>\n  <div class=\"note\">";
    out += words().unavailableDetail(why); // carries markup
    out += "</div>\n";
    return out;
}

// What the counts leave out, said where they are.
std::string countsNote(const NimbReport& report) {
    std::string note;
    auto add = [&note](const std::string& sentence) {
        if (!note.empty()) note += ' ';
        appendEscaped(note, sentence);
    };
    if (!report.scriptsRead) add(words().countedWithoutScripts());
    if (report.witness == NimbReport::Witness::counted) add(words().notCounted());
    if (report.witness == NimbReport::Witness::absent) add(words().witnessAbsent());
    return note.empty() ? note : "  <p class=\"sub counts\">" + note + "</p>\n";
}

std::string summary(const NimbReport& report, const Dossier::Reach& reach) {
    if (report.total() < 1 && report.otherHosts.empty())
        return "  <p class=\"sub\">" + escape(words().keptToItself()) + "</p>\n" + countsNote(report);

    std::string sub = escape(dossierWords().whatTheScoreMeans(reach, report.blockingOn));
    if (!report.hidden.empty()) {
        if (!sub.empty()) sub += ' ';
        appendEscaped(sub, words().takenOffSummary(static_cast<std::int64_t>(report.hidden.size())));
        sub += '.';
    }
    if (!report.blockingOn) {
        sub += ' ';
        sub += words().blockingIsOff(); // carries markup
    }
    if (!sub.empty()) {
        sub += ' ';
        appendEscaped(sub, dossierWords().scoreFluctuates());
    }

    std::string out = "  <p class=\"lede\">";
    appendEscaped(out, dossierWords().headline(reach));
    out += "</p>\n";
    if (!sub.empty()) out += "  <p class=\"sub\">" + sub + "</p>\n";
    out += countsNote(report);
    return out;
}

std::string tried(const NimbReport& report, Date now) {
    return triedOf(report, Entries(report), now);
}

std::string parties(const NimbReport& report, const std::optional<SavedReport>& saved) {
    return partiesOf(report, Entries(report), saved);
}

std::string taken(const NimbReport& report) {
    if (report.hidden.empty()) return {};
    std::string out = "  <h2>";
    appendEscaped(out, words().takenOffThePage());
    out += "</h2>\n  <p class=\"why\">";
    appendEscaped(out, words().takenOffWhy());
    out += "</p>\n  <ul>\n";
    for (std::size_t i = 0; i < report.hidden.size(); ++i) {
        const NimbReport::Hidden& hidden = report.hidden[i];
        if (i) out += '\n';
        out += "    <li><span class=\"who\"><code>";
        appendEscaped(out, hidden.label);
        out += "</code>";
        if (!hidden.text.empty()) {
            out += "<span class=\"quote\">&ldquo;";
            appendEscaped(out, hidden.text);
            out += "&rdquo;</span>";
        }
        out += "</span><span class=\"n\">";
        appendEscaped(out, words().reason(hidden.reason));
        out += "</span></li>";
    }
    out += "\n  </ul>\n";
    return out;
}

std::string stored(const NimbReport& report) {
    if (report.cookies < 1 && report.local.count < 1 && report.session.count < 1 && report.databases.empty())
        return {};
    std::string out = "  <h2>";
    appendEscaped(out, words().whatItKept());
    out += "</h2>\n  <p class=\"why\">";
    std::optional<std::string> bytes;
    if (report.local.bytes >= 1) bytes = size(report.local.bytes);
    appendEscaped(out, words().storedLine(report.cookies, report.local.count,
                                          bytes ? std::optional<std::string_view>(*bytes) : std::nullopt));
    out += ' ';
    appendEscaped(out, report.storageForgotten ? words().storageWasLent() : words().storageWasKept());
    out += "</p>\n";

    const auto& items = report.local.items;
    if (!items.empty()) {
        out += "  <ul>\n";
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i) out += '\n';
            out += "    <li><span class=\"who\"><code>";
            appendEscaped(out, items[i].key);
            out += "</code>";
            if (!items[i].preview.empty()) {
                out += "<span class=\"quote\">";
                appendEscaped(out, items[i].preview);
                out += "</span>";
            }
            out += "</span><span class=\"n\">";
            appendEscaped(out, size(items[i].bytes));
            out += "</span></li>";
        }
        auto listed = static_cast<std::int64_t>(items.size());
        if (report.local.count > listed) {
            out += "\n    <li><span class=\"who\">";
            appendEscaped(out, words().moreKeys(report.local.count - listed));
            out += "</span></li>";
        }
        out += "\n  </ul>\n";
    }
    if (report.session.count > 0) {
        out += "  <p class=\"why after\">";
        appendEscaped(out, words().sessionKeys(report.session.count));
        out += "</p>\n";
    }
    if (!report.databases.empty()) {
        std::string names;
        for (std::size_t i = 0; i < report.databases.size(); ++i) {
            if (i) names += " &middot; ";
            names += "<code>";
            appendEscaped(names, report.databases[i]);
            names += "</code>";
        }
        // The names are markup already; the sentence around them is the vocabulary's.
        out += "  <p class=\"why after\">" + words().databases(names) + "</p>\n";
    }
    out += '\n';
    return out;
}

std::string provenance(const NimbReport& report) {
    return provenanceOf(Entries(report));
}

std::string html(const NimbReport& report, std::optional<Unavailable> unavailable, bool onPanel, View view,
                 std::string_view query, const std::optional<SavedReport>& saved, Date now,
                 std::string_view timeZone) {
    // A live page that recorded nothing has no reading to show, only the reason. A kept report always
    // has its reading (an unreadable snapshot reads as an empty report), so it can still be forgotten.
    if (!unavailable && !report.recorded && !saved) unavailable = Unavailable::notRecorded;

    if (onPanel) {
        std::string body;
        if (unavailable) {
            body = unavailableBody(report, *unavailable);
        } else {
            Dossier::Reach reach = reading(report);
            body = head(report, reach, "");
            body += summary(report, reach);
            body += "  <a class=\"more\" href=\"";
            appendEscaped(body, ReportAction::details().href());
            body += "\">";
            appendEscaped(body, words().viewDetails());
            body += "</a>\n";
        }
        return document(panelStyle(), body);
    }

    std::string_view shownQuery = searchQuery(query);
    std::string body = tabs(view, shownQuery, saved);
    if (view == View::dossier)
        body += directory(report, shownQuery, saved);
    else if (unavailable)
        body += unavailableBody(report, *unavailable);
    else
        body += fullReading(report, saved, now, timeZone);
    return document(pageStyle(), body);
}

} // namespace nimb::NimbReportPage
