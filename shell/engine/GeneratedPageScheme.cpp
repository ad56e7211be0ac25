#include "engine/GeneratedPageScheme.h"

#include "glib/GRefPtr.h"

#include <gio/gio.h>

#include <utility>

namespace nimb::GeneratedPageScheme {

namespace {

constexpr const char* installedKey = "nimb-page-scheme-installed";

void fail(WebKitURISchemeRequest* request, const char* uri) {
    glib::GUniquePtr<GError> error(g_error_new(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "No such page: %s", uri));
    webkit_uri_scheme_request_finish_error(request, error.get());
}

void answer(WebKitURISchemeRequest* request, gpointer data) {
    const auto& draw = *static_cast<Draw*>(data);
    const char* uri = webkit_uri_scheme_request_get_uri(request);
    auto entry = uri ? GeneratedPage::parse(uri) : std::nullopt;
    WebKitWebView* view = webkit_uri_scheme_request_get_web_view(request);
    auto html = entry && view ? draw(view, *entry) : std::nullopt;
    if (!html) return fail(request, uri ? uri : "");
    auto* text = new std::string(std::move(*html));
    auto bytes = glib::adoptGRef(g_bytes_new_with_free_func(
        text->data(), text->size(), +[](gpointer p) { delete static_cast<std::string*>(p); }, text));
    auto stream = glib::adoptGRef(g_memory_input_stream_new_from_bytes(bytes.get()));
    auto response = glib::adoptGRef(
        webkit_uri_scheme_response_new(stream.get(), static_cast<gint64>(g_bytes_get_size(bytes.get()))));
    webkit_uri_scheme_response_set_content_type(response.get(), "text/html; charset=utf-8");
    webkit_uri_scheme_request_finish_with_response(request, response.get());
}

} // namespace

bool install(WebKitWebContext* context, Draw draw) {
    if (!context || g_object_get_data(G_OBJECT(context), installedKey)) return false;
    g_object_set_data(G_OBJECT(context), installedKey, GINT_TO_POINTER(1));
    const std::string scheme(GeneratedPage::scheme);
    webkit_web_context_register_uri_scheme(
        context, scheme.c_str(), answer, new Draw(std::move(draw)),
        +[](gpointer p) { delete static_cast<Draw*>(p); });
    // Local: pages from the web may not load it, link to it or put it in a frame.
    webkit_security_manager_register_uri_scheme_as_local(webkit_web_context_get_security_manager(context),
                                                         scheme.c_str());
    return true;
}

} // namespace nimb::GeneratedPageScheme
