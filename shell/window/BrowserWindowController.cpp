#include "window/BrowserWindowController.h"

#include "app/Application.h"
#include "app/Dialogs.h"
#include "app/Menus.h"
#include "app/TabKeys.h"
#include "chrome/ChromeStyle.h"
#include "vocabulary/Language.h"
#include "window/ChromeController.h"
#include "window/FindController.h"
#include "window/MarginController.h"
#include "window/Navigator.h"
#include "window/NoticeController.h"
#include "window/ReportRequests.h"
#include "window/StatusController.h"
#include "window/TabList.h"
#include "window/TabOverflowController.h"
#include "window/WindowContext.h"
#include "window/WindowSizing.h"

namespace nimb {

namespace {

constexpr const char* controllerKey = "nimb-browser-window-controller";
// The mouse's side buttons, as X numbers them.
constexpr guint backButton = 8;
constexpr guint forwardButton = 9;

} // namespace

BrowserWindowController* BrowserWindowController::of(GtkWindow* window) {
    if (!window) return nullptr;
    return static_cast<BrowserWindowController*>(g_object_get_data(G_OBJECT(window), controllerKey));
}

BrowserWindowController::BrowserWindowController(Passkey, Application& application)
    : m_application(application) {}

BrowserWindowController::~BrowserWindowController() = default;

BrowserWindowController& BrowserWindowController::make(Application& application,
                                                       const std::optional<Url>& address) {
    auto controller = std::make_shared<BrowserWindowController>(Passkey{}, application);
    application.windows().add(controller);
    controller->build();
    WindowContext& context = controller->context();
    Tab& first = *context.tabs().currentTab();
    if (address)
        context.navigator().load(*address, first);
    else
        context.navigator().goHome(first);
    ChromeStyle::install();
    gtk_window_present(controller->m_window);
    application.actions().scheduleValidate();
    return *controller;
}

void BrowserWindowController::build() {
    m_window = GTK_WINDOW(gtk_application_window_new(m_application.gtk()));
    g_object_set_data(G_OBJECT(m_window), controllerKey, this);
    gtk_window_set_title(m_window, Menus::applicationName);
    WindowSizing::apply(m_window, m_application.profile().preferences());
    gtk_widget_add_css_class(GTK_WIDGET(m_window), "nimb");
    gtk_application_window_set_show_menubar(GTK_APPLICATION_WINDOW(m_window), TRUE);

    m_connections.push_back(glib::connect<gboolean(GtkWindow*)>(
        m_window, "close-request", [this](GtkWindow*) { return shouldClose() ? FALSE : TRUE; }));
    m_connections.push_back(
        glib::connect<void(GtkWidget*)>(m_window, "destroy", [this](GtkWidget*) { willClose(); }));
    m_connections.push_back(glib::connect<void(GObject*, GParamSpec*)>(
        m_window, "notify::is-active",
        [this](GObject*, GParamSpec*) { m_application.actions().scheduleValidate(); }));

    // The tab keys are seen before anything in the window, the page included.
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    m_connections.push_back(glib::connect<gboolean(GtkEventControllerKey*, guint, guint, GdkModifierType)>(
        keys, "key-pressed", [this](GtkEventControllerKey*, guint keyval, guint, GdkModifierType state) {
            return tabKey(keyval, state) ? TRUE : FALSE;
        }));
    gtk_widget_add_controller(GTK_WIDGET(m_window), keys);

    // The mouse's back and forward buttons, wherever the pointer is in the window: taken before the
    // page sees them, so that one press goes one step.
    GtkGesture* sideButtons = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(sideButtons), 0);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(sideButtons), GTK_PHASE_CAPTURE);
    m_connections.push_back(glib::connect<void(GtkGestureClick*, int, double, double)>(
        sideButtons, "pressed", [this](GtkGestureClick* gesture, int, double, double) {
            guint button = gtk_gesture_single_get_current_button(GTK_GESTURE_SINGLE(gesture));
            if (button != backButton && button != forwardButton) {
                gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_DENIED);
                return;
            }
            gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
            if (button == backButton)
                m_context->navigator().goBack();
            else
                m_context->navigator().goForward();
        }));
    gtk_widget_add_controller(GTK_WIDGET(m_window), GTK_EVENT_CONTROLLER(sideButtons));

    GtkWidget* stack = gtk_stack_new();
    gtk_stack_set_transition_type(GTK_STACK(stack), GTK_STACK_TRANSITION_TYPE_NONE);
    m_context = std::make_shared<WindowContext>(m_application, *this, stack);

    // The strip is the title bar: the window draws no title bar of its own, and the window's buttons
    // stand in the strip.
    GtkWidget* titlebar = gtk_label_new(nullptr);
    gtk_widget_set_visible(titlebar, FALSE);
    gtk_window_set_titlebar(m_window, titlebar);
    gtk_window_set_child(m_window, m_context->chrome().root());
    m_context->chrome().rebuildBookmarks();
    m_context->chrome().retitle();
    m_context->notice().refresh();
    m_context->tabs().add(false);
}

bool BrowserWindowController::tabKey(guint keyval, GdkModifierType state) {
    auto command = TabKeys::decide(keyval, state);
    if (!command) return false;
    TabList& tabs = m_context->tabs();
    switch (command->kind) {
    case TabKeys::Command::Kind::selectNumber:
        tabs.selectNumber(command->number);
        return true;
    case TabKeys::Command::Kind::nextTab:
        tabs.selectNext();
        return true;
    case TabKeys::Command::Kind::previousTab:
        tabs.selectPrevious();
        return true;
    case TabKeys::Command::Kind::dismissFind:
        // Escape closes an open bubble first.
        if (m_context->reports().popoverVisible() || m_context->overflow().isVisible()) {
            m_context->reports().closePopover();
            m_context->overflow().close();
            return true;
        }
        // Then the find bar, unless the location field is being edited: its Escape is its own.
        return m_context->find().dismissIfShowing();
    }
    return false;
}

void BrowserWindowController::performClose() {
    if (m_window && !m_context->closed()) gtk_window_close(m_window);
}

bool BrowserWindowController::shouldClose() {
    if (m_closing) return true;
    // One question at a time: not while this window, or the application, already asks one.
    if (m_asking || m_application.asking()) return false;
    std::weak_ptr<BrowserWindowController> weak = weak_from_this();
    // An answer to the tabs' question holds for this one attempt to close only.
    bool tabsAgreed = std::exchange(m_tabsAgreed, false);
    auto count = m_context->tabs().size();
    if (count >= 2 && !tabsAgreed) {
        m_asking = true;
        Dialogs::confirm(m_window, words().closeWindowQuestion(),
                         words().closeWindowDetail(static_cast<std::int64_t>(count)), words().closeWindow(),
                         [weak](bool close) {
                             auto self = weak.lock();
                             if (!self) return;
                             self->m_asking = false;
                             if (!close) return;
                             // On to the next question, if there is one.
                             self->m_tabsAgreed = true;
                             self->performClose();
                         });
        return false;
    }
    // The last window ends the run: then the changes still waiting to be saved are asked about.
    if (m_application.windows().size() == 1) {
        auto close = [weak] {
            auto self = weak.lock();
            if (!self) return;
            self->m_closing = true;
            self->performClose();
        };
        if (!m_application.mayEndRun(this, close)) return false;
    }
    return true;
}

void BrowserWindowController::willClose() {
    if (m_context->closed()) return;
    m_context->markClosed();
    auto self = shared_from_this(); // the list lets go below; this lives until the handler returns
    // When the run ends, the application keeps the size of the window the user was in instead.
    if (!m_application.ending()) WindowSizing::remember(m_window, m_application.profile().preferences());
    m_context->tabs().tearDownAll();
    m_application.windows().remove(*this);
    m_application.actions().scheduleValidate();
    m_connections.clear();
}

void BrowserWindowController::languageChanged() {
    ChromeController& chrome = m_context->chrome();
    chrome.retitle();
    chrome.rebuildBookmarks();
    m_context->find().retitle();
    m_context->margin().retitle();
    m_context->notice().refresh();
    m_context->reports().retitle();
    m_context->overflow().retitle();
    m_context->find().rerun();
    m_context->tabs().showCurrent();
    auto tabs = m_context->tabs().all();
    for (const auto& tab : tabs)
        if (tab->localPage) m_context->navigator().reload(*tab); // drawn again where it stands
    m_context->status().setStatus(words().nowSpeaking());
}

} // namespace nimb
