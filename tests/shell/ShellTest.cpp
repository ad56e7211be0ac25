#include "ShellTest.h"

#include "FixtureVariables.h"
#include "MainLoop.h"
#include "location/LocationBar.h"
#include "storage/SqliteStore.h"

#include <algorithm>
#include <gdk/x11/gdkx.h>
#include <gtk/gtk.h>

namespace nimb::test {

namespace {

bool displayAvailable() {
    static const bool available = [] {
        g_set_prgname("nimb-shell-tests");
        return gtk_init_check() != FALSE;
    }();
    return available;
}

int applications = 0;

// Every load a web view finishes, counted by view, from an emission hook so that no load goes
// unseen between an action and the wait for it.
std::map<WebKitWebView*, std::size_t>& finishedLoads() {
    static auto* loads = new std::map<WebKitWebView*, std::size_t>;
    return *loads;
}

gboolean loadChanged(GSignalInvocationHint*, guint count, const GValue* values, gpointer) {
    if (count < 2) return TRUE;
    auto* view = WEBKIT_WEB_VIEW(g_value_get_object(&values[0]));
    if (static_cast<WebKitLoadEvent>(g_value_get_enum(&values[1])) == WEBKIT_LOAD_FINISHED)
        ++finishedLoads()[view];
    return TRUE;
}

void countLoads() {
    static const bool hooked = [] {
        g_type_class_unref(g_type_class_ref(WEBKIT_TYPE_WEB_VIEW));
        g_signal_add_emission_hook(g_signal_lookup("load-changed", WEBKIT_TYPE_WEB_VIEW), 0, loadChanged,
                                   nullptr, nullptr);
        return true;
    }();
    (void)hooked;
}

} // namespace

void ShellTest::SetUp() {
    if (!displayAvailable()) GTEST_SKIP() << "no display: run under tools/run-headless";
    countLoads();
    finishedLoads().clear();
    setCurrentLanguage(Language::english);
    ASSERT_TRUE(m_proxy.start());
    m_variables = blocklistVariables();
    m_proxy.setVariables(m_variables);

    m_profile = std::make_unique<TemporaryDirectory>();
    // Each application of the process has an id of its own, so that several can come and go in one
    // run without meeting on the session bus.
    m_options.id = "net.nimb2000.Nimb.Test" + std::to_string(++applications);
    m_directories = UserDirectories{m_profile->file("data"), m_profile->file("cache")};
    m_directories.create();
    m_options.directories = m_directories;
    m_options.httpProxy = m_proxy.address();
    m_options.preferredLanguages = std::vector<std::string>{"en_US.UTF-8", "en"};
    // The home page is the browser's own, not a search engine's start page out on the web.
    seed([](Preferences& stored) { stored.setHomePage(LocationBar::aboutHome); });
    configure();
    start();
}

void ShellTest::seed(const std::function<void(Preferences&)>& write) {
    std::string error;
    auto store = SqliteStore::open(m_directories.preferencesFile(), &error);
    ASSERT_TRUE(store) << error;
    Preferences stored(std::move(store));
    write(stored);
}

void ShellTest::start() {
    m_app = std::make_unique<Application>(m_options);
    ASSERT_TRUE(m_app->launch());
    ASSERT_EQ(app().windows().size(), 1u);
    ASSERT_TRUE(waitForLoad(tab()));
}

void ShellTest::TearDown() {
    if (m_app) {
        m_app.reset();
        drain();
    }
    m_proxy.stop();
    setCurrentLanguage(Language::english);
}

BrowserWindowController& ShellTest::window() {
    auto* front = m_app ? m_app->windows().active() : nullptr;
    if (!front) throw std::runtime_error("no window is open");
    return *front;
}

BrowserWindowController& ShellTest::window(std::size_t index) {
    return app().windows().at(index);
}

Tab& ShellTest::tab() {
    Tab* current = tabs().currentTab();
    if (!current) throw std::runtime_error("the window has no tab");
    return *current;
}

void ShellTest::type(const std::string& text, BrowserWindowController* in) {
    GtkWidget* field = (in ? *in : window()).context().chrome().view().locationField();
    gtk_widget_grab_focus(field);
    gtk_editable_set_text(GTK_EDITABLE(field), text.c_str());
    g_signal_emit_by_name(field, "activate");
}

std::size_t ShellTest::loadsFinished(Tab& loading) {
    return finishedLoads()[loading.view()];
}

bool ShellTest::waitForLoad(Tab& loading, std::chrono::milliseconds deadline) {
    return waitForLoadAfter(loading, m_waitedLoads[loading.view()], deadline);
}

bool ShellTest::waitForLoadAfter(Tab& loading, std::size_t after, std::chrono::milliseconds deadline) {
    WebKitWebView* view = loading.view();
    bool done = waitUntil([&] { return finishedLoads()[view] > after && !webkit_web_view_is_loading(view); },
                          deadline);
    m_waitedLoads[view] = finishedLoads()[view];
    return done;
}

bool ShellTest::waitForOwnPage(Tab& in, std::string_view address, std::chrono::milliseconds deadline) {
    bool shown = waitUntil(
        [&] {
            auto entry = in.committedEntry();
            return in.documentIsGenerated && entry && entry->internalAddress == address &&
                   in.localPage == std::string(address) && !webkit_web_view_is_loading(in.view());
        },
        deadline);
    m_waitedLoads[in.view()] = loadsFinished(in);
    return shown;
}

ShellTest::AtNextCommit::AtNextCommit(WebKitWebView* view)
    : m_view(view), m_signal(g_signal_lookup("load-changed", WEBKIT_TYPE_WEB_VIEW)),
      m_hook(g_signal_add_emission_hook(m_signal, 0, &AtNextCommit::heard, this, nullptr)) {}

ShellTest::AtNextCommit::~AtNextCommit() {
    g_signal_remove_emission_hook(m_signal, m_hook);
}

gboolean ShellTest::AtNextCommit::heard(GSignalInvocationHint*, guint, const GValue* values, gpointer self) {
    // An emission hook runs as the signal is emitted, before every handler connected to it.
    auto* at = static_cast<AtNextCommit*>(self);
    if (at->m_act && g_value_get_object(&values[0]) == at->m_view &&
        g_value_get_enum(&values[1]) == WEBKIT_LOAD_COMMITTED)
        std::exchange(at->m_act, nullptr)();
    return TRUE;
}

bool ShellTest::nextFrame(BrowserWindowController* in) {
    GtkWidget* root = GTK_WIDGET((in ? *in : window()).window());
    GdkFrameClock* clock = gtk_widget_get_frame_clock(root);
    if (!clock) return false;
    // Something must be drawn for a frame to come at all, and one drawn request gives one frame. The
    // frame under way when we ask may have begun before our changes: the second is wholly after them.
    for (int frame = 0; frame < 2; ++frame) {
        gint64 before = gdk_frame_clock_get_frame_counter(clock);
        gtk_widget_queue_draw(root);
        gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_LAYOUT);
        if (!waitUntil([&] { return gdk_frame_clock_get_frame_counter(clock) > before; }, 10s)) return false;
    }
    drain();
    return true;
}

void ShellTest::settleInput() {
    // A round trip to the X server brings every event it made for us so far. GTK hands input to its
    // widgets at the start of the window's next frame, and what they leave for later runs once the
    // loop is idle: a frame, then a drain.
    gdk_display_sync(gdk_display_get_default());
    drain();
    if (!app().windows().empty()) nextFrame();
    drain();
}

bool ShellTest::visit(const std::string& address, BrowserWindowController* in) {
    BrowserWindowController& target = in ? *in : window();
    Tab* typedIn = target.context().tabs().currentTab();
    std::size_t before = typedIn ? loadsFinished(*typedIn) : 0;
    type(address, &target);
    bool done = waitUntil(
        [&] {
            Tab* current = target.context().tabs().currentTab();
            auto uri = current ? current->viewAddress() : std::nullopt;
            return uri && uri->starts_with(address.substr(0, address.find('#'))) &&
                   (current != typedIn || loadsFinished(*current) > before) &&
                   !webkit_web_view_is_loading(current->view());
        },
        20s);
    if (Tab* current = target.context().tabs().currentTab())
        m_waitedLoads[current->view()] = loadsFinished(*current);
    return done;
}

bool ShellTest::waitForStatus(const std::string& wanted, std::chrono::milliseconds deadline) {
    return waitUntil([&] { return status() == wanted; }, deadline);
}

std::optional<nlohmann::json> ShellTest::evaluate(Tab& in, const std::string& script) {
    return evaluateIn(in.view(), script);
}

std::string ShellTest::pageText(Tab& in) {
    auto text = evaluate(in, "document.body ? document.body.innerText : ''");
    return text && text->is_string() ? text->get<std::string>() : "";
}

bool ShellTest::xdotool(BrowserWindowController& target, const std::vector<std::string>& arguments) {
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(target.window()));
    if (!surface || !GDK_IS_X11_SURFACE(surface)) return false;
    std::string id = std::to_string(gdk_x11_surface_get_xid(surface));
    auto run = [&](std::vector<std::string> command) {
        command.insert(command.begin(), "xdotool");
        // The loop keeps turning while xdotool works, so the window can answer the X server.
        auto status = waitForExit(spawn(command), 10s);
        return status && g_spawn_check_wait_status(*status, nullptr);
    };
    if (!run({"windowfocus", "--sync", id})) return false;
    settleInput();
    bool done = run(arguments);
    settleInput();
    return done;
}

std::vector<std::string> ShellTest::pointAt(GtkWidget* widget, double x, double y) {
    // The widget's own surface: the window's, or a bubble's standing over it.
    GtkNative* native = gtk_widget_get_native(widget);
    if (!native) return {};
    GtkWidget* root = GTK_WIDGET(native);
    graphene_point_t in = GRAPHENE_POINT_INIT(static_cast<float>(x), static_cast<float>(y));
    graphene_point_t out;
    if (!gtk_widget_compute_point(widget, root, &in, &out)) return {};
    double dx = 0;
    double dy = 0;
    gtk_native_get_surface_transform(GTK_NATIVE(root), &dx, &dy);
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(root));
    return {"mousemove", "--window", std::to_string(gdk_x11_surface_get_xid(surface)),
            std::to_string(static_cast<int>(out.x + dx)), std::to_string(static_cast<int>(out.y + dy))};
}

bool ShellTest::click(GtkWidget* widget, double x, double y, int button) {
    auto command = pointAt(widget, x, y);
    command.insert(command.end(), {"click", std::to_string(button)});
    return xdotool(window(), command);
}

bool ShellTest::clickOnArrival(GtkWidget* widget, double x, double y) {
    GtkEventController* motion = gtk_event_controller_motion_new();
    gtk_widget_add_controller(widget, motion);
    auto inside = [&] {
        return gtk_event_controller_motion_contains_pointer(GTK_EVENT_CONTROLLER_MOTION(motion)) != 0;
    };
    auto move = [&](double px, double py, const char* button) {
        auto command = pointAt(widget, px, py);
        if (button) command.insert(command.end(), {button, "1"});
        return xdotool(window(), command);
    };
    bool done = move(std::max(0.0, x - 6), std::max(0.0, y - 4), nullptr) && move(x, y, nullptr) &&
                waitUntil(inside, 5s) && move(x, y, "mousedown") && move(x, y, "mouseup");
    gtk_widget_remove_controller(widget, motion);
    return done;
}

GtkWidget* ShellTest::dialog() {
    GListModel* toplevels = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
        auto* widget = static_cast<GtkWidget*>(g_list_model_get_item(toplevels, i));
        g_object_unref(widget);
        if (GTK_IS_MESSAGE_DIALOG(widget) && gtk_widget_get_visible(widget)) return widget;
    }
    return nullptr;
}

std::string ShellTest::dialogText(GtkWidget* shown, const char* property) {
    char* text = nullptr;
    g_object_get(shown, property, &text, nullptr);
    std::string out = text ? text : "";
    g_free(text);
    return out;
}

void ShellTest::answer(GtkWidget* shown, bool destructive) {
    gtk_dialog_response(GTK_DIALOG(shown), destructive ? GTK_RESPONSE_ACCEPT : GTK_RESPONSE_CANCEL);
}

std::pair<std::string, std::string> ShellTest::answerQuestion(bool destructive) {
    if (!waitUntil([&] { return dialog() != nullptr; })) return {};
    GtkWidget* shown = dialog();
    std::pair<std::string, std::string> said{dialogText(shown), dialogText(shown, "secondary-text")};
    // The answer may bring the next question at once: it is this one that must go.
    GWeakRef answered;
    g_weak_ref_init(&answered, shown);
    answer(shown, destructive);
    waitUntil([&] {
        GObject* still = static_cast<GObject*>(g_weak_ref_get(&answered));
        if (still) g_object_unref(still);
        return still == nullptr || !gtk_widget_get_visible(GTK_WIDGET(still));
    });
    g_weak_ref_clear(&answered);
    return said;
}

} // namespace nimb::test
