// Draws every page the browser writes for itself to PNG files, so that they can be looked at: the
// sample records rendered into each page, loaded into WebKit the way a tab loads them (from a string,
// with no base address, the page scripts installed and the Fira Sans faces coming through the
// nimb-asset scheme), and snapshotted whole at a wide and a narrow window width. Panels (the margin
// and the report popover) are drawn at their own width as well.
//
//   render-pages [--only TEXT] [--html] [--bare] [OUTPUT-DIRECTORY]        (default out/pages)
//
// --only draws the pages whose names hold TEXT; --html writes each page's HTML beside its picture;
// --bare leaves the page scripts out.
//
// Run it on a display, or under tools/run-headless. For each picture it prints its size, whether the
// typefaces loaded, and any element that reaches past the right edge of the window; everything it has
// to say goes to standard output, so the engine's own chatter on standard error can be set aside.

#include "MainLoop.h"
#include "SamplePages.h"
#include "engine/AssetSchemeHandler.h"
#include "engine/PageSetup.h"
#include "glib/GRefPtr.h"
#include "vocabulary/Language.h"

#include <gtk/gtk.h>
#include <webkit/webkit.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using nimb::Language;

// The web view's height in a browser window of 720 points less the tab strip and toolbar, and the
// heights of the two panels.
constexpr int tabHeight = 640;
constexpr int popoverHeight = 457;
constexpr int wide = 1000;
constexpr int narrow = 480;
constexpr int marginWidth = 320;
constexpr int popoverWidth = 380;
// The card colour the popover draws behind its transparent page.
constexpr GdkRGBA popoverCard{0.11f, 0.11f, 0.118f, 1.0f};

using nimb::test::pump;
using nimb::test::waitUntil;

// A window of one size holding one web view set up as a tab's.
class Easel {
public:
    Easel(int width, int height, bool card, bool pageScripts) : m_width(width) {
        m_manager = webkit_user_content_manager_new();
        nimb::PageSetup::registerMessageHandlers(m_manager);
        if (pageScripts)
            nimb::PageSetup::apply(m_manager, nimb::PageSetup::Policy{}, nullptr, [] { return true; });
        m_view =
            WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager", m_manager, nullptr));
        g_object_ref_sink(m_view);
        if (card) webkit_web_view_set_background_color(m_view, &popoverCard);
        g_signal_connect(m_view, "load-changed",
                         G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, Easel* self) {
                             if (event == WEBKIT_LOAD_FINISHED) self->m_finished = true;
                         }),
                         this);
        m_window = gtk_window_new();
        gtk_window_set_decorated(GTK_WINDOW(m_window), FALSE);
        gtk_window_set_default_size(GTK_WINDOW(m_window), width, height);
        gtk_window_set_child(GTK_WINDOW(m_window), GTK_WIDGET(m_view));
        gtk_window_present(GTK_WINDOW(m_window));
    }

    ~Easel() {
        g_signal_handlers_disconnect_by_data(m_view, this);
        nimb::PageSetup::unregisterMessageHandlers(m_manager);
        gtk_window_destroy(GTK_WINDOW(m_window));
        g_object_unref(m_view);
        g_object_unref(m_manager);
    }

    Easel(const Easel&) = delete;
    Easel& operator=(const Easel&) = delete;

    [[nodiscard]] int width() const { return m_width; }

    bool load(const std::string& html) {
        m_finished = false;
        webkit_web_view_load_html(m_view, html.c_str(), nullptr);
        return waitUntil([this] { return m_finished; }, 20s);
    }

    // The value of an asynchronous function body, as text.
    std::string ask(const char* body) {
        struct Pending {
            bool done = false;
            std::string text;
        } pending;
        webkit_web_view_call_async_javascript_function(
            m_view, body, -1, nullptr, nullptr, nullptr, nullptr,
            +[](GObject* source, GAsyncResult* result, gpointer data) {
                auto* p = static_cast<Pending*>(data);
                GError* error = nullptr;
                if (JSCValue* value = webkit_web_view_call_async_javascript_function_finish(
                        WEBKIT_WEB_VIEW(source), result, &error)) {
                    nimb::glib::GUniquePtr<char> text(jsc_value_to_string(value));
                    p->text = text ? text.get() : "";
                    g_object_unref(value);
                } else {
                    p->text = std::string("(script failed: ") + (error ? error->message : "?") + ")";
                    if (error) g_error_free(error);
                }
                p->done = true;
            },
            &pending);
        waitUntil([&] { return pending.done; }, 20s);
        return pending.text;
    }

    // Saves the whole document as a PNG; its pixel size, or none when the engine gave no picture.
    std::optional<std::pair<int, int>> snapshot(const std::filesystem::path& file) {
        struct Pending {
            bool done = false;
            GdkTexture* texture = nullptr;
        } pending;
        webkit_web_view_get_snapshot(
            m_view, WEBKIT_SNAPSHOT_REGION_FULL_DOCUMENT, WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
            +[](GObject* source, GAsyncResult* result, gpointer data) {
                auto* p = static_cast<Pending*>(data);
                GError* error = nullptr;
                p->texture = webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(source), result, &error);
                if (error) {
                    std::printf("snapshot failed: %s\n", error->message);
                    g_error_free(error);
                }
                p->done = true;
            },
            &pending);
        waitUntil([&] { return pending.done; }, 20s);
        if (!pending.texture) return std::nullopt;
        std::pair<int, int> size{gdk_texture_get_width(pending.texture),
                                 gdk_texture_get_height(pending.texture)};
        bool saved = gdk_texture_save_to_png(pending.texture, file.c_str());
        g_object_unref(pending.texture);
        if (!saved) return std::nullopt;
        return size;
    }

private:
    int m_width;
    WebKitUserContentManager* m_manager = nullptr;
    WebKitWebView* m_view = nullptr;
    GtkWidget* m_window = nullptr;
    bool m_finished = false;
};

// Waits for the faces the page asked for, and says how each fared.
constexpr const char* fontsReport = R"(
await document.fonts.ready;
const faces = [];
document.fonts.forEach(f => faces.push(f.family.replace(/"/g, '') + ' ' + f.weight + ' ' + f.status));
return faces.join(', ');
)";

// The elements that reach past the window's right edge (the outermost of each branch), and how far.
constexpr const char* overflowReport = R"(
const limit = document.documentElement.clientWidth;
const out = [];
const describe = e => e.tagName.toLowerCase() + (e.id ? '#' + e.id : '') +
    (e.className && typeof e.className === 'string' ? '.' + e.className.trim().split(/\s+/).join('.') : '');
const walk = e => {
    const r = e.getBoundingClientRect();
    if (r.width > 0 && r.right > limit + 0.5) {
        const text = (e.textContent || '').trim().slice(0, 40);
        out.push(describe(e) + ' +' + Math.round(r.right - limit) + 'px "' + text + '"');
        return;
    }
    // What sticks out of a box that clips its content is not seen.
    const style = getComputedStyle(e);
    if (style.overflowX !== 'visible') return;
    for (const child of e.children) walk(child);
};
for (const child of document.body.children) walk(child);
const scroll = document.documentElement.scrollWidth - limit;
return (scroll > 0 ? 'page scrolls sideways by ' + scroll + 'px; ' : '') + out.slice(0, 6).join('; ');
)";

struct Options {
    std::filesystem::path output = "out/pages";
    std::string only;
    // Also writes each page's HTML beside its picture.
    bool html = false;
    // Leaves the page scripts out, to tell what they change from what the page does.
    bool bare = false;
};

std::optional<Options> readArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--only" && i + 1 < argc) {
            options.only = argv[++i];
        } else if (argument == "--html") {
            options.html = true;
        } else if (argument == "--bare") {
            options.bare = true;
        } else if (argument == "--help" || argument == "-h" || argument.starts_with("-")) {
            return std::nullopt;
        } else {
            options.output = argument;
        }
    }
    return options;
}

// The languages a page is drawn in at a width: every one for the home and history pages and for the
// fullest report pages (the overview, read with blocking on and off, the dossier and the panel), and
// for the other fullest pages at the narrow width too, where longer words show first; else English.
std::vector<Language> languagesFor(const std::string& page, int width) {
    const std::vector<Language> all(nimb::allCases<Language>.begin(), nimb::allCases<Language>.end());
    if (page.starts_with("home") || page.starts_with("history")) return all;
    if (page == "report-full" || page == "report-unblocked" || page == "report-dossier" ||
        page == "panel-full")
        return all;
    if (width == narrow && (page == "bookmarks-full" || page == "report-full" || page == "kept-reports"))
        return all;
    return {Language::english};
}

struct Job {
    nimb::samples::SamplePage page;
    bool hostile = false;

    // A tab's page is drawn wide and narrow; the margin also at its own width, the popover's panel
    // only at its own. Hostile records are there to be read, once.
    [[nodiscard]] bool drawnAt(int width) const {
        if (page.panelWidth == popoverWidth) return width == popoverWidth;
        if (width == page.panelWidth) return true;
        return width == wide || (width == narrow && !hostile);
    }
};

} // namespace

int main(int argc, char** argv) {
    auto options = readArguments(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s [--only TEXT] [--html] [--bare] [OUTPUT-DIRECTORY]\n", argv[0]);
        return 2;
    }
    g_set_prgname("nimb-render-pages");
    if (!gtk_init_check()) {
        std::printf("render-pages needs a display: run it under tools/run-headless\n");
        return 1;
    }
    std::error_code error;
    std::filesystem::create_directories(options->output, error);
    if (error) {
        std::printf("cannot make %s: %s\n", options->output.c_str(), error.message().c_str());
        return 1;
    }
    nimb::AssetSchemeHandler::install(webkit_web_context_get_default());

    std::vector<Job> jobs;
    for (auto& page : nimb::samples::pages())
        jobs.push_back({std::move(page), false});
    for (auto& page : nimb::samples::hostilePages())
        jobs.push_back({std::move(page), true});

    int failures = 0;
    int pictures = 0;
    for (int width : {wide, narrow, marginWidth, popoverWidth}) {
        const bool popover = width == popoverWidth;
        Easel easel(width, popover ? popoverHeight : tabHeight, popover, !options->bare);
        pump(100ms);
        for (const Job& job : jobs) {
            const auto& page = job.page;
            if (!job.drawnAt(width)) continue;
            if (!options->only.empty() && page.name.find(options->only) == std::string::npos) continue;
            for (Language language : languagesFor(page.name, width)) {
                std::string name = page.name + "-" + std::string(nimb::rawValue(language)) + "-" +
                                   std::to_string(width) + ".png";
                std::string html = nimb::samples::render(page, language);
                if (options->html) {
                    std::filesystem::path file = options->output / name;
                    file.replace_extension(".html");
                    if (FILE* out = std::fopen(file.c_str(), "w")) {
                        std::fwrite(html.data(), 1, html.size(), out);
                        std::fclose(out);
                    }
                }
                if (!easel.load(html)) {
                    std::printf("%-40s did not load\n", name.c_str());
                    ++failures;
                    continue;
                }
                std::string fonts = easel.ask(fontsReport);
                pump(30ms);
                std::string overflow = easel.ask(overflowReport);
                auto size = easel.snapshot(options->output / name);
                if (!size) {
                    std::printf("%-40s no picture\n", name.c_str());
                    ++failures;
                    continue;
                }
                ++pictures;
                std::printf("%-40s %5d x %-6d fonts: %s%s%s\n", name.c_str(), size->first, size->second,
                            fonts.empty() ? "(none asked for)" : fonts.c_str(),
                            overflow.empty() ? "" : "\n    OVERFLOW: ", overflow.c_str());
                std::fflush(stdout);
            }
        }
    }
    std::printf("%d pictures in %s\n", pictures, options->output.c_str());
    return failures == 0 ? 0 : 1;
}
