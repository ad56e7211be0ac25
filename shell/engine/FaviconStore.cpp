#include "engine/FaviconStore.h"

#include "engine/FaviconDownload.h"
#include "page/Favicon.h"

#include <libsoup/soup.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <list>
#include <map>
#include <set>
#include <utility>

namespace nimb {

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
    using Waiters = std::vector<Waiter>;

    // A request that needs the outcome of the flight under way before it can be answered: a page
    // that declared another icon meanwhile.
    struct Pending {
        Url page;
        std::optional<std::string> declared;
        Waiters waiters;
    };

    // One attempt at a key: its candidates, tried in order, and who waits for the outcome.
    struct Flight {
        std::vector<Url> candidates;
        // The key already has an icon; this looks for the one the page declares now, and failing
        // that the key keeps the icon it has.
        bool replacing = false;
        Waiters waiters;
        // Only the newest such request waits: a page declaring icon after icon costs this flight and
        // one more, and those it declared in between are never fetched.
        std::optional<Pending> next;
    };

    struct Icon {
        glib::GRefPtr<GdkTexture> texture;
        std::string source; // the address it came from
    };

    // Decoded icons by the address they came from, the most recently used first, at most `limit`.
    class Decoded {
    public:
        explicit Decoded(std::size_t limit) : m_limit(std::max<std::size_t>(1, limit)) {}
        GdkTexture* find(std::string_view address) {
            auto found = m_index.find(address);
            if (found == m_index.end()) return nullptr;
            m_order.splice(m_order.begin(), m_order, found->second);
            return found->second->second.get();
        }
        void keep(const std::string& address, glib::GRefPtr<GdkTexture> texture) {
            if (find(address)) return;
            m_order.emplace_front(address, std::move(texture));
            m_index.emplace(address, m_order.begin());
            if (m_order.size() > m_limit) {
                m_index.erase(m_order.back().first);
                m_order.pop_back();
            }
        }

    private:
        using Entry = std::pair<std::string, glib::GRefPtr<GdkTexture>>;
        std::size_t m_limit;
        std::list<Entry> m_order;
        std::map<std::string, std::list<Entry>::iterator, std::less<>> m_index;
    };

    // Addresses that gave no icon, the newest `limit` of them.
    class Failures {
    public:
        explicit Failures(std::size_t limit) : m_limit(limit) {}
        [[nodiscard]] bool contains(std::string_view address) const { return m_set.contains(address); }
        void insert(const std::string& address) {
            if (!m_set.insert(address).second) return;
            m_order.push_back(address);
            if (m_order.size() > m_limit) {
                m_set.erase(m_order.front());
                m_order.pop_front();
            }
        }

    private:
        std::size_t m_limit;
        std::deque<std::string> m_order;
        std::set<std::string, std::less<>> m_set;
    };

    Options options;
    glib::GRefPtr<SoupSession> session;
    std::map<std::string, Icon, std::less<>> icons;
    std::set<std::string, std::less<>> misses;
    std::map<std::string, Flight, std::less<>> inFlight;
    // Every address is downloaded once in a run while what it gave is remembered: the icons recently
    // used, and the addresses that gave none.
    Decoded bySource;
    Failures failed{4096};
    std::set<FaviconDownload*> running;
    bool closed = false;

    explicit State(Options given) : options(std::move(given)), bySource(options.keptIcons) {
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

    // Adds a waiter to a list: those given up are dropped, and one that asks for the same tab (the
    // same cancellable) replaces the one before it, so a tab waits once however often it asks.
    static void join(Waiters& waiters, Waiter waiter) {
        std::erase_if(waiters, [&](const Waiter& each) {
            return cancelled(each.cancellable.get()) ||
                   (waiter.cancellable && each.cancellable.get() == waiter.cancellable.get());
        });
        waiters.push_back(std::move(waiter));
    }

    static void join(Waiters& waiters, Waiters more) {
        for (auto& waiter : more)
            join(waiters, std::move(waiter));
    }

    static bool anyWaiting(const Waiters& waiters) {
        return std::any_of(waiters.begin(), waiters.end(),
                           [](const Waiter& each) { return !cancelled(each.cancellable.get()); });
    }

    // The flight's outcome is needed first; the newest such request replaces the one waiting, whose
    // waiters wait with it.
    static void waitBehind(Flight& flight, Pending pending) {
        if (flight.next) {
            Waiters waiters = std::move(flight.next->waiters);
            join(waiters, std::move(pending.waiters));
            pending.waiters = std::move(waiters);
        }
        flight.next = std::move(pending);
    }

    // ----------------------------------------------------------------------------------------
    // Requests

    void icon(const Url& page, std::optional<std::string> declared, Waiters waiters) {
        auto key = Favicon::key(page.string());
        if (!key || !anyWaiting(waiters)) return;
        // Nothing is fetched from this machine or a private network for a page that is not on one,
        // whatever the page declares (the blocklist is the window's to apply: it knows whether
        // blocking is on, and counts what it refuses).
        auto refused = [&page](const Url& icon) { return Favicon::refusal(page, icon, false).has_value(); };
        auto candidates = Favicon::candidates(page, declared);
        std::erase_if(candidates, refused);
        // The declared icon alone, when it is one that can be fetched.
        auto own = Favicon::candidates(std::nullopt, declared);
        std::optional<Url> wanted;
        if (!own.empty() && !failed.contains(own.front().string()) && !refused(own.front()))
            wanted = own.front();

        if (auto have = icons.find(*key); have != icons.end()) {
            if (!wanted || wanted->string() == have->second.source) {
                answerAll(waiters, have->second.texture.get());
                return;
            }
            // The page now declares another icon than the one at hand.
            if (GdkTexture* found = bySource.find(wanted->string())) {
                have->second = {glib::GRefPtr<GdkTexture>(found), wanted->string()};
                answerAll(waiters, found);
                return;
            }
            if (auto flight = inFlight.find(*key); flight != inFlight.end()) {
                waitBehind(flight->second, {page, std::move(declared), std::move(waiters)});
                return;
            }
            Flight flight;
            flight.candidates = {*wanted};
            flight.replacing = true;
            join(flight.waiters, std::move(waiters));
            inFlight.emplace(*key, std::move(flight));
            tryCandidate(*key, 0);
            return;
        }

        if (auto flight = inFlight.find(*key); flight != inFlight.end()) {
            auto& tried = flight->second.candidates;
            if (wanted && std::find(tried.begin(), tried.end(), *wanted) == tried.end()) {
                // The page declared an icon while its site is being fetched: it is tried too before
                // the site counts as having none, and the request is answered once all is known.
                waitBehind(flight->second, {page, std::move(declared), std::move(waiters)});
                return;
            }
            join(flight->second.waiters, std::move(waiters));
            return;
        }
        fetch(*key, std::move(candidates), std::move(waiters));
    }

    void fetch(const std::string& key, std::vector<Url> candidates, Waiters waiters) {
        if (auto have = icons.find(key); have != icons.end()) {
            answerAll(waiters, have->second.texture.get());
            return;
        }
        if (misses.contains(key) || candidates.empty()) return;
        if (auto flight = inFlight.find(key); flight != inFlight.end()) {
            join(flight->second.waiters, std::move(waiters));
            return;
        }
        Flight flight;
        flight.candidates = std::move(candidates);
        join(flight.waiters, std::move(waiters));
        inFlight.emplace(key, std::move(flight));
        tryCandidate(key, 0);
    }

    void answerAll(const Waiters& waiters, GdkTexture* texture) {
        // A waiter may make requests of its own, or even let the store go.
        auto keep = shared_from_this();
        for (const auto& waiter : waiters) {
            if (closed) return;
            answer(waiter.then, waiter.cancellable.get(), texture);
        }
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
            if (GdkTexture* found = bySource.find(address)) {
                finish(key, glib::GRefPtr<GdkTexture>(found), address);
                return;
            }
            if (!failed.contains(address) && start(key, index, address)) return;
            failed.insert(address);
            ++index;
        }
    }

    // Sends the request for one candidate; false when it cannot even be sent.
    bool start(const std::string& key, std::size_t index, const std::string& address) {
        // The download ends in this callable whatever happens to it, even after the store has gone.
        auto done = [self = weak_from_this(), key, index](FaviconDownload& download,
                                                          glib::GRefPtr<GdkTexture> texture) {
            auto state = self.lock();
            if (!state) return;
            state->running.erase(&download);
            if (state->closed) return;
            state->candidateDone(key, index, std::move(texture));
        };
        FaviconDownload* download =
            FaviconDownload::start(session.get(), address, options.timeout, std::move(done));
        if (!download) return false;
        running.insert(download);
        return true;
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
        std::optional<Pending> next = std::move(flight.next);
        if (next && !anyWaiting(next->waiters)) next.reset(); // given up: never fetched
        if (texture) {
            icons[key] = {texture, source};
            bySource.keep(source, texture);
        } else if (!flight.replacing) {
            if (next) {
                // Not bare yet: the icon the page declared meanwhile is tried first, and everyone
                // waiting here waits for it.
                Waiters waiters = std::move(flight.waiters);
                join(waiters, std::move(next->waiters));
                next->waiters = std::move(waiters);
                icon(next->page, std::move(next->declared), std::move(next->waiters));
                return;
            }
            misses.insert(key);
        }
        auto have = icons.find(key);
        GdkTexture* found = have == icons.end() ? nullptr : have->second.texture.get();
        auto keep = shared_from_this();
        answerAll(flight.waiters, found);
        if (next && !closed) icon(next->page, std::move(next->declared), std::move(next->waiters));
    }

    void close() {
        closed = true;
        for (FaviconDownload* download : running)
            download->cancel();
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
    State::Waiters waiters;
    waiters.push_back({std::move(then), glib::GRefPtr<GCancellable>(cancellable)});
    m_state->icon(page, std::move(text), std::move(waiters));
}

void FaviconStore::fetch(const std::string& key, std::vector<Url> candidates, Callback then,
                         GCancellable* cancellable) {
    g_return_if_fail(onOwnerThread());
    if (State::cancelled(cancellable)) return;
    State::Waiters waiters;
    waiters.push_back({std::move(then), glib::GRefPtr<GCancellable>(cancellable)});
    m_state->fetch(key, std::move(candidates), std::move(waiters));
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
