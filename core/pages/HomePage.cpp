#include "pages/HomePage.h"

#include "location/SearchEngine.h"
#include "pages/PageFrame.h"
#include "vocabulary/Language.h"

#include <algorithm>

namespace nimb::HomePage {

namespace {

// The page's own name, the same in every language.
constexpr std::string_view title = "The NIMB 2000";

void appendRow(std::string& out, std::string_view name, std::string_view address) {
    using BookmarksPage::appendEscaped;
    if (PageFrame::isNavigable(address)) {
        out += "    <li><a href=\"";
        appendEscaped(out, address);
        out += "\" title=\"";
        appendEscaped(out, address);
        out += "\">";
        appendEscaped(out, name);
        out += "</a></li>";
    } else {
        out += "    <li>";
        appendEscaped(out, name);
        out += "</li>";
    }
}

using Row = std::pair<std::string_view, std::string_view>;

void appendSection(std::string& out, std::string_view heading, const std::vector<Row>& rows,
                   std::string_view emptyText) {
    using BookmarksPage::appendEscaped;
    out += "  <div class=\"col\">\n    <h2>";
    appendEscaped(out, heading);
    out += "</h2>\n    <ul>\n";
    if (rows.empty()) {
        out += "    <li class=\"none\">";
        appendEscaped(out, emptyText);
        out += "</li>";
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) out += '\n';
        appendRow(out, rows[i].first, rows[i].second);
    }
    out += "\n    </ul>\n  </div>";
}

std::size_t clamp(std::int64_t limit, std::size_t size) {
    return limit <= 0 ? 0 : std::min(size, static_cast<std::size_t>(limit));
}

} // namespace

std::vector<Site> recent(const std::vector<Visit>& visits, std::int64_t limit) {
    std::vector<Site> sites = History::sites(visits);
    sites.resize(clamp(limit, sites.size()));
    return sites;
}

std::vector<Visit> frequent(const std::vector<Visit>& visits, std::int64_t limit) {
    std::vector<Visit> often;
    for (const Visit& visit : visits) {
        if (visit.visits >= 2) often.push_back(visit);
    }
    std::stable_sort(often.begin(), often.end(), [](const Visit& a, const Visit& b) {
        if (a.visits != b.visits) return a.visits > b.visits;
        return a.last > b.last;
    });
    often.resize(clamp(limit, often.size()));
    return often;
}

std::vector<std::pair<std::string, std::string>> engines() {
    std::vector<std::pair<std::string, std::string>> list;
    for (SearchEngine engine : allCases<SearchEngine>) {
        if (auto start = home(engine)) list.emplace_back(displayName(engine), start->string());
    }
    return list;
}

std::string html(const std::vector<Visit>& visits) {
    const Vocabulary& vocabulary = words();
    std::string out;
    out.reserve(8192);
    PageFrame::appendHead(out, title, PageStyles::home);
    out += "\n<h1>";
    BookmarksPage::appendEscaped(out, title);
    out += "</h1>\n<div class=\"cols\">\n";

    std::vector<Site> sites = recent(visits, column);
    std::vector<Row> rows;
    for (const Site& site : sites)
        rows.emplace_back(site.name, site.address);
    appendSection(out, vocabulary.recent(), rows, vocabulary.noRecent());
    out += '\n';

    std::vector<Visit> often = frequent(visits, column);
    rows.clear();
    for (const Visit& visit : often)
        rows.emplace_back(visit.name(), visit.address);
    appendSection(out, vocabulary.frequent(), rows, vocabulary.noFrequent());
    out += '\n';

    auto starts = engines();
    rows.clear();
    for (const auto& [name, address] : starts)
        rows.emplace_back(name, address);
    appendSection(out, vocabulary.search(), rows, {});

    out += "\n</div>\n</body></html>";
    return out;
}

} // namespace nimb::HomePage
