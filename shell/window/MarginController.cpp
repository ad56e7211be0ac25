#include "window/MarginController.h"

#include "app/Application.h"
#include "base/Url.h"
#include "chrome/MarginaliaView.h"
#include "engine/WebEngine.h"
#include "library/Marginalia.h"
#include "pages/MarginaliaPage.h"
#include "preferences/Preferences.h"
#include "window/ChromeController.h"
#include "window/Navigator.h"
#include "window/RecordActions.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

namespace nimb {

MarginController::MarginController(WindowContext& context) : m_context(context) {}

MarginController::~MarginController() = default;

void MarginController::toggle() {
    if (m_open)
        close();
    else
        open();
}

void MarginController::showFor(std::string_view address) {
    m_pinned = std::string(address);
    if (m_open)
        refresh();
    else
        open();
}

void MarginController::hide() {
    if (m_open) close();
}

void MarginController::open() {
    if (!m_view) {
        m_view = std::make_unique<MarginaliaView>(m_context.application().engine().makeGeneratedPageView());
        auto& view = *m_view;
        m_connections.push_back(view.onClose.connect([this] { hide(); }));
        m_connections.push_back(view.onAction.connect(
            [this](const BookmarkAction& action) { m_context.records().apply(action, nullptr); }));
        m_connections.push_back(view.onOpen.connect([this](const std::string& address) {
            auto url = Url::parse(address);
            if (!url || m_context.closed()) return;
            Tab& tab = m_context.tabs().add(false);
            m_context.navigator().load(*url, tab);
        }));
    }
    m_open = true;
    update();
    refresh();
}

void MarginController::close() {
    m_open = false;
    m_pinned.reset();
    update();
}

void MarginController::update() {
    if (m_context.closed()) return;
    m_context.chrome().view().setMargin(m_view ? m_view->widget() : nullptr, m_open);
    m_context.application().actions().scheduleValidate();
}

std::optional<std::string> MarginController::here() const {
    if (m_pinned) return m_pinned;
    Tab* tab = m_context.tabs().currentTab();
    auto page = tab && m_context.records().canAnnotate() ? tab->viewAddress() : std::nullopt;
    if (!page) return std::nullopt;
    return Marginalia::home(*page, m_context.prefs().bookmarks()).value_or(*page);
}

void MarginController::refresh() {
    if (!m_open || !m_view || m_context.closed()) return;
    auto shown = here();
    const Preferences& prefs = m_context.prefs();
    auto shelves = Marginalia::shelves(prefs.notes(), prefs.bookmarks(), shown);
    m_view->load(MarginaliaPage::html(shelves, shown, m_context.now()));
}

void MarginController::retitle() {
    if (!m_view) return;
    m_view->retitle();
    m_context.chrome().view().relayout();
}

} // namespace nimb
