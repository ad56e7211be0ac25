#pragma once

// One icon address being downloaded for the favicon store. The request asks for "image/*" and is
// given up when its deadline passes; only a successful answer is read, and not one that says it is a
// page or text, nor one that announces more than an icon can be; the body is read a chunk at a time
// and given up past largestBody, then decoded (FaviconImage).
//
// A download is owned by the chain of its own callbacks, not by whoever started it: it ends exactly
// once, in its `Done` callable, with the icon or with none — whether it succeeded, failed, ran out of
// time or was cancelled — and goes right after. Whoever started it keeps the pointer only to cancel it,
// and forgets it when it ends.

#include "glib/GRefPtr.h"
#include "glib/Source.h"

#include <gtk/gtk.h>
#include <libsoup/soup.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace nimb {

class FaviconDownload {
public:
    // Receives the download as it ends, and the icon it found or nullptr.
    using Done = std::function<void(FaviconDownload&, glib::GRefPtr<GdkTexture>)>;

    // The largest body read for an icon, in bytes; a longer one is no icon.
    static constexpr std::size_t largestBody = 1 << 20;

    // Sends the request for `address` through `session`, to be given up after `timeout`. Null when no
    // request can even be made for the address (and `done` is never called); otherwise the download,
    // valid until it ends in `done`.
    [[nodiscard]] static FaviconDownload* start(SoupSession* session, const std::string& address,
                                                std::chrono::milliseconds timeout, Done done);

    FaviconDownload(const FaviconDownload&) = delete;
    FaviconDownload& operator=(const FaviconDownload&) = delete;

    // Gives up: the download ends, with no icon, once the call under way returns.
    void cancel();

private:
    FaviconDownload() = default;

    static void sent(std::unique_ptr<FaviconDownload> download, glib::GRefPtr<GInputStream> stream);
    static void readMore(std::unique_ptr<FaviconDownload> download);
    static void read(std::unique_ptr<FaviconDownload> download, glib::GRefPtr<GBytes> bytes);
    static void finish(std::unique_ptr<FaviconDownload> download, glib::GRefPtr<GdkTexture> texture);

    Done m_done;
    glib::GRefPtr<SoupMessage> m_message;
    glib::GRefPtr<GCancellable> m_cancellable;
    glib::GRefPtr<GInputStream> m_stream;
    std::string m_contentType;
    std::string m_body;
    // Cancels the download when its time is up; removed when the download ends.
    glib::Source m_deadline;
};

} // namespace nimb
