#include "engine/FaviconImage.h"

#include "base/Text.h"
#include "glib/Connection.h"
#include "glib/Error.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

namespace nimb::FaviconImage {

namespace {

bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// The media type of a Content-Type value, lower-cased, without its parameters.
std::string mediaType(std::string_view contentType) {
    return text::asciiLowercased(text::trimmed(contentType.substr(0, contentType.find(';'))));
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

bool labelledAsNoImage(std::string_view contentType) {
    std::string type = mediaType(contentType);
    if (type.empty()) return false;
    if (startsWith(type, "text/")) return true;
    static constexpr std::string_view documents[] = {"application/xhtml+xml", "application/json",
                                                     "application/javascript", "application/ecmascript"};
    return std::find(std::begin(documents), std::end(documents), type) != std::end(documents);
}

std::optional<std::string_view> imageType(std::string_view contentType, std::string_view body) {
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

glib::GRefPtr<GdkTexture> decode(std::string_view contentType, std::string_view body) {
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

} // namespace nimb::FaviconImage
