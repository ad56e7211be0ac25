#include "pages/HistoryPage.h"

#include "pages/PageFrame.h"
#include "vocabulary/Language.h"

#include <unicode/calendar.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace nimb::HistoryPage {

struct WhenFormatter::State {
    std::unique_ptr<icu::TimeZone> zone;
    std::unique_ptr<icu::Calendar> calendar;
    icu::Locale language;
    std::unique_ptr<icu::SimpleDateFormat> time;
    std::unique_ptr<icu::SimpleDateFormat> day;     // "d MMM yyyy"
    std::unique_ptr<icu::SimpleDateFormat> weekday; // "EEEE HH:mm"
    std::optional<std::int32_t> today;              // the day number of "now"
    std::string todayWord;
    std::string yesterdayWord;

    std::unique_ptr<icu::SimpleDateFormat> format(const char* pattern, const icu::Locale& locale) const {
        UErrorCode status = U_ZERO_ERROR;
        auto formatter =
            std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(pattern, -1, US_INV), locale, status);
        if (U_FAILURE(status)) return nullptr;
        formatter->setTimeZone(*zone);
        return formatter;
    }

    // A phrase in the current language. It stands first in its cell, beside "Today" and "Yesterday",
    // so a weekday that the language writes in lower case ("jeudi", "giovedì") starts with a capital.
    std::unique_ptr<icu::SimpleDateFormat> phrase(const char* pattern) const {
        auto formatter = format(pattern, language);
        if (formatter) {
            UErrorCode status = U_ZERO_ERROR;
            formatter->setContext(UDISPCTX_CAPITALIZATION_FOR_BEGINNING_OF_SENTENCE, status);
        }
        return formatter;
    }

    // The local calendar day a moment falls on, as a Julian day number; none when ICU cannot tell.
    std::optional<std::int32_t> dayNumber(Date date) const {
        if (!calendar) return std::nullopt;
        UErrorCode status = U_ZERO_ERROR;
        calendar->setTime(date.seconds * 1000.0, status);
        std::int32_t day = calendar->get(UCAL_JULIAN_DAY, status);
        if (U_FAILURE(status)) return std::nullopt;
        return day;
    }

    static std::string written(const icu::SimpleDateFormat* formatter, Date date) {
        if (!formatter) return {};
        icu::UnicodeString text;
        formatter->format(date.seconds * 1000.0, text);
        std::string out;
        text.toUTF8String(out);
        return out;
    }
};

WhenFormatter::WhenFormatter(Date now, std::string_view timeZone) : m_state(std::make_unique<State>()) {
    State& state = *m_state;
    if (timeZone.empty()) {
        state.zone.reset(icu::TimeZone::createDefault());
    } else {
        state.zone.reset(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(
            icu::StringPiece(timeZone.data(), static_cast<std::int32_t>(timeZone.size())))));
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale posix("en_US_POSIX");
    state.calendar.reset(icu::Calendar::createInstance(*state.zone, posix, status));
    if (U_FAILURE(status)) state.calendar.reset();
    state.language = icu::Locale(locale(currentLanguage()).c_str());
    state.time = state.format("HH:mm", posix);
    state.today = state.dayNumber(now);
    const Vocabulary& vocabulary = words();
    state.todayWord = vocabulary.today();
    state.yesterdayWord = vocabulary.yesterday();
}

WhenFormatter::~WhenFormatter() = default;

std::string WhenFormatter::operator()(Date date) const {
    State& state = *m_state;
    std::optional<std::int32_t> day = state.dayNumber(date);
    if (day && state.today) {
        if (*day == *state.today) return state.todayWord + " " + State::written(state.time.get(), date);
        if (*day == *state.today - 1)
            return state.yesterdayWord + " " + State::written(state.time.get(), date);
    }
    // Whole calendar days, not 24-hour spans: something from seven days ago at 23:00, read at
    // 10:00, would otherwise be named by today's weekday.
    if (day && state.today && *state.today - *day > 6) {
        if (!state.day) state.day = state.phrase("d MMM yyyy");
        return State::written(state.day.get(), date);
    }
    if (!state.weekday) state.weekday = state.phrase("EEEE HH:mm");
    return State::written(state.weekday.get(), date);
}

std::string when(Date date, Date now, std::string_view timeZone) {
    return WhenFormatter(now, timeZone)(date);
}

namespace {

using BookmarksPage::appendEscaped;

void appendRow(std::string& out, const Visit& visit, const WhenFormatter& when,
               const Vocabulary& vocabulary) {
    const std::string& label = visit.title.empty() ? visit.address : visit.title;
    out += "    <li>\n      <span class=\"who\">";
    if (PageFrame::isNavigable(visit.address)) {
        out += "<a class=\"name\" href=\"";
        appendEscaped(out, visit.address);
        out += "\">";
        appendEscaped(out, label);
        out += "</a>";
    } else {
        appendEscaped(out, label);
    }
    if (!visit.title.empty()) {
        out += "<span class=\"addr\">";
        appendEscaped(out, visit.address);
        out += "</span>";
    }
    out += "</span>\n      <span class=\"when\">";
    appendEscaped(out, when(visit.last));
    if (visit.visits >= 2) {
        out += "<br>";
        appendEscaped(out, vocabulary.visitCount(visit.visits));
    }
    out += "</span>\n      <span class=\"acts\"><a class=\"btn\" href=\"";
    appendEscaped(out, HistoryAction::forget(visit.address).href());
    out += "\">";
    appendEscaped(out, vocabulary.forget());
    out += "</a></span>\n    </li>";
}

} // namespace

std::string html(const std::vector<Visit>& visits, Date now, std::string_view timeZone) {
    const Vocabulary& vocabulary = words();
    const std::string title = vocabulary.history();
    std::string out;
    out.reserve(4096 + visits.size() * 512);
    PageFrame::appendHead(out, title, PageStyles::history);
    out += "\n<div class=\"sheet\">\n  <h1>";
    appendEscaped(out, title);
    out += "</h1>\n  <div class=\"rule\"></div>\n  <div class=\"top\">\n    <p class=\"sub\">";
    appendEscaped(out, vocabulary.historyCount(static_cast<std::int64_t>(visits.size())));
    out += "</p>\n    <span class=\"acts\">";
    if (!visits.empty()) {
        out += "<a class=\"btn\" href=\"";
        appendEscaped(out, HistoryAction::forgetAll().href());
        out += "\">";
        appendEscaped(out, vocabulary.clearHistory());
        out += "</a>";
    }
    out += "</span>\n  </div>\n  <ol>\n";
    if (visits.empty()) {
        out += "    <li class=\"none\">";
        appendEscaped(out, vocabulary.nowhereYet());
        out += "</li>";
    } else {
        WhenFormatter when(now, timeZone);
        for (std::size_t i = 0; i < visits.size(); ++i) {
            if (i > 0) out += '\n';
            appendRow(out, visits[i], when, vocabulary);
        }
    }
    out += "\n  </ol>\n  <div class=\"note\">";
    out += vocabulary.historyNote(); // carries its own markup
    out += "</div>\n</div>\n</body></html>";
    return out;
}

} // namespace nimb::HistoryPage
