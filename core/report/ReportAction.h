#pragma once

#include "base/Url.h"
#include "records/NimbReportPageView.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace nimb {

// What the report page and the kept-reports page ask of the browser through a `nimb://` link or the
// dossier's search form. Only the fields of the action's kind carry meaning; make actions through the
// named constructors.
struct ReportAction {
    enum class Kind {
        show,   // view, query, saved
        forget, // id
        keep,
        list,
    };

    static constexpr std::string_view scheme = "nimb";
    // Where the dossier's search form submits.
    static constexpr std::string_view formAction = "nimb://report";
    // The longest query the dossier is searched for, in characters.
    static constexpr std::size_t queryLimit = 80;

    Kind kind = Kind::list;
    NimbReportPage::View view = NimbReportPage::View::overview;
    std::string query;
    // The kept report shown; none for the live page.
    std::optional<std::string> saved;
    // The kept report to forget.
    std::string id;

    // Show the report page in a view, the dossier searched for `query`, for a kept report or the live page.
    [[nodiscard]] static ReportAction show(NimbReportPage::View view, std::string_view query,
                                           std::optional<std::string_view> saved);
    [[nodiscard]] static ReportAction forget(std::string_view id);
    [[nodiscard]] static ReportAction keep();
    [[nodiscard]] static ReportAction list();
    // The popover's way to the full report: the overview of the live page.
    [[nodiscard]] static ReportAction details();

    // The internal address that asks for this action, e.g. "nimb://report?v=dossier&q=a%20b".
    [[nodiscard]] std::string href() const;
    // The action an internal address asks for; none for anything else.
    [[nodiscard]] static std::optional<ReportAction> fromUrl(const Url& url);

    bool operator==(const ReportAction&) const = default;
};

} // namespace nimb
