#include "window/FindController.h"

#include "app/Application.h"
#include "chrome/FindBarView.h"
#include "engine/PageSetup.h"
#include "engine/ScriptValue.h"
#include "glib/Async.h"
#include "layout/WindowLayout.h"
#include "page/FindBar.h"
#include "page/PageScripts.h"
#include "window/ChromeController.h"
#include "window/ReportRequests.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/TabRef.h"
#include "window/WindowContext.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

namespace nimb {

namespace {

// The pixels at the foot of the page the bar covers: the script pads the page by as much.
constexpr int foot = static_cast<int>(WindowLayout::findBarHeight);
constexpr double slideSeconds = 0.22;
constexpr std::chrono::milliseconds frame{1000 / 60};

// A count or an index out of the script's answer; a missing or non-numeric value counts as 0.
std::int64_t number(const nlohmann::json& answer, const char* key) {
    auto found = answer.find(key);
    if (found == answer.end() || !found->is_number()) return 0;
    double value = found->get<double>();
    if (!std::isfinite(value) || value < 0) return 0;
    return static_cast<std::int64_t>(std::min(value, 1e9));
}

void callFind(Tab& tab, const std::string& query, int step, int covered, glib::AsyncCall call) {
    auto body = PageScripts::find();
    webkit_web_view_call_async_javascript_function(tab.view(), body.data(), static_cast<gssize>(body.size()),
                                                   PageSetup::findArguments(query, step, covered),
                                                   PageSetup::clientWorld, nullptr, tab.cancellable(),
                                                   call.callback, call.data);
}

} // namespace

FindController::FindController(WindowContext& context) : m_context(context) {}

FindController::~FindController() = default;

bool FindController::canFindAgain() const {
    return m_open && m_view && FindBar::query(m_view->text()).has_value();
}

void FindController::build() {
    if (m_view) return;
    m_view = std::make_unique<FindBarView>();
    FindBarView& view = *m_view;
    m_connections.push_back(view.onChange.connect([this] {
        run(0);
        m_context.application().actions().scheduleValidate();
    }));
    m_connections.push_back(view.onNext.connect([this] { run(1); }));
    m_connections.push_back(view.onPrevious.connect([this] { run(-1); }));
    m_connections.push_back(view.onClose.connect([this] { hide(); }));
    m_context.chrome().view().setFindBar(view.widget());
}

void FindController::open() {
    if (m_context.closed()) return;
    m_context.reports().closePopover();
    build();
    if (!m_open) {
        m_open = true;
        m_context.chrome().view().setFindSlide(m_slide);
        animate(1, nullptr);
        m_context.application().actions().scheduleValidate();
    }
    m_view->focusField();
    run(0);
}

void FindController::run(int step) {
    if (!m_open || !m_view) return;
    Tab* tab = m_context.tabs().currentTab();
    if (!tab) return;
    if (auto query = FindBar::query(m_view->text())) {
        find(*tab, *query, step);
        return;
    }
    clear(*tab);
    showTally({}, true, false);
}

void FindController::rerun() {
    if (m_open) run(0);
}

void FindController::find(Tab& tab, const std::string& query, int step) {
    auto call = glib::async(
        [](GObject* source, GAsyncResult* result, GError** error) {
            return glib::adoptGRef(webkit_web_view_call_async_javascript_function_finish(
                WEBKIT_WEB_VIEW(source), result, error));
        },
        [ref = TabRef(m_context, tab)](glib::GRefPtr<JSCValue> value, const glib::Error&) {
            auto locked = ref.lock();
            if (!locked || !locked.window->tabs().isCurrent(*locked.tab)) return;
            FindController& find = locked.window->find();
            if (!find.m_open) return;
            // An error, or anything but a dictionary, says nothing about the query's matches.
            auto answer = value ? ScriptValue::read(value.get(), {"count", "index"}) : nlohmann::json();
            if (!answer.is_object()) {
                find.showTally({}, true, false);
                return;
            }
            std::int64_t count = number(answer, "count");
            find.showTally(FindBar::tally(number(answer, "index"), count, true), count > 0, count > 0);
        });
    callFind(tab, query, step, foot, call);
}

void FindController::clear(Tab& tab) {
    callFind(tab, "", 0, 0, glib::AsyncCall{nullptr, nullptr});
}

void FindController::showTally(std::string tally, bool hasMatches, bool canStep) {
    m_view->setTally(std::move(tally));
    m_view->setHasMatches(hasMatches);
    m_view->setCanStep(canStep);
}

void FindController::hide() {
    if (!m_open) return;
    m_open = false;
    for (const auto& tab : m_context.tabs().all())
        clear(*tab);
    if (Tab* tab = m_context.tabs().currentTab()) gtk_widget_grab_focus(GTK_WIDGET(tab->view()));
    m_context.application().actions().scheduleValidate();
    animate(0, [this] { m_context.chrome().view().setFindSlide(std::nullopt); });
}

bool FindController::dismissIfShowing() {
    // Escape while the location field is edited belongs to the field.
    if (!m_open || m_context.chrome().editing()) return false;
    hide();
    return true;
}

void FindController::retitle() {
    if (m_view) m_view->retitle();
}

// ------------------------------------------------------------------------------------------------
// The slide: a cubic ease-out over 0.22 seconds, a frame every 1/60 second.

void FindController::animate(double target, std::function<void()> then) {
    m_timer.cancel();
    m_then = nullptr;
    if (std::abs(m_slide - target) < 0.001) {
        m_slide = target;
        m_context.chrome().view().setFindSlide(m_slide);
        if (then) then();
        return;
    }
    m_from = m_slide;
    m_to = target;
    m_then = std::move(then);
    m_started = g_get_monotonic_time();
    m_timer = glib::Source::timeout(frame, [this] { tick(); });
}

void FindController::tick() {
    if (m_context.closed()) return;
    double elapsed = static_cast<double>(g_get_monotonic_time() - m_started) / G_USEC_PER_SEC;
    double t = std::min(elapsed / slideSeconds, 1.0);
    m_slide = m_from + (m_to - m_from) * (1 - std::pow(1 - t, 3));
    m_context.chrome().view().setFindSlide(m_slide);
    if (t < 1) {
        m_timer = glib::Source::timeout(frame, [this] { tick(); });
        return;
    }
    if (auto then = std::exchange(m_then, nullptr)) then();
}

} // namespace nimb
