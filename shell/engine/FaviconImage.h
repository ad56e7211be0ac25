#pragma once

// What a response body is as a site's icon: the kind of image it starts like, and the image itself,
// decoded with its size checked before a pixel is decoded and scaled down to what an icon needs. A
// body that its server labels as a page or as text is never an icon, whatever it starts with, so an
// HTML error page is never handed to an image decoder.

#include "glib/GRefPtr.h"

#include <gtk/gtk.h>

#include <optional>
#include <string_view>

namespace nimb::FaviconImage {

// An image wider or taller than this, in pixels, is refused before it is decoded.
inline constexpr int largestImage = 4096;
// Icons are kept at most this many pixels wide and tall; larger ones are scaled down.
inline constexpr int keptSide = 128;

// Whether a server that labels its answer with this Content-Type says it is something other than an
// image (text, a document, a script).
[[nodiscard]] bool labelledAsNoImage(std::string_view contentType);

// The decoder for a response body (a gdk-pixbuf format name: "png", "gif", "jpeg", "ico", "bmp",
// "webp", "svg"), judged by what the body starts with; none for a body that is no image of a kind
// icons come in, or when the server labels it as text or as a document.
[[nodiscard]] std::optional<std::string_view> imageType(std::string_view contentType, std::string_view body);

// The image in a response body, scaled down to keptSide when larger; none when it is no image
// (imageType), does not decode, is empty in either dimension or is larger than largestImage.
[[nodiscard]] glib::GRefPtr<GdkTexture> decode(std::string_view contentType, std::string_view body);

} // namespace nimb::FaviconImage
