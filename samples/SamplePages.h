#pragma once

// Every page the browser writes for itself, rendered from the sample records: each kind of page with
// full and empty data, the report in each of its shapes, and pages of hostile records. The page
// renderer draws them and the real-engine tests load them, so both look at the same pages.

#include "vocabulary/Language.h"

#include <functional>
#include <string>
#include <vector>

namespace nimb::samples {

struct SamplePage {
    // A file-name stem, unique among the pages: "history-full", "report-dossier-searched".
    std::string name;
    // The width (CSS pixels) of the view it is made for besides the usual window widths: the margin
    // panel's and the popover's. Zero for a page shown in a tab.
    int panelWidth = 0;
    // Rendered in the current language.
    std::function<std::string()> render;
};

// The time zone the sample pages date things in, so that they read the same on every machine.
inline constexpr const char* timeZone = "UTC";

// Every sample page, in the order a reader would go through them.
[[nodiscard]] std::vector<SamplePage> pages();
// The pages whose records hold hostile text.
[[nodiscard]] std::vector<SamplePage> hostilePages();

// Renders a page in `language`, leaving the current language as it was.
[[nodiscard]] std::string render(const SamplePage& page, Language language);
// The sample page of that name (hostile or not) rendered in `language`; empty when there is none.
[[nodiscard]] std::string render(const std::string& name, Language language = Language::english);

} // namespace nimb::samples
