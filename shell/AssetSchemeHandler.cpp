#include "AssetSchemeHandler.h"

#include "pages/AssetScheme.h"

#include <gio/gio.h>

#include <string>
#include <utility>

namespace nimb::AssetSchemeHandler {

namespace {

// Marks a context that already answers the scheme.
constexpr const char* installedKey = "nimb-asset-scheme-installed";

void answer(WebKitURISchemeRequest* request, gpointer data) {
    const auto& fonts = *static_cast<const std::filesystem::path*>(data);
    const char* uri = webkit_uri_scheme_request_get_uri(request);
    auto served = AssetScheme::serve(uri ? uri : "", fonts);
    if (!served) {
        GError* error = g_error_new(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "No such asset: %s", uri ? uri : "");
        webkit_uri_scheme_request_finish_error(request, error);
        g_error_free(error);
        return;
    }
    // The stream owns its bytes: the answer may be read after this function returns.
    auto* bytes = new std::string(std::move(served->bytes));
    const auto length = static_cast<gint64>(bytes->size());
    GInputStream* stream =
        g_memory_input_stream_new_from_data(bytes->data(), static_cast<gssize>(bytes->size()), nullptr);
    g_object_set_data_full(
        G_OBJECT(stream), "bytes", bytes, +[](gpointer p) { delete static_cast<std::string*>(p); });
    webkit_uri_scheme_request_finish(request, stream, length, served->mimeType.c_str());
    g_object_unref(stream);
}

} // namespace

std::filesystem::path fontsDirectory() {
    return std::filesystem::path(NIMB_RESOURCES_DIR) / std::string(AssetScheme::directory);
}

bool install(WebKitWebContext* context, std::filesystem::path fonts) {
    if (!context || g_object_get_data(G_OBJECT(context), installedKey)) return false;
    g_object_set_data(G_OBJECT(context), installedKey, GINT_TO_POINTER(1));
    auto* directory = new std::filesystem::path(std::move(fonts));
    webkit_web_context_register_uri_scheme(
        context, std::string(AssetScheme::scheme).c_str(), answer, directory,
        +[](gpointer p) { delete static_cast<std::filesystem::path*>(p); });
    return true;
}

} // namespace nimb::AssetSchemeHandler
