#include "window/ReportRequests.h"

#include "app/Application.h"
#include "base/Domain.h"
#include "chrome/ReportPopover.h"
#include "engine/ScriptValue.h"
#include "engine/WebEngine.h"
#include "glib/Async.h"
#include "glib/GRefPtr.h"
#include "location/LocationBar.h"
#include "page/PageScripts.h"
#include "page/RequestTally.h"
#include "preferences/Preferences.h"
#include "report/KeptReports.h"
#include "report/NimbReportPage.h"
#include "vocabulary/Language.h"
#include "window/ChromeController.h"
#include "window/Navigator.h"
#include "window/StatusController.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/TabRef.h"
#include "window/WindowContext.h"

namespace nimb {

ReportRequests::ReportRequests(WindowContext& context) : m_context(context) {}

ReportRequests::~ReportRequests() = default;

void ReportRequests::askThePage(Tab& tab, Answer then) {
    std::string address = tab.address().value_or("");
    const char* viewTitle = webkit_web_view_get_title(tab.view());
    std::string title = viewTitle ? viewTitle : "";
    auto empty = [&] {
        NimbReport report;
        report.address = address;
        return report;
    };
    const Preferences& prefs = m_context.prefs();
    if (tab.localPage) return then(empty(), Unavailable::localPage);
    if (!prefs.nimbReportEnabled()) return then(empty(), Unavailable::recordingOff);
    if (!prefs.javaScriptEnabled()) {
        // The page's scripts cannot be asked, but the request witness counted what it sent.
        if (!m_context.application().engine().witnessAtWork())
            return then(empty(), Unavailable::scriptingOff);
        NimbReport report = empty();
        report.title = title;
        report.recorded = true;
        report.scriptsRead = false;
        withWitness(tab, report);
        return then(std::move(report), std::nullopt);
    }

    auto script = PageScripts::snapshot();
    auto call = glib::async(
        [](GObject* source, GAsyncResult* result, GError** error) {
            return glib::adoptGRef(
                webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, error));
        },
        [ref = TabRef(m_context, tab), then = std::move(then), address, title](glib::GRefPtr<JSCValue> value,
                                                                               const glib::Error&) {
            auto locked = ref.lock();
            if (!locked) return;
            auto text = value ? ScriptValue::text(value.get()) : std::nullopt;
            if (!text) {
                NimbReport report;
                report.address = address;
                return then(std::move(report), Unavailable::notRecorded);
            }
            NimbReport report = NimbReport::parse(*text, address, title);
            locked.window->reports().withWitness(*locked.tab, report);
            then(std::move(report), std::nullopt);
        });
    webkit_web_view_evaluate_javascript(tab.view(), script.data(), static_cast<gssize>(script.size()),
                                        nullptr, nullptr, tab.cancellable(), call.callback, call.data);
}

void ReportRequests::withWitness(const Tab& tab, NimbReport& report) const {
    // A page that began before the blocklist was attached was not guarded by it.
    report.blockingOn = m_context.prefs().contentBlockingEnabled() && !tab.unfiltered;
    if (tab.witness) {
        report.merge(*tab.witness);
        report.witness = NimbReport::Witness::counted;
    } else {
        // At work, the witness has simply not said yet (it says when the document has loaded).
        report.witness = m_context.application().engine().witnessAtWork() ? NimbReport::Witness::counted
                                                                          : NimbReport::Witness::absent;
    }
    // The favicon store's fetches for the page: refused ones as blocked, others as other sites'.
    WitnessCounts icons;
    for (const auto& address : tab.blockedIcons) {
        std::string host = Domain::hostOf(address);
        if (!host.empty()) icons.blocked[host] = 1;
    }
    for (const auto& host : tab.iconHosts)
        icons.other[host] = 1;
    report.merge(icons);
}

void ReportRequests::askAndRender(Tab& tab, NimbReportPage::View view, const std::string& query) {
    askThePage(tab, [this, ref = TabRef(m_context, tab), view, query](NimbReport report,
                                                                      std::optional<Unavailable> reason) {
        auto locked = ref.lock();
        if (!locked) return;
        locked.tab->reported = Tab::Reported{report, reason};
        render(*locked.tab, report, reason, view, query, std::nullopt);
    });
}

void ReportRequests::show(Tab& tab) {
    if (tab.localPage == LocationBar::aboutReport) return;
    askAndRender(tab, NimbReportPage::View::overview, "");
}

void ReportRequests::render(Tab& tab, const NimbReport& report, std::optional<Unavailable> reason,
                            NimbReportPage::View view, const std::string& query,
                            const std::optional<SavedReport>& saved, bool inPlace) {
    tab.reportPage =
        Tab::ReportPage{view, query, saved ? std::optional<std::string>(saved->id) : std::nullopt};
    tab.reported = Tab::Reported{report, reason};
    auto placement = inPlace ? Navigator::Placement::inPlace : Navigator::Placement::newEntry;
    std::uint64_t entry = m_context.navigator().showLocal(LocationBar::aboutReport, tab, placement);
    // The engine asks for the page once this has returned.
    tab.reportDrawings[entry] = Tab::ReportDrawing{*tab.reported, *tab.reportPage};
    while (tab.reportDrawings.size() > Tab::keptReportDrawings)
        tab.reportDrawings.erase(tab.reportDrawings.begin());
}

std::string ReportRequests::draw(Tab& tab, std::uint64_t entry) {
    auto drawing = tab.reportDrawings.find(entry);
    if (drawing == tab.reportDrawings.end()) {
        NimbReport none;
        return NimbReportPage::html(none, Unavailable::notRecorded, false, NimbReportPage::View::overview, "",
                                    std::nullopt, m_context.now());
    }
    const auto& [reported, page] = drawing->second;
    std::optional<SavedReport> saved =
        page.saved ? KeptReports::find(m_context.prefs(), *page.saved) : std::nullopt;
    const NimbReport& report = saved ? KeptReports::report(*saved) : reported.report;
    return NimbReportPage::html(report, saved ? std::nullopt : reported.reason, false, page.view, page.query,
                                saved, m_context.now());
}

void ReportRequests::keep(Tab& tab) {
    StatusController& status = m_context.status();
    if (tab.localPage != LocationBar::aboutReport || !tab.reported || tab.reported->reason) {
        status.setStatus(words().nothingToKeep());
        return;
    }
    NimbReport report = tab.reported->report;
    SavedReport kept = KeptReports::keep(m_context.prefs(), report, m_context.now());
    m_context.application().windows().savedReportsChanged();
    status.setStatusOnceSaved(words().reportKept(KeptReports::site(kept)));
    auto page = tab.reportPage.value_or(Tab::ReportPage{});
    render(tab, report, std::nullopt, page.view, page.query, kept, true);
}

void ReportRequests::apply(const ReportAction& action, Tab& tab) {
    Navigator& navigator = m_context.navigator();
    switch (action.kind) {
    case ReportAction::Kind::keep:
        keep(tab);
        return;
    case ReportAction::Kind::list:
        navigator.go(LocationBar::Destination::savedReports, tab);
        return;
    case ReportAction::Kind::forget: {
        auto removed = KeptReports::forget(m_context.prefs(), action.id);
        if (!removed) {
            m_context.status().setStatus(words().nothingToChange());
            return;
        }
        m_context.status().setStatusOnceSaved(words().reportForgotten(KeptReports::site(*removed)));
        m_context.application().windows().savedReportsChanged();
        if (tab.localPage != LocationBar::aboutReports)
            navigator.go(LocationBar::Destination::savedReports, tab);
        return;
    }
    case ReportAction::Kind::show:
        break;
    }

    if (action.saved) {
        auto kept = KeptReports::find(m_context.prefs(), *action.saved);
        if (!kept) {
            navigator.go(LocationBar::Destination::savedReports, tab);
            return;
        }
        render(tab, KeptReports::report(*kept), std::nullopt, action.view, action.query, kept);
        return;
    }
    if (tab.localPage == LocationBar::aboutReport && tab.reported) {
        auto reported = *tab.reported;
        render(tab, reported.report, reported.reason, action.view, action.query, std::nullopt);
        return;
    }
    closePopover();
    askAndRender(tab, action.view, action.query);
}

void ReportRequests::togglePopover() {
    if (popoverVisible()) {
        closePopover();
        return;
    }
    Tab* tab = m_context.tabs().currentTab();
    if (!tab) return;
    askThePage(*tab, [ref = TabRef(m_context, *tab)](NimbReport report, std::optional<Unavailable> reason) {
        auto locked = ref.lock();
        if (!locked || !locked.window->tabs().isCurrent(*locked.tab)) return;
        WindowContext& context = *locked.window;
        ReportRequests& self = context.reports();
        if (!self.m_popover) {
            GtkWidget* web = context.application().engine().makeGeneratedPageView();
            self.m_popover =
                std::make_unique<ReportPopover>(context.gtkWindow(), context.chrome().root(), web);
            self.retitle();
            self.m_popoverOpens = self.m_popover->onOpen.connect(
                [&self](const std::string& address) { self.openFromPopover(address); });
        }
        std::string html = NimbReportPage::html(report, reason, true, NimbReportPage::View::overview, "",
                                                std::nullopt, context.now());
        self.m_popover->present(html, context.chrome().view().shieldWidget());
    });
}

void ReportRequests::closePopover() {
    if (m_popover) m_popover->close();
}

void ReportRequests::retitle() {
    if (m_popover) m_popover->setName(words().nimbReport());
}

bool ReportRequests::popoverVisible() const {
    return m_popover && m_popover->isVisible();
}

void ReportRequests::openFromPopover(const std::string& address) {
    auto url = Url::parse(address);
    Tab* tab = m_context.tabs().currentTab();
    if (!url || !tab) return;
    if (auto action = ReportAction::fromUrl(*url)) {
        apply(*action, *tab);
        return;
    }
    // Other internal addresses are not the panel's to ask for; only a web address opens.
    if (!LocationBar::isNavigableScheme(url->view().scheme())) return;
    Tab& opened = m_context.tabs().add(false);
    m_context.navigator().load(*url, opened);
}

} // namespace nimb
