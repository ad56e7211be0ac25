#pragma once

// The history page: every remembered visit, newest first, with when it was last opened, how often,
// and a button to forget it.

#include "base/Date.h"
#include "library/History.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace nimb::HistoryPage {

// The whole document for the stored visits, in their order. `timeZone` is an IANA zone name
// ("Europe/Rome"); empty means the system's.
[[nodiscard]] std::string html(const std::vector<Visit>& visits, Date now, std::string_view timeZone = {});

// When something happened, as the history page words it: "Today 09:41", "Yesterday 23:59", the
// weekday and time within the last six days, else "3 Mar 2024", in the current language. Days are
// calendar days in `timeZone` (empty: the system's).
[[nodiscard]] std::string when(Date date, Date now, std::string_view timeZone = {});

// `when` for many dates against one "now", for pages that list many: the calendar and formats are
// made once. Uses the language current when it is made.
class WhenFormatter {
public:
    explicit WhenFormatter(Date now, std::string_view timeZone = {});
    ~WhenFormatter();
    WhenFormatter(const WhenFormatter&) = delete;
    WhenFormatter& operator=(const WhenFormatter&) = delete;

    [[nodiscard]] std::string operator()(Date date) const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace nimb::HistoryPage
