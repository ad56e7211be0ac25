#include "window/TabOverflowController.h"

#include "chrome/TabOverflow.h"
#include "vocabulary/Language.h"
#include "window/ChromeController.h"
#include "window/TabList.h"
#include "window/WindowContext.h"

namespace nimb {

TabOverflowController::TabOverflowController(WindowContext& context) : m_context(context) {}

TabOverflowController::~TabOverflowController() = default;

void TabOverflowController::toggle(const TabStrip::Rect& caret) {
    if (isVisible()) {
        close();
        return;
    }
    TabStripView& strip = m_context.chrome().strip();
    std::vector<TabOverflow::Item> items;
    for (auto index : strip.layout().hiddenTabs()) {
        TabOverflow::Item item;
        item.index = index;
        item.label = strip.content().labels[static_cast<std::size_t>(index)];
        item.icon = glib::GRefPtr<GdkTexture>(strip.content().icon(index));
        items.push_back(std::move(item));
    }
    if (items.empty()) return;
    if (!m_view) {
        m_view = std::make_unique<TabOverflow>(m_context.gtkWindow(), m_context.chrome().root());
        m_picks = m_view->onPick.connect([this](std::int64_t index) { m_context.tabs().select(index); });
        retitle();
    }
    m_view->show(std::move(items), strip.widget(), caret);
}

void TabOverflowController::close() {
    if (m_view) m_view->close();
}

bool TabOverflowController::isVisible() const {
    return m_view && m_view->isVisible();
}

void TabOverflowController::retitle() {
    if (m_view) m_view->setName(words().hiddenTabs());
}

} // namespace nimb
