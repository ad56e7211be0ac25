#include "engine/FaviconStore.h"

#include "base/Text.h"
#include "glib/Async.h"
#include "glib/Connection.h"
#include "glib/Error.h"
#include "glib/Source.h"
#include "page/Favicon.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <libsoup/soup.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <utility>

namespace nimb {

namespace {

// How much of a body is read at a time.
constexpr gsize readChunk = 64 * 1024;

bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// The media type of a Content-Type value, lower-cased, without its parameters.
std::string mediaType(std::string_view contentType) {
    return text::asciiLowercased(text::trimmed(contentType.substr(0, contentType.find(';'))));
}

// Whether a server that labels its answer this way is saying it is something other than an image.
bool labelledAsNoImage(std::string_view contentType) {
    std::string type = mediaType(contentType);
    if (type.empty()) return false;
    if (startsWith(type, "text/")) return true;
    static constexpr std::string_view documents[] = {"application/xhtml+xml", "application/json",
                                                     "application/javascript", "application/ecmascript"};
    return std::find(std::begin(documents), std::end(documents), type) != std::end(documents);
}

// Whether a body that starts with markup is an SVG document rather than a web page.
bool isSvg(std::string_view body) {
    if (startsWith(body, "\xEF\xBB\xBF")) body.remove_prefix(3);
    body = text::trimmed(body);
    std::string head = text::asciiLowercased(body.substr(0, 4096));
    bool opensAsSvg = startsWith(head, "<svg") || startsWith(head, "<?xml") || startsWith(head, "<!--") ||
                      startsWith(head, "<!doctype svg");
    return opensAsSvg && head.find("<svg") != std::string::npos && head.find("<html") == std::string::npos &&
           head.find("<!doctype html") == std::string::npos;
}

} // namespace

// ------------------------------------------------------------------------------------------------
// Decoding

std::optional<std::string_view> FaviconStore::imageType(std::string_view contentType, std::string_view body) {
    if (body.empty() || labelledAsNoImage(contentType)) return std::nullopt;
    if (startsWith(body, "\x89PNG\r\n\x1a\n")) return "png";
    if (startsWith(body, "GIF87a") || startsWith(body, "GIF89a")) return "gif";
    if (startsWith(body, "\xFF\xD8\xFF")) return "jpeg";
    if (startsWith(body, std::string_view("\0\0\1\0", 4)) ||
        startsWith(body, std::string_view("\0\0\2\0", 4)))
        return "ico";
    if (startsWith(body, "BM")) return "bmp";
    if (body.size() >= 12 && startsWith(body, "RIFF") && body.substr(8, 4) == "WEBP") return "webp";
    if (isSvg(body)) return "svg";
    return std::nullopt;
}

glib::GRefPtr<GdkTexture> FaviconStore::decode(std::string_view contentType, std::string_view body) {
    auto type = imageType(contentType, body);
    if (!type) return {};
    // A format whose loader is not installed (SVG and WebP come in packages of their own) fails here.
    glib::Error error;
    auto loader = glib::adoptGRef(gdk_pixbuf_loader_new_with_type(std::string(*type).c_str(), error.out()));
    if (!loader) return {};
    // Told the size before any pixel is decoded: an image too large to hold is stopped there (a size
    // of nothing makes the loader give up), a merely large one is scaled to what an icon needs.
    bool refused = false;
    auto sizing = glib::connect<void(GdkPixbufLoader*, int, int)>(
        loader.get(), "size-prepared", [&refused](GdkPixbufLoader* self, int width, int height) {
            if (width <= 0 || height <= 0 || width > largestImage || height > largestImage) {
                refused = true;
                gdk_pixbuf_loader_set_size(self, 0, 0);
            } else if (width > keptSide || height > keptSide) {
                double scale = static_cast<double>(keptSide) / std::max(width, height);
                gdk_pixbuf_loader_set_size(self, std::max(1, static_cast<int>(std::lround(width * scale))),
                                           std::max(1, static_cast<int>(std::lround(height * scale))));
            }
        });
    bool written = gdk_pixbuf_loader_write(loader.get(), reinterpret_cast<const guchar*>(body.data()),
                                           body.size(), error.out());
    // Closed in every case: a loader left open complains when it goes.
    bool closed = gdk_pixbuf_loader_close(loader.get(), error.out());
    GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());
    if (!written || !closed || refused || !pixbuf) return {};
    int width = gdk_pixbuf_get_width(pixbuf);
    int height = gdk_pixbuf_get_height(pixbuf);
    if (width <= 0 || height <= 0 || width > largestImage || height > largestImage) return {};
    return glib::adoptGRef(gdk_texture_new_for_pixbuf(pixbuf));
}

// ------------------------------------------------------------------------------------------------
// Greying

GdkTexture* FaviconStore::grey(GdkTexture* image) {
    if (!image) return nullptr;
    static const GQuark greyed = g_quark_from_static_string("nimb-favicon-grey");
    if (auto* copy = g_object_get_qdata(G_OBJECT(image), greyed)) return GDK_TEXTURE(copy);
    int width = gdk_texture_get_width(image);
    int height = gdk_texture_get_height(image);
    if (width <= 0 || height <= 0) return image;

    // GDK_MEMORY_DEFAULT: one native-endian 32-bit word per pixel, alpha in the top byte, colour
    // premultiplied. The luminance of premultiplied colour is the premultiplied luminance, so it
    // never exceeds alpha.
    gsize stride = static_cast<gsize>(width) * 4;
    gsize size = stride * static_cast<gsize>(height);
    auto* pixels = static_cast<guchar*>(g_malloc(size));
    gdk_texture_download(image, pixels, stride);
    for (gsize at = 0; at < size; at += 4) {
        std::uint32_t pixel;
        std::memcpy(&pixel, pixels + at, 4);
        std::uint32_t alpha = pixel >> 24;
        std::uint32_t red = (pixel >> 16) & 0xFF;
        std::uint32_t green = (pixel >> 8) & 0xFF;
        std::uint32_t blue = pixel & 0xFF;
        std::uint32_t luma = (red * 2126 + green * 7152 + blue * 722 + 5000) / 10000;
        luma = std::min(luma, alpha);
        pixel = (alpha << 24) | (luma << 16) | (luma << 8) | luma;
        std::memcpy(pixels + at, &pixel, 4);
    }
    auto bytes = glib::adoptGRef(g_bytes_new_take(pixels, size));
    GdkTexture* copy = gdk_memory_texture_new(width, height, GDK_MEMORY_DEFAULT, bytes.get(), stride);
    // The copy lives as long as the image it was made from.
    g_object_set_qdata_full(G_OBJECT(image), greyed, copy, g_object_unref);
    return copy;
}

void FaviconStore::draw(GtkSnapshot* snapshot, GdkTexture* image, const graphene_rect_t& bounds, bool grey) {
    if (!snapshot || !image) return;
    gtk_snapshot_append_texture(snapshot, grey ? FaviconStore::grey(image) : image, &bounds);
}

// ------------------------------------------------------------------------------------------------
// The store

struct FaviconStore::State : std::enable_shared_from_this<State> {
    struct Waiter {
        Callback then;
        glib::GRefPtr<GCancellable> cancellable;
    };

    // One attempt at a key: its candidates, tried in order, and who waits for the outcome.
    struct Flight {
        std::vector<Url> candidates;
        // The key already has an icon; this looks for the one the page declares now, and failing
        // that the key keeps the icon it has.
        bool replacing = false;
        std::vector<Waiter> waiters;
        // Requests that need the outcome before they can be answered, made again afterwards.
        std::vector<std::function<void()>> afterwards;
    };

    struct Icon {
        glib::GRefPtr<GdkTexture> texture;
        std::string source; // the address it came from
    };

    // One candidate address being downloaded. Owned by the chain of callbacks that carries it.
    struct Download {
        std::weak_ptr<State> state;
        std::string key;
        std::size_t index = 0;
        glib::GRefPtr<SoupMessage> message;
        glib::GRefPtr<GCancellable> cancellable;
        glib::GRefPtr<GInputStream> stream;
        std::string contentType;
        std::string body;
        // Cancels the download when its time is up; removed when the download ends.
        glib::Source deadline;
    };

    Options options;
    glib::GRefPtr<SoupSession> session;
    std::map<std::string, Icon, std::less<>> icons;
    std::set<std::string, std::less<>> misses;
    std::map<std::string, Flight, std::less<>> inFlight;
    // Every icon decoded, by the address it came from, and every address that gave none: no address
    // is downloaded twice in a run.
    std::map<std::string, glib::GRefPtr<GdkTexture>, std::less<>> bySource;
    std::set<std::string, std::less<>> failed;
    std::set<Download*> running;
    bool closed = false;

    explicit State(Options given) : options(std::move(given)) {
        // A session of its own: no cookie jar and no cache are added to it, so nothing is kept.
        session = glib::adoptGRef(soup_session_new());
        applyProxy(options.proxy);
    }

    void applyProxy(const std::optional<std::string>& proxy) {
        if (proxy) {
            auto resolver = glib::adoptGRef(g_simple_proxy_resolver_new(proxy->c_str(), nullptr));
            g_object_set(session.get(), "proxy-resolver", resolver.get(), nullptr);
        } else {
            g_object_set(session.get(), "proxy-resolver", g_proxy_resolver_get_default(), nullptr);
        }
    }

    static bool cancelled(GCancellable* cancellable) {
        return cancellable && g_cancellable_is_cancelled(cancellable);
    }

    static void answer(const Callback& then, GCancellable* cancellable, GdkTexture* texture) {
        if (then && !cancelled(cancellable)) then(texture);
    }

    // ----------------------------------------------------------------------------------------
    // Requests

    void icon(const Url& page, std::optional<std::string> declared, Callback then,
              glib::GRefPtr<GCancellable> cancellable) {
        auto key = Favicon::key(page.string());
        if (!key || cancelled(cancellable.get())) return;
        auto candidates = Favicon::candidates(page, declared);
        // The declared icon alone, when it is one that can be fetched.
        auto own = Favicon::candidates(std::nullopt, declared);
        std::optional<Url> wanted;
        if (!own.empty() && !failed.contains(own.front().string())) wanted = own.front();

        auto ask = [self = weak_from_this(), page, declared, then, cancellable] {
            if (auto state = self.lock(); state && !state->closed)
                state->icon(page, declared, then, cancellable);
        };

        if (auto have = icons.find(*key); have != icons.end()) {
            if (!wanted || wanted->string() == have->second.source) {
                answer(then, cancellable.get(), have->second.texture.get());
                return;
            }
            // The page now declares another icon than the one at hand.
            if (auto found = bySource.find(wanted->string()); found != bySource.end()) {
                have->second = {found->second, wanted->string()};
                answer(then, cancellable.get(), found->second.get());
                return;
            }
            if (auto flight = inFlight.find(*key); flight != inFlight.end()) {
                flight->second.afterwards.push_back(std::move(ask));
                return;
            }
            Flight flight;
            flight.candidates = {*wanted};
            flight.replacing = true;
            flight.waiters.push_back({std::move(then), std::move(cancellable)});
            inFlight.emplace(*key, std::move(flight));
            tryCandidate(*key, 0);
            return;
        }

        if (auto flight = inFlight.find(*key); flight != inFlight.end() && wanted) {
            auto& tried = flight->second.candidates;
            if (std::find(tried.begin(), tried.end(), *wanted) == tried.end()) {
                // The page declared an icon while its site is being fetched: it is tried too before
                // the site counts as having none, and the request is answered once all is known.
                tried.push_back(*wanted);
                flight->second.afterwards.push_back(std::move(ask));
                return;
            }
        }
        fetch(*key, std::move(candidates), std::move(then), std::move(cancellable));
    }

    void fetch(const std::string& key, std::vector<Url> candidates, Callback then,
               glib::GRefPtr<GCancellable> cancellable) {
        if (auto have = icons.find(key); have != icons.end()) {
            answer(then, cancellable.get(), have->second.texture.get());
            return;
        }
        if (misses.contains(key) || candidates.empty()) return;
        if (auto flight = inFlight.find(key); flight != inFlight.end()) {
            flight->second.waiters.push_back({std::move(then), std::move(cancellable)});
            return;
        }
        Flight flight;
        flight.candidates = std::move(candidates);
        flight.waiters.push_back({std::move(then), std::move(cancellable)});
        inFlight.emplace(key, std::move(flight));
        tryCandidate(key, 0);
    }

    // ----------------------------------------------------------------------------------------
    // Attempts

    void tryCandidate(const std::string& key, std::size_t index) {
        for (;;) {
            auto flight = inFlight.find(key);
            if (flight == inFlight.end()) return;
            const auto& candidates = flight->second.candidates;
            if (index >= candidates.size()) {
                finish(key, nullptr, {});
                return;
            }
            const std::string& address = candidates[index].string();
            // Another site's page may have declared the same address already.
            if (auto found = bySource.find(address); found != bySource.end()) {
                finish(key, found->second, address);
                return;
            }
            if (!failed.contains(address) && start(key, index, address)) return;
            failed.insert(address);
            ++index;
        }
    }

    // Sends the request for one candidate; false when it cannot even be sent.
    bool start(const std::string& key, std::size_t index, const std::string& address) {
        SoupMessage* message = soup_message_new("GET", address.c_str());
        if (!message) return false;
        auto download = std::make_unique<Download>();
        download->state = weak_from_this();
        download->key = key;
        download->index = index;
        download->message = glib::adoptGRef(message);
        download->cancellable = glib::adoptGRef(g_cancellable_new());
        soup_message_headers_replace(soup_message_get_request_headers(message), "Accept", "image/*");
        std::chrono::milliseconds delay(std::clamp<std::int64_t>(options.timeout.count(), 1, G_MAXINT));
        download->deadline = glib::Source::timeout(
            delay, [cancellable = download->cancellable] { g_cancellable_cancel(cancellable.get()); });
        running.insert(download.get());
        GCancellable* cancellable = download->cancellable.get();
        // A download's own cancellation (its deadline, or the store closing) must still end in
        // done(), which winds it up, so its errors are not handed on: glib::async would skip the rest
        // of a cancelled call. Whatever went wrong, the candidate simply gave no icon.
        auto call = glib::async(
            [](GObject* source, GAsyncResult* result, GError**) {
                return glib::adoptGRef(soup_session_send_finish(SOUP_SESSION(source), result, nullptr));
            },
            [download = std::move(download)](glib::GRefPtr<GInputStream> stream, const glib::Error&) mutable {
                sent(std::move(download), std::move(stream));
            });
        soup_session_send_async(session.get(), message, G_PRIORITY_DEFAULT, cancellable, call.callback,
                                call.data);
        return true;
    }

    static void sent(std::unique_ptr<Download> download, glib::GRefPtr<GInputStream> stream) {
        if (!stream) return done(std::move(download), {});
        download->stream = std::move(stream);

        // Only a successful answer is read, and not one that says it is a page or text, nor one
        // that announces more than an icon can be.
        SoupMessage* message = download->message.get();
        guint status = soup_message_get_status(message);
        SoupMessageHeaders* headers = soup_message_get_response_headers(message);
        const char* type = soup_message_headers_get_content_type(headers, nullptr);
        download->contentType = type ? type : "";
        bool tooLong = soup_message_headers_get_encoding(headers) == SOUP_ENCODING_CONTENT_LENGTH &&
                       soup_message_headers_get_content_length(headers) > static_cast<goffset>(largestBody);
        if (status < 200 || status > 299 || labelledAsNoImage(download->contentType) || tooLong)
            return done(std::move(download), {});
        readMore(std::move(download));
    }

    static void readMore(std::unique_ptr<Download> download) {
        GInputStream* stream = download->stream.get();
        GCancellable* cancellable = download->cancellable.get();
        // As in start(): a cancelled read still ends in done().
        auto call = glib::async(
            [](GObject* source, GAsyncResult* result, GError**) {
                return glib::adoptGRef(
                    g_input_stream_read_bytes_finish(G_INPUT_STREAM(source), result, nullptr));
            },
            [download = std::move(download)](glib::GRefPtr<GBytes> bytes, const glib::Error&) mutable {
                read(std::move(download), std::move(bytes));
            });
        g_input_stream_read_bytes_async(stream, readChunk, G_PRIORITY_DEFAULT, cancellable, call.callback,
                                        call.data);
    }

    static void read(std::unique_ptr<Download> download, glib::GRefPtr<GBytes> bytes) {
        if (!bytes) return done(std::move(download), {});
        gsize size = 0;
        const auto* part = static_cast<const char*>(g_bytes_get_data(bytes.get(), &size));
        if (size == 0) {
            auto texture = decode(download->contentType, download->body);
            return done(std::move(download), std::move(texture));
        }
        if (download->body.size() + size > largestBody) return done(std::move(download), {});
        download->body.append(part, size);
        readMore(std::move(download));
    }

    static void done(std::unique_ptr<Download> download, glib::GRefPtr<GdkTexture> texture) {
        download->deadline.cancel();
        auto state = download->state.lock();
        if (!state) return;
        state->running.erase(download.get());
        if (state->closed) return;
        state->candidateDone(download->key, download->index, std::move(texture));
    }

    void candidateDone(const std::string& key, std::size_t index, glib::GRefPtr<GdkTexture> texture) {
        auto flight = inFlight.find(key);
        if (flight == inFlight.end() || index >= flight->second.candidates.size()) return;
        std::string address = flight->second.candidates[index].string();
        if (texture && gdk_texture_get_width(texture.get()) > 0 &&
            gdk_texture_get_height(texture.get()) > 0) {
            finish(key, std::move(texture), address);
            return;
        }
        failed.insert(address);
        tryCandidate(key, index + 1);
    }

    void finish(const std::string& key, glib::GRefPtr<GdkTexture> texture, std::string source) {
        auto node = inFlight.extract(key);
        if (node.empty()) return;
        Flight flight = std::move(node.mapped());
        if (texture) {
            icons[key] = {texture, source};
            bySource.emplace(source, texture);
        } else if (!flight.replacing) {
            misses.insert(key);
        }
        auto have = icons.find(key);
        GdkTexture* found = have == icons.end() ? nullptr : have->second.texture.get();
        // A waiter may make requests of its own, or even let the store go.
        auto keep = shared_from_this();
        for (const auto& waiter : flight.waiters) {
            if (closed) return;
            answer(waiter.then, waiter.cancellable.get(), found);
        }
        for (const auto& again : flight.afterwards) {
            if (closed) return;
            again();
        }
    }

    void close() {
        closed = true;
        for (Download* download : running)
            g_cancellable_cancel(download->cancellable.get());
        running.clear();
    }
};

FaviconStore::Options FaviconStore::Options::fromEnvironment() {
    Options options;
    if (const char* proxy = std::getenv("NIMB_HTTP_PROXY"); proxy && *proxy) options.proxy = proxy;
    return options;
}

FaviconStore::FaviconStore() : FaviconStore(Options{}) {}

FaviconStore::FaviconStore(Options options)
    : m_state(std::make_shared<State>(std::move(options))), m_owner(std::this_thread::get_id()) {}

FaviconStore::~FaviconStore() {
    m_state->close();
}

FaviconStore& FaviconStore::shared() {
    // Never destroyed: icons are handed out for the rest of the run.
    static FaviconStore* store = new FaviconStore(Options::fromEnvironment());
    return *store;
}

bool FaviconStore::onOwnerThread() const {
    return std::this_thread::get_id() == m_owner;
}

void FaviconStore::icon(const Url& page, std::optional<std::string_view> declared, Callback then,
                        GCancellable* cancellable) {
    g_return_if_fail(onOwnerThread());
    std::optional<std::string> text;
    if (declared) text = std::string(*declared);
    m_state->icon(page, std::move(text), std::move(then), glib::GRefPtr<GCancellable>(cancellable));
}

void FaviconStore::fetch(const std::string& key, std::vector<Url> candidates, Callback then,
                         GCancellable* cancellable) {
    g_return_if_fail(onOwnerThread());
    if (State::cancelled(cancellable)) return;
    m_state->fetch(key, std::move(candidates), std::move(then), glib::GRefPtr<GCancellable>(cancellable));
}

GdkTexture* FaviconStore::cached(std::string_view key, bool grey) const {
    auto have = m_state->icons.find(key);
    if (have == m_state->icons.end()) return nullptr;
    GdkTexture* texture = have->second.texture.get();
    return grey ? FaviconStore::grey(texture) : texture;
}

bool FaviconStore::isMiss(std::string_view key) const {
    return m_state->misses.contains(key);
}

bool FaviconStore::isFetching(std::string_view key) const {
    return m_state->inFlight.find(key) != m_state->inFlight.end();
}

void FaviconStore::setProxy(std::optional<std::string_view> proxy) {
    g_return_if_fail(onOwnerThread());
    m_state->options.proxy = proxy ? std::optional<std::string>(std::string(*proxy)) : std::nullopt;
    m_state->applyProxy(m_state->options.proxy);
}

} // namespace nimb
