#pragma once

// What the controllers of one window share: the application, the window itself, and each other. The
// window makes one context and its controllers with it; a controller keeps a reference to the context
// and reaches its neighbours through it. The context holds no behaviour of its own, and asynchronous
// work holds it weakly (TabRef), so that nothing is done for a window that has closed.

#include "base/Date.h"

#include <gtk/gtk.h>

#include <memory>

namespace nimb {

class Application;
class BrowserWindowController;
class ChromeController;
class ClosedTabs;
class FindController;
class MarginController;
class Navigator;
class NoticeController;
class Preferences;
class RecordActions;
class ReportRequests;
class StatusController;
class TabList;
class TabOverflowController;
class ZoomController;
class PageLifecycle;

class WindowContext : public std::enable_shared_from_this<WindowContext> {
public:
    // Makes every controller; `stack` is the page area that holds the tabs' views.
    WindowContext(Application& application, BrowserWindowController& window, GtkWidget* stack);
    ~WindowContext();
    WindowContext(const WindowContext&) = delete;
    WindowContext& operator=(const WindowContext&) = delete;

    [[nodiscard]] Application& application() const { return m_application; }
    [[nodiscard]] Preferences& prefs() const;
    [[nodiscard]] Date now() const;
    [[nodiscard]] BrowserWindowController& window() const { return m_window; }
    [[nodiscard]] GtkWindow* gtkWindow() const;

    [[nodiscard]] ChromeController& chrome() const { return *m_chrome; }
    [[nodiscard]] TabList& tabs() const { return *m_tabs; }
    [[nodiscard]] StatusController& status() const { return *m_status; }
    [[nodiscard]] Navigator& navigator() const { return *m_navigator; }
    [[nodiscard]] ReportRequests& reports() const { return *m_reports; }
    [[nodiscard]] RecordActions& records() const { return *m_records; }
    [[nodiscard]] FindController& find() const { return *m_find; }
    [[nodiscard]] MarginController& margin() const { return *m_margin; }
    [[nodiscard]] TabOverflowController& overflow() const { return *m_overflow; }
    [[nodiscard]] NoticeController& notice() const { return *m_notice; }
    [[nodiscard]] ClosedTabs& closedTabs() const { return *m_closedTabs; }
    [[nodiscard]] ZoomController& zoom() const { return *m_zoom; }

    // Once the window has closed, nothing asynchronous acts for it any more.
    [[nodiscard]] bool closed() const { return m_closed; }
    void markClosed() { m_closed = true; }

private:
    Application& m_application;
    BrowserWindowController& m_window;
    std::unique_ptr<PageLifecycle> m_lifecycle;
    std::unique_ptr<ChromeController> m_chrome;
    std::unique_ptr<TabList> m_tabs;
    std::unique_ptr<StatusController> m_status;
    std::unique_ptr<Navigator> m_navigator;
    std::unique_ptr<ReportRequests> m_reports;
    std::unique_ptr<RecordActions> m_records;
    std::unique_ptr<FindController> m_find;
    std::unique_ptr<MarginController> m_margin;
    std::unique_ptr<TabOverflowController> m_overflow;
    std::unique_ptr<NoticeController> m_notice;
    std::unique_ptr<ClosedTabs> m_closedTabs;
    std::unique_ptr<ZoomController> m_zoom;
    bool m_closed = false;
};

} // namespace nimb
