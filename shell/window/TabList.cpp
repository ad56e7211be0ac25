#include "window/TabList.h"

#include "app/Application.h"
#include "app/TabKeys.h"
#include "layout/TabStrip.h"
#include "window/BrowserWindowController.h"
#include "window/ChromeController.h"
#include "window/ClosedTabs.h"
#include "window/FindController.h"
#include "window/MarginController.h"
#include "window/StatusController.h"
#include "window/WindowContext.h"

#include <algorithm>
#include <utility>

namespace nimb {

TabList::TabList(WindowContext& context, GtkWidget* stack, TabObserver& observer)
    : m_context(context), m_stack(stack), m_observer(observer), m_views(context) {}

TabList::~TabList() {
    tearDownAll();
}

Tab* TabList::currentTab() const {
    if (m_current < 0 || m_current >= static_cast<Index>(m_tabs.size())) return nullptr;
    return m_tabs[static_cast<std::size_t>(m_current)].get();
}

Tab& TabList::add(bool background) {
    return insert(m_tabs.empty() ? 0 : m_current + 1, background);
}

Tab& TabList::insert(Index index, bool background) {
    auto tab = std::make_shared<Tab>(m_views.make(), m_observer);
    index = std::clamp<Index>(index, 0, static_cast<Index>(m_tabs.size()));
    m_tabs.insert(m_tabs.begin() + index, tab);
    // A tab put in before the current one moves it along.
    if (index <= m_current && m_tabs.size() > 1) ++m_current;
    gtk_stack_add_child(GTK_STACK(m_stack), GTK_WIDGET(tab->view()));
    if (background) {
        m_context.chrome().syncStrip();
        m_context.application().actions().scheduleValidate();
    } else {
        select(index);
    }
    return *tab;
}

void TabList::select(Index index) {
    if (index < 0 || index >= static_cast<Index>(m_tabs.size())) return;
    m_context.margin().unpin();
    // What was typed into the location field and not sent stays with the tab it was typed for.
    if (auto leaving = m_shown.lock(); leaving && !leaving->tornDown())
        leaving->typedLocation = m_context.chrome().typedText();
    m_current = index;
    auto& chosen = m_tabs[static_cast<std::size_t>(index)];
    m_shown = chosen;
    Tab& tab = *chosen;
    gtk_stack_set_visible_child(GTK_STACK(m_stack), GTK_WIDGET(tab.view()));
    gtk_widget_grab_focus(GTK_WIDGET(tab.view()));
    showCurrent();
    if (auto typed = std::exchange(tab.typedLocation, std::nullopt)) m_context.chrome().resumeTyping(*typed);
    m_context.find().rerun();
    m_context.application().actions().scheduleValidate();
}

void TabList::showCurrent() {
    m_context.chrome().showCurrentTab();
    m_context.status().syncShield();
    m_context.margin().refresh();
    m_context.chrome().syncProgress();
    m_context.status().showCurrentTab();
}

void TabList::close(Index index) {
    if (index < 0 || index >= static_cast<Index>(m_tabs.size())) return;
    auto next = TabStrip::selection(index, m_current, static_cast<Index>(m_tabs.size()));
    if (!next) {
        m_context.window().performClose();
        return;
    }
    auto tab = m_tabs[static_cast<std::size_t>(index)];
    m_context.closedTabs().remember(*tab, index);
    m_tabs.erase(m_tabs.begin() + index);
    tab->teardown();
    m_current = *next;
    select(*next);
}

void TabList::selectNext() {
    if (auto next = TabKeys::nextTab(m_current, static_cast<long>(m_tabs.size()))) select(*next);
}

void TabList::selectPrevious() {
    if (auto previous = TabKeys::previousTab(m_current, static_cast<long>(m_tabs.size()))) select(*previous);
}

void TabList::selectNumber(int number) {
    if (auto index = TabKeys::tabForNumber(number, static_cast<long>(m_tabs.size()))) select(*index);
}

void TabList::tearDownAll() {
    for (const auto& tab : m_tabs)
        tab->teardown();
    m_tabs.clear();
    m_current = 0;
}

} // namespace nimb
