// The report page's second view: everyone the catalogue can name, searchable, with the companies the
// page contacted tagged.

#include "base/Text.h"
#include "blocker/ContentBlocker.h"
#include "pages/PageFrame.h"
#include "report/DossierVocabulary.h"
#include "report/NimbReport.h"
#include "report/NimbReportPage.h"
#include "report/ReportAction.h"
#include "vocabulary/Language.h"

#include <algorithm>
#include <array>
#include <optional>

namespace nimb::NimbReportPage {

using BookmarksPage::appendEscaped;
using BookmarksPage::escape;

namespace {

// A company with everything a search looks through, lower-cased once.
struct Listed {
    Dossier::Entry entry;
    std::string haystack;
    std::string sortKey;
};

// Everything a search looks through, in the words the page shows them in: the names and facts as
// they are, the catalogue's prose and its describing words in the current language.
std::string haystackOf(const Dossier::Entry& entry) {
    const DossierVocabulary& dossier = dossierWords();
    std::string out = entry.company.name;
    auto add = [&out](std::string_view piece) {
        out += ' ';
        out += piece;
    };
    add(dossier.prose(entry.company.name));
    add(entry.company.owner.value_or(""));
    add(dossier.prose(entry.company.since.value_or("")));
    add(dossier.group(entry.group));
    add(entry.theirWords.value_or(""));
    add(dossier.prose(entry.note.value_or("")));
    for (const auto& host : entry.hosts)
        add(host);
    for (const auto& file : entry.files)
        add(file);
    for (auto capability : entry.capabilities)
        add(dossier.capability(capability));
    for (const auto& tie : Dossier::connections(entry))
        add(tie.company);
    return text::lowercased(out);
}

// The catalogue never changes while the browser runs, so its companies are listed once in each
// language, the first time a dossier is shown in it.
const std::vector<Listed>& listed() {
    static std::array<std::optional<std::vector<Listed>>, allCases<Language>.size()> languages;
    auto& all = languages[static_cast<std::size_t>(currentLanguage())];
    if (!all) {
        all.emplace();
        for (Dossier::Entry& entry : Dossier::companies()) {
            std::string haystack = haystackOf(entry);
            std::string sortKey = text::lowercased(dossierWords().prose(entry.company.name));
            all->push_back({std::move(entry), std::move(haystack), std::move(sortKey)});
        }
    }
    return *all;
}

bool containsAll(std::string_view haystack, const std::vector<std::string>& words) {
    return std::all_of(words.begin(), words.end(), [&](const std::string& word) {
        return haystack.find(word) != std::string_view::npos;
    });
}

std::vector<std::string> searchWords(std::string_view query) {
    // Kept alive for the loop: the pieces point into it.
    const std::string lower = text::lowercased(query);
    std::vector<std::string> out;
    for (std::string_view word : text::split(lower, ' ', false))
        out.emplace_back(word);
    return out;
}

std::optional<std::string_view> savedIdOf(const std::optional<SavedReport>& saved) {
    if (!saved) return std::nullopt;
    return std::string_view(saved->id);
}

void appendRow(std::string& out, std::string_view label, std::string_view value) {
    if (!out.empty()) out += '\n';
    out += "        <dt>";
    appendEscaped(out, label);
    out += "</dt><dd>";
    out += value;
    out += "</dd>";
}

} // namespace

bool matches(const Dossier::Entry& entry, const std::vector<std::string>& words) {
    return containsAll(haystackOf(entry), words);
}

std::set<std::string> named(const NimbReport& report) {
    std::set<std::string> names;
    auto add = [&names](std::string_view host) {
        if (const Dossier::Entry* entry = Dossier::entryForHost(host)) names.insert(entry->company.name);
    };
    for (const auto& blocked : report.blocked)
        add(blocked.host);
    for (const auto& host : report.otherHosts)
        add(host);
    for (const auto& host : report.houseHosts)
        add(host);
    return names;
}

std::string find(std::string_view query, const std::optional<SavedReport>& saved) {
    std::string out = "  <form class=\"find\" method=\"get\" action=\"";
    appendEscaped(out, ReportAction::formAction);
    out += "\" autocomplete=\"off\">\n    <input type=\"hidden\" name=\"v\" value=\"";
    out += rawValue(View::dossier);
    out += "\">";
    if (saved) {
        out += "\n    <input type=\"hidden\" name=\"s\" value=\"";
        appendEscaped(out, saved->id);
        out += "\">";
    }
    out += "\n    <input class=\"q\" type=\"text\" name=\"q\" spellcheck=\"false\" autofocus\n           "
           "value=\"";
    appendEscaped(out, query);
    out += "\" placeholder=\"";
    appendEscaped(out, dossierWords().searchTheDossier());
    out += "\">\n    <span class=\"acts\">\n      <button class=\"btn\" type=\"submit\">";
    appendEscaped(out, dossierWords().searchButton());
    out += "</button>\n";
    if (!query.empty()) {
        out += "      <a class=\"btn\" href=\"";
        appendEscaped(out, ReportAction::show(View::dossier, "", savedIdOf(saved)).href());
        out += "\">";
        appendEscaped(out, dossierWords().showAll());
        out += "</a>\n";
    }
    out += "    </span>\n  </form>\n";
    return out;
}

std::string entry(const Dossier::Entry& entry, bool onThisPage) {
    const DossierVocabulary& dossier = dossierWords();
    std::string out = "    <li>\n      <h3>";
    appendEscaped(out, dossier.prose(entry.company.name));
    if (onThisPage) {
        out += " <span class=\"tag here\">";
        appendEscaped(out, dossier.onThisPage());
        out += "</span>";
    }
    if (entry.retired) {
        out += " <span class=\"tag flag\">";
        appendEscaped(out, dossier.retiredFlag(dossier.prose(*entry.retired)));
        out += "</span>";
    }
    out += "</h3>\n";
    if (entry.theirWords) {
        out += "      <p class=\"their\">&ldquo;";
        appendEscaped(out, *entry.theirWords);
        out += "&rdquo;</p>\n";
    }
    if (entry.note) {
        out += "      <p class=\"note-line\">";
        appendEscaped(out, dossier.prose(*entry.note));
        out += "</p>\n";
    }

    std::string rows;
    if (!entry.capabilities.empty()) {
        std::string does;
        for (std::size_t i = 0; i < entry.capabilities.size(); ++i) {
            if (i) does += " &middot; ";
            appendEscaped(does, dossier.capability(entry.capabilities[i]));
        }
        appendRow(rows, dossier.whatTheyDo(), does);
    }
    std::string ties;
    for (const Dossier::Tie& tie : Dossier::connections(entry)) {
        if (!ties.empty()) ties += "<br>";
        ties += "<b>";
        appendEscaped(ties, dossier.prose(tie.company));
        ties += "</b> <span class=\"how\">";
        appendEscaped(ties, tie.how);
        ties += "</span>";
    }
    if (ties.empty()) ties = "<span class=\"quiet\">" + escape(dossier.answersToNobody()) + "</span>";
    appendRow(rows, dossier.connections(), ties);
    if (!entry.files.empty()) {
        std::string files;
        for (std::size_t i = 0; i < entry.files.size(); ++i) {
            if (i) files += ' ';
            files += "<code>";
            appendEscaped(files, entry.files[i]);
            files += "</code>";
        }
        appendRow(rows, dossier.fileNames(), files);
    }
    std::vector<std::string_view> hosts(entry.hosts.begin(), entry.hosts.end());
    std::sort(hosts.begin(), hosts.end());
    std::string hostList;
    for (std::size_t i = 0; i < hosts.size(); ++i) {
        if (i) hostList += ' ';
        hostList += "<code>";
        appendEscaped(hostList, hosts[i]);
        hostList += "</code>";
    }
    appendRow(rows, dossier.hostsHere(), hostList);

    out += "      <dl>\n";
    out += rows;
    out += "\n      </dl>\n    </li>";
    return out;
}

std::string directory(const NimbReport& report, std::string_view query,
                      const std::optional<SavedReport>& saved) {
    const DossierVocabulary& dossier = dossierWords();
    std::string_view shownQuery = searchQuery(query);
    std::vector<std::string> terms = searchWords(shownQuery);

    const std::vector<Listed>& all = listed();
    std::vector<const Listed*> shown;
    shown.reserve(all.size());
    for (const Listed& company : all) {
        if (terms.empty() || containsAll(company.haystack, terms)) shown.push_back(&company);
    }

    std::string out = "  <h1>";
    appendEscaped(out, words().dossier());
    out += "</h1>\n  <p class=\"blurb\">";
    appendEscaped(out, dossier.theWholeDossier());
    out += "</p>\n";
    out += find(shownQuery, saved);
    out += "  <p class=\"tally\">";
    appendEscaped(out, dossier.companyTally(static_cast<std::int64_t>(shown.size()),
                                            static_cast<std::int64_t>(all.size())));
    out += "</p>\n";
    if (shown.empty()) {
        out += "  <p class=\"none\">";
        appendEscaped(out, dossier.nothingMatched(shownQuery));
        out += "</p>\n";
        return out;
    }

    std::set<std::string> onThisPage = named(report);
    for (Dossier::Group group : Dossier::ranked) {
        std::vector<const Listed*> inGroup;
        for (const Listed* company : shown) {
            if (company->entry.group == group) inGroup.push_back(company);
        }
        if (inGroup.empty()) continue;
        std::stable_sort(inGroup.begin(), inGroup.end(),
                         [](const Listed* a, const Listed* b) { return a->sortKey < b->sortKey; });
        out += "  <h2>";
        appendEscaped(out, dossier.group(group));
        out += "</h2>\n  <ol class=\"file\">\n";
        for (std::size_t i = 0; i < inGroup.size(); ++i) {
            if (i) out += '\n';
            const Dossier::Entry& company = inGroup[i]->entry;
            out += entry(company, onThisPage.contains(company.company.name));
        }
        out += "\n  </ol>\n";
    }
    return out;
}

} // namespace nimb::NimbReportPage
