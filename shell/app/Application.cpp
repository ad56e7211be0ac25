#include "app/Application.h"

#include "app/Dialogs.h"
#include "app/Menus.h"
#include "app/Resources.h"
#include "base/Text.h"
#include "base/Url.h"
#include "chrome/Drawing.h"
#include "engine/BlockerRules.h"
#include "glib/Error.h"
#include "window/BrowserWindowController.h"
#include "window/Navigator.h"
#include "window/PageViews.h"
#include "window/StatusController.h"
#include "window/Tab.h"
#include "window/TabList.h"
#include "window/WindowContext.h"
#include "window/WindowSizing.h"

#include <cstdlib>

namespace {

// How long Quit waits for writes still in the queue before asking whether to lose them.
constexpr std::chrono::milliseconds quitWait{300};

} // namespace

namespace nimb {

Application::Application() : Application(Options{}) {}

Application::Application(Options options)
    : m_options(std::move(options)), m_windows([this] { m_actions.scheduleValidate(); }), m_settings(*this),
      m_actions(*this) {
    GApplicationFlags flags = G_APPLICATION_HANDLES_OPEN;
    if (!m_options.unique) flags = static_cast<GApplicationFlags>(flags | G_APPLICATION_NON_UNIQUE);
    m_application = glib::adoptGRef(gtk_application_new(m_options.id.c_str(), flags));
    m_connections.push_back(glib::connect<void(GApplication*)>(m_application.get(), "startup",
                                                               [this](GApplication*) { startup(); }));
    m_connections.push_back(glib::connect<void(GApplication*)>(
        m_application.get(), "activate", [this](GApplication*) { openWindow(std::nullopt); }));
    m_connections.push_back(glib::connect<void(GApplication*, GFile**, int, char*)>(
        m_application.get(), "open", [this](GApplication*, GFile** files, int count, char*) {
            std::vector<std::string> addresses;
            for (int i = 0; i < count; ++i) {
                glib::GUniquePtr<char> uri(g_file_get_uri(files[i]));
                if (uri) addresses.emplace_back(uri.get());
            }
            open(addresses);
        }));
}

Application::~Application() {
    m_actions.stop(); // nothing is scheduled from here on
    // Whatever windows are left go without asking.
    closeWindows();
    m_connections.clear();
}

int Application::run(int argc, char** argv) {
    return g_application_run(G_APPLICATION(m_application.get()), argc, argv);
}

bool Application::launch() {
    glib::Error error;
    if (!g_application_register(G_APPLICATION(m_application.get()), nullptr, error.out())) {
        if (error) g_printerr("nimb: %s\n", error.message().c_str());
        return false;
    }
    g_application_activate(G_APPLICATION(m_application.get()));
    return true;
}

Date Application::now() const {
    if (m_options.now) return m_options.now();
    using namespace std::chrono;
    return Date{duration<double>(system_clock::now().time_since_epoch()).count()};
}

void Application::startup() {
    if (m_profile) return;
    // The browser's icon, for the About dialog and the windows, installed or not.
    if (GdkDisplay* display = gdk_display_get_default()) {
        std::string icons = Resources::iconDirectory().string();
        gtk_icon_theme_add_search_path(gtk_icon_theme_get_for_display(display), icons.c_str());
        gtk_window_set_default_icon_name(Resources::iconName);
    }
    UserDirectories directories = m_options.directories.value_or(UserDirectories::fromEnvironment());
    m_profile = std::make_unique<Profile>(directories);
    // A write nobody waits for (a visit, a setting) that fails is said in the front window, unless the
    // notice already says that nothing is kept.
    m_profile->onHeld = [this](bool held) {
        BrowserWindowController* window = m_windows.active();
        if (held && window) window->context().status().setStatus(words().waitingToSave());
    };
    m_profile->onFailure = [this](const WriteOutcome& outcome) {
        if (m_profile->notice()) return;
        BrowserWindowController* window = m_windows.active();
        if (!window) return;
        window->context().status().setStatus(
            outcome.kind == WriteOutcome::Kind::full ? words().notSavedDiskFull() : words().notSaved());
    };

    std::vector<std::string> preferred;
    if (m_options.preferredLanguages) {
        preferred = *m_options.preferredLanguages;
    } else {
        for (const char* const* name = g_get_language_names(); *name; ++name)
            preferred.emplace_back(*name);
    }
    setCurrentLanguage(startupLanguage(m_profile->preferences().language(), preferred));

    std::optional<std::string> proxy = m_options.httpProxy;
    if (!proxy) {
        if (const char* variable = std::getenv("NIMB_HTTP_PROXY"); variable && *variable) proxy = variable;
    }
    auto fonts = m_options.fonts.value_or(Resources::fontsDirectory());
    std::optional<std::filesystem::path> witness = m_options.witness.value_or(Resources::witnessDirectory());
    if (witness && witness->empty()) witness.reset();
    m_engine = std::make_unique<WebEngine>(directories, proxy, fonts, witness);
    m_engine->setWitnessPolicy(m_profile->preferences().contentBlockingEnabled(),
                               m_profile->preferences().nimbReportEnabled());
    // A tab's view asks for one of the browser's pages: the tab's window draws it, as it is now.
    m_engine->drawPagesWith(
        [this](WebKitWebView* view, const GeneratedPage::Entry& entry) -> std::optional<std::string> {
            for (const auto& window : m_windows) {
                WindowContext& context = window->context();
                for (const auto& tab : context.tabs().all())
                    if (tab->view() == view) return context.navigator().draw(*tab, entry);
            }
            return std::nullopt;
        });
    Drawing::registerFonts(fonts.string());
    // The chrome's style waits for the first window: see ChromeStyle::install.
    m_actions.install();
    // The tab keys are watched by every window's own key controller, made with the window.

    // Warm the compiled rule list, so that it is at hand before the first page.
    if (!rules().list()) rules().load([](WebKitUserContentFilter*) {});
    if (witness && !m_options.rules)
        BlockerRules::shared(ContentBlocker::RuleSet::besideWitness).load([](auto*) {});
}

BlockerRules& Application::rules() const {
    if (m_options.rules) return *m_options.rules;
    return BlockerRules::shared(m_witnessBlocks ? ContentBlocker::RuleSet::besideWitness
                                                : ContentBlocker::RuleSet::everything);
}

void Application::witnessGreeted() {
    if (!m_engine->witnessGreeted() || m_options.rules) return;
    // Until the smaller list is at hand the whole one stays: nothing goes unblocked meanwhile.
    // The list is the process's: it may come after this application has gone.
    BlockerRules::shared(ContentBlocker::RuleSet::besideWitness)
        .load([alive = std::weak_ptr(m_alive)](WebKitUserContentFilter* list) {
            auto self = alive.lock();
            if (!self || !list) return;
            Application& application = **self;
            application.m_witnessBlocks = true;
            application.m_windows.forEach([](BrowserWindowController& window) {
                window.context().tabs().views().applyPolicyToEveryTab();
            });
        });
}

BrowserWindowController& Application::openWindow(const std::optional<Url>& address) {
    return BrowserWindowController::make(*this, address);
}

void Application::quit() {
    if (m_askingToQuit) return;
    std::size_t tabs = 0;
    bool several = false;
    bool asked = false; // a window asks its own question just now
    m_windows.forEach([&](BrowserWindowController& window) {
        std::size_t count = window.context().tabs().size();
        tabs += count;
        several = several || count >= 2;
        asked = asked || window.asking();
    });
    if (asked) return;
    auto end = [this] {
        if (mayEndRun(m_windows.active(), [this] { closeEverything(); })) closeEverything();
    };
    BrowserWindowController* over = m_windows.active();
    // Windows of one tab each go as they would one by one, without a question.
    if (!several || !over) {
        end();
        return;
    }
    m_askingToQuit = true;
    Dialogs::confirm(
        over->window(), words().quitQuestion(Menus::applicationName),
        words().quitDetail(static_cast<std::int64_t>(m_windows.size()), static_cast<std::int64_t>(tabs)),
        words().quitButton(), [this, end](bool yes) {
            m_askingToQuit = false;
            if (yes) end();
        });
}

bool Application::mayEndRun(BrowserWindowController* over, std::function<void()> end) {
    if (m_askingToQuit) return false;
    // Writes still waiting for another program to let go of the profile are lost by ending the run.
    std::size_t unsaved = m_profile ? m_profile->finish(quitWait) : 0;
    if (unsaved == 0 || !over) return true;
    m_askingToQuit = true;
    Dialogs::confirm(over->window(), words().unsavedQuestion(),
                     words().unsavedDetail(static_cast<std::int64_t>(unsaved)), words().quitAnyway(),
                     [this, end = std::move(end)](bool yes) {
                         m_askingToQuit = false;
                         if (yes) end();
                     });
    return false;
}

void Application::closeEverything() {
    closeWindows();
    g_application_quit(G_APPLICATION(m_application.get()));
}

void Application::closeWindows() {
    // The size kept for the next run is that of the window the user was in.
    if (!m_ending && m_profile) {
        if (BrowserWindowController* front = m_windows.active())
            WindowSizing::remember(front->window(), m_profile->preferences());
    }
    m_ending = true;
    m_windows.forEach([](BrowserWindowController& window) { gtk_window_destroy(window.window()); });
}

void Application::open(const std::vector<std::string>& addresses) {
    for (const auto& text : addresses) {
        auto url = Url::parse(text);
        if (!url) continue;
        // A script address would run in whatever page it lands on; the internal addresses are
        // refused where the page asks for them. Neither is anything a launch may hand over to run.
        if (text::asciiLowercased(url->view().scheme()) == "javascript") {
            g_printerr("nimb: not opening a script address\n");
            continue;
        }
        BrowserWindowController* window = m_windows.active();
        if (!window) {
            openWindow(*url);
            continue;
        }
        WindowContext& context = window->context();
        Tab& tab = context.tabs().add(false);
        context.navigator().load(*url, tab);
        gtk_window_present(window->window());
    }
}

} // namespace nimb
