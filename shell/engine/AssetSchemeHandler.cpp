#include "engine/AssetSchemeHandler.h"

#include "glib/GRefPtr.h"
#include "pages/AssetScheme.h"

#include <gio/gio.h>

#include <map>
#include <string>
#include <utility>

namespace nimb::AssetSchemeHandler {

namespace {

// Marks a context that already answers the scheme.
constexpr const char* installedKey = "nimb-asset-scheme-installed";

// What one context serves: the files are read on first request and kept, since every generated page
// asks for them again and they do not change while the browser runs.
struct Shelf {
    std::filesystem::path fonts;
    struct File {
        glib::GRefPtr<GBytes> bytes;
        std::string mimeType;
    };
    std::map<std::string, File, std::less<>> files;
};

void answer(WebKitURISchemeRequest* request, gpointer data) {
    auto& shelf = *static_cast<Shelf*>(data);
    const char* uri = webkit_uri_scheme_request_get_uri(request);
    const std::string_view address = uri ? uri : "";

    const Shelf::File* file = nullptr;
    if (auto asset = AssetScheme::assetFor(address)) {
        auto kept = shelf.files.find(asset->name);
        if (kept == shelf.files.end()) {
            if (auto served = AssetScheme::serve(address, shelf.fonts)) {
                auto bytes = glib::adoptGRef(g_bytes_new(served->bytes.data(), served->bytes.size()));
                kept =
                    shelf.files.emplace(std::string(asset->name), Shelf::File{bytes, served->mimeType}).first;
            }
        }
        if (kept != shelf.files.end()) file = &kept->second;
    }
    if (!file) {
        glib::GUniquePtr<GError> error(
            g_error_new(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "No such asset: %s", uri ? uri : ""));
        webkit_uri_scheme_request_finish_error(request, error.get());
        return;
    }
    auto stream = glib::adoptGRef(g_memory_input_stream_new_from_bytes(file->bytes.get()));
    webkit_uri_scheme_request_finish(request, stream.get(),
                                     static_cast<gint64>(g_bytes_get_size(file->bytes.get())),
                                     file->mimeType.c_str());
}

} // namespace

std::filesystem::path fontsDirectory() {
    return std::filesystem::path(NIMB_RESOURCES_DIR) / std::string(AssetScheme::directory);
}

bool install(WebKitWebContext* context, std::filesystem::path fonts) {
    if (!context || g_object_get_data(G_OBJECT(context), installedKey)) return false;
    g_object_set_data(G_OBJECT(context), installedKey, GINT_TO_POINTER(1));
    webkit_web_context_register_uri_scheme(
        context, std::string(AssetScheme::scheme).c_str(), answer, new Shelf{std::move(fonts), {}},
        +[](gpointer p) { delete static_cast<Shelf*>(p); });
    return true;
}

} // namespace nimb::AssetSchemeHandler
