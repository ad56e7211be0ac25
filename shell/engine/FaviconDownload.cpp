#include "engine/FaviconDownload.h"

#include "engine/FaviconImage.h"
#include "glib/Async.h"
#include "glib/Error.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace nimb {

namespace {

// How much of a body is read at a time.
constexpr gsize readChunk = 64 * 1024;

} // namespace

FaviconDownload* FaviconDownload::start(SoupSession* session, const std::string& address,
                                        std::chrono::milliseconds timeout, Done done) {
    SoupMessage* message = soup_message_new("GET", address.c_str());
    if (!message) return nullptr;
    std::unique_ptr<FaviconDownload> download(new FaviconDownload());
    download->m_done = std::move(done);
    download->m_message = glib::adoptGRef(message);
    download->m_cancellable = glib::adoptGRef(g_cancellable_new());
    soup_message_headers_replace(soup_message_get_request_headers(message), "Accept", "image/*");
    std::chrono::milliseconds delay(std::clamp<std::int64_t>(timeout.count(), 1, G_MAXINT));
    download->m_deadline = glib::Source::timeout(
        delay, [cancellable = download->m_cancellable] { g_cancellable_cancel(cancellable.get()); });
    FaviconDownload* started = download.get();
    GCancellable* cancellable = download->m_cancellable.get();
    // A download's own cancellation (its deadline, or its owner giving up) must still end in finish(),
    // which winds it up, so its errors are not handed on: glib::async would skip the rest of a
    // cancelled call. Whatever went wrong, the address simply gave no icon.
    auto call = glib::async(
        [](GObject* source, GAsyncResult* result, GError**) {
            return glib::adoptGRef(soup_session_send_finish(SOUP_SESSION(source), result, nullptr));
        },
        [download = std::move(download)](glib::GRefPtr<GInputStream> stream, const glib::Error&) mutable {
            sent(std::move(download), std::move(stream));
        });
    soup_session_send_async(session, message, G_PRIORITY_DEFAULT, cancellable, call.callback, call.data);
    return started;
}

void FaviconDownload::cancel() {
    g_cancellable_cancel(m_cancellable.get());
}

void FaviconDownload::sent(std::unique_ptr<FaviconDownload> download, glib::GRefPtr<GInputStream> stream) {
    if (!stream) return finish(std::move(download), {});
    download->m_stream = std::move(stream);

    // Only a successful answer is read, and not one that says it is a page or text, nor one that
    // announces more than an icon can be.
    SoupMessage* message = download->m_message.get();
    guint status = soup_message_get_status(message);
    SoupMessageHeaders* headers = soup_message_get_response_headers(message);
    const char* type = soup_message_headers_get_content_type(headers, nullptr);
    download->m_contentType = type ? type : "";
    bool tooLong = soup_message_headers_get_encoding(headers) == SOUP_ENCODING_CONTENT_LENGTH &&
                   soup_message_headers_get_content_length(headers) > static_cast<goffset>(largestBody);
    if (status < 200 || status > 299 || FaviconImage::labelledAsNoImage(download->m_contentType) || tooLong)
        return finish(std::move(download), {});
    readMore(std::move(download));
}

void FaviconDownload::readMore(std::unique_ptr<FaviconDownload> download) {
    GInputStream* stream = download->m_stream.get();
    GCancellable* cancellable = download->m_cancellable.get();
    // As in start(): a cancelled read still ends in finish().
    auto call = glib::async(
        [](GObject* source, GAsyncResult* result, GError**) {
            return glib::adoptGRef(g_input_stream_read_bytes_finish(G_INPUT_STREAM(source), result, nullptr));
        },
        [download = std::move(download)](glib::GRefPtr<GBytes> bytes, const glib::Error&) mutable {
            read(std::move(download), std::move(bytes));
        });
    g_input_stream_read_bytes_async(stream, readChunk, G_PRIORITY_DEFAULT, cancellable, call.callback,
                                    call.data);
}

void FaviconDownload::read(std::unique_ptr<FaviconDownload> download, glib::GRefPtr<GBytes> bytes) {
    if (!bytes) return finish(std::move(download), {});
    gsize size = 0;
    const auto* part = static_cast<const char*>(g_bytes_get_data(bytes.get(), &size));
    if (size == 0) {
        auto texture = FaviconImage::decode(download->m_contentType, download->m_body);
        return finish(std::move(download), std::move(texture));
    }
    if (download->m_body.size() + size > largestBody) return finish(std::move(download), {});
    download->m_body.append(part, size);
    readMore(std::move(download));
}

void FaviconDownload::finish(std::unique_ptr<FaviconDownload> download, glib::GRefPtr<GdkTexture> texture) {
    download->m_deadline.cancel();
    if (download->m_done) download->m_done(*download, std::move(texture));
}

} // namespace nimb
