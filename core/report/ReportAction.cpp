#include "report/ReportAction.h"

#include "base/PercentEncoding.h"
#include "base/Text.h"
#include "library/Bookmarks.h"

namespace nimb {

namespace {

constexpr std::string_view keepHost = "report-keep";
constexpr std::string_view listHost = "reports";
constexpr std::string_view forgetHost = "report-forget";
constexpr std::string_view showHost = "report";

} // namespace

ReportAction ReportAction::show(NimbReportPage::View view, std::string_view query,
                                std::optional<std::string_view> saved) {
    ReportAction action;
    action.kind = Kind::show;
    action.view = view;
    action.query = query;
    if (saved) action.saved = std::string(*saved);
    return action;
}

ReportAction ReportAction::forget(std::string_view id) {
    ReportAction action;
    action.kind = Kind::forget;
    action.id = id;
    return action;
}

ReportAction ReportAction::keep() {
    ReportAction action;
    action.kind = Kind::keep;
    return action;
}

ReportAction ReportAction::list() {
    ReportAction action;
    action.kind = Kind::list;
    return action;
}

ReportAction ReportAction::details() {
    return show(NimbReportPage::View::overview, "", std::nullopt);
}

std::string ReportAction::href() const {
    std::string out(scheme);
    out += "://";
    switch (kind) {
    case Kind::show:
        out += showHost;
        out += "?v=";
        out += rawValue(view);
        if (!query.empty()) {
            out += "&q=";
            out += percentEncodeAlphanumerics(query);
        }
        if (saved) {
            out += "&s=";
            out += percentEncodeAlphanumerics(*saved);
        }
        break;
    case Kind::forget:
        out += forgetHost;
        out += "?s=";
        out += percentEncodeAlphanumerics(id);
        break;
    case Kind::keep:
        out += keepHost;
        break;
    case Kind::list:
        out += listHost;
        break;
    }
    return out;
}

std::optional<ReportAction> ReportAction::fromUrl(const Url& url) {
    auto view = url.view();
    if (!view.has_scheme() || text::asciiLowercased(view.scheme()) != scheme) return std::nullopt;
    if (!view.has_authority()) return std::nullopt;
    std::string host = view.host();
    if (host.empty()) return std::nullopt;

    if (host == keepHost) return keep();
    if (host == listHost) return list();
    if (host != forgetHost && host != showHost) return std::nullopt;

    auto fields = BookmarkAction::fields(url);
    auto field = [&](const char* name) -> std::optional<std::string> {
        auto found = fields.find(name);
        if (found == fields.end()) return std::nullopt;
        return std::move(found->second);
    };
    std::optional<std::string> saved = field("s");
    if (saved && saved->empty()) saved.reset();

    if (host == forgetHost) {
        if (!saved) return std::nullopt;
        return forget(*saved);
    }

    auto shown = field("v") == rawValue(NimbReportPage::View::dossier) ? NimbReportPage::View::dossier
                                                                       : NimbReportPage::View::overview;
    std::string query = field("q").value_or("");
    return show(shown, text::prefix(text::trimmed(query), queryLimit), saved);
}

} // namespace nimb
