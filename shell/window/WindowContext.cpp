#include "window/WindowContext.h"

#include "app/Application.h"
#include "window/BrowserWindowController.h"
#include "window/ChromeController.h"
#include "window/ClosedTabs.h"
#include "window/FindController.h"
#include "window/MarginController.h"
#include "window/Navigator.h"
#include "window/NoticeController.h"
#include "window/PageLifecycle.h"
#include "window/RecordActions.h"
#include "window/ReportRequests.h"
#include "window/StatusController.h"
#include "window/TabList.h"
#include "window/TabOverflowController.h"
#include "window/ZoomController.h"

namespace nimb {

WindowContext::WindowContext(Application& application, BrowserWindowController& window, GtkWidget* stack)
    : m_application(application), m_window(window) {
    // Constructors only keep their references: nothing calls a neighbour before all are made.
    m_lifecycle = std::make_unique<PageLifecycle>(*this, window.window());
    m_chrome = std::make_unique<ChromeController>(*this, stack);
    m_tabs = std::make_unique<TabList>(*this, stack, *m_lifecycle);
    m_status = std::make_unique<StatusController>(*this);
    m_navigator = std::make_unique<Navigator>(*this);
    m_reports = std::make_unique<ReportRequests>(*this);
    m_records = std::make_unique<RecordActions>(*this);
    m_find = std::make_unique<FindController>(*this);
    m_margin = std::make_unique<MarginController>(*this);
    m_overflow = std::make_unique<TabOverflowController>(*this);
    m_notice = std::make_unique<NoticeController>(*this);
    m_closedTabs = std::make_unique<ClosedTabs>(*this);
    m_zoom = std::make_unique<ZoomController>(*this);
}

WindowContext::~WindowContext() = default;

Preferences& WindowContext::prefs() const {
    return m_application.profile().preferences();
}

Date WindowContext::now() const {
    return m_application.now();
}

GtkWindow* WindowContext::gtkWindow() const {
    return m_window.window();
}

} // namespace nimb
