#pragma once

// Tab icons, fetched by the browser itself rather than taken from the web engine. One store per
// process keeps the icons it found by site key (Favicon::key), remembers for the rest of the run the
// sites that have none, and joins requests for a site that is already being fetched into one
// download. Besides each site's icon it keeps the icons recently decoded by address (Options::
// keptIcons), so that a page swapping between icons costs no download. Downloads go through a libsoup session
// of the store's own, apart from the engine's: nothing is written to disk, no cookie is accepted or sent,
// every request asks for "image/*" and is given up when its deadline passes. The store decides which
// addresses to try and keeps what they gave; one address is fetched by a FaviconDownload and its body decoded
// by FaviconImage.
//
// Everything here runs on the main thread, callbacks included.
//
// The window asks with icon() when a page finishes loading and whenever the page declares an icon,
// holding the tab's cancellable so that a closed tab is never called back; it draws with cached().

#include "base/Url.h"
#include "glib/GRefPtr.h"

#include <gtk/gtk.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace nimb {

class FaviconStore {
public:
    struct Options {
        // Every request goes through this HTTP proxy ("http://127.0.0.1:8123") when set; the system's
        // proxy settings apply otherwise.
        std::optional<std::string> proxy;
        // How long one candidate address may take, from sending its request to the end of its body.
        std::chrono::milliseconds timeout{std::chrono::seconds(8)};
        // How many decoded icons are kept by the address they came from, the most recently used.
        std::size_t keptIcons = 256;

        // The defaults, with the proxy that NIMB_HTTP_PROXY names, as the web engine is given it.
        [[nodiscard]] static Options fromEnvironment();
    };

    // Receives the site's icon, or nullptr when it has none. The texture belongs to the store and
    // stays valid as long as the store does (the shared store: for the rest of the run).
    using Callback = std::function<void(GdkTexture*)>;

    FaviconStore();
    explicit FaviconStore(Options options);
    // Downloads under way are cancelled and their waiters are not called.
    ~FaviconStore();
    FaviconStore(const FaviconStore&) = delete;
    FaviconStore& operator=(const FaviconStore&) = delete;

    // The process-wide store, created on first use with Options::fromEnvironment().
    static FaviconStore& shared();

    // Asks for the icon of the site `page` is on, trying the icon the page declared and then the
    // site's /favicon.ico (Favicon::candidates). A site whose icon is at hand answers at once, before
    // this returns; a site known to have none, or an address that has no site key, never answers.
    // When the page declares an icon other than the one at hand, that icon is fetched, and it
    // replaces the one at hand if it can be had. Nothing is called once `cancellable` is cancelled:
    // pass the page's, so that a tab closed or gone to another page meanwhile is left alone.
    //
    // Bounded against a page that declares icon after icon: a site has one download under way and
    // one request waiting behind it, the newest (those in between are never fetched); a request
    // given up before its turn is not fetched at all; the requests of one cancellable wait once.
    void icon(const Url& page, std::optional<std::string_view> declared, Callback then,
              GCancellable* cancellable = nullptr);

    // The underlying operation: the icon stored under `key`, else the first of `candidates` (in
    // order) that gives one. A key at hand answers at once; a key known to have none, or no
    // candidates, never answers; a key being fetched adds the callback to those waiting for it.
    // When every candidate fails the key has no icon for the rest of the run and the waiters get
    // nullptr.
    void fetch(const std::string& key, std::vector<Url> candidates, Callback then,
               GCancellable* cancellable = nullptr);

    // The icon stored under `key` (greyed when asked), or nullptr.
    [[nodiscard]] GdkTexture* cached(std::string_view key, bool grey = false) const;
    // Whether every candidate for `key` failed.
    [[nodiscard]] bool isMiss(std::string_view key) const;
    // Whether a download for `key` is under way.
    [[nodiscard]] bool isFetching(std::string_view key) const;

    // Sends later requests through this proxy, or through the system's proxy settings when none.
    void setProxy(std::optional<std::string_view> proxy);

    // The image with its colour taken out (each pixel becomes its luminance, alpha kept), made once
    // per image and kept with it; the image itself when there is nothing to grey.
    [[nodiscard]] static GdkTexture* grey(GdkTexture* image);
    // Draws an icon into `bounds`, greyed when asked.
    static void draw(GtkSnapshot* snapshot, GdkTexture* image, const graphene_rect_t& bounds, bool grey);

private:
    struct State;

    [[nodiscard]] bool onOwnerThread() const;

    std::shared_ptr<State> m_state;
    std::thread::id m_owner;
};

} // namespace nimb
