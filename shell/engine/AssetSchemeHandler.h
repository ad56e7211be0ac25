#pragma once

// The "nimb-asset" scheme in the web engine: the browser's own pages ask it for the two Fira Sans
// faces, and it answers from the resources' Fonts directory (which names it serves, and how, is
// AssetScheme's in core). Anything else it is asked for fails as a missing file, and the page falls
// back to the next family of its font stack.

#include <webkit/webkit.h>

#include <filesystem>

namespace nimb::AssetSchemeHandler {

// The Fonts directory of the resources this build was made with.
[[nodiscard]] std::filesystem::path fontsDirectory();

// Registers the scheme on a web context, answering from `fonts`. A context takes it once: a later call
// for the same context changes nothing and answers false.
bool install(WebKitWebContext* context, std::filesystem::path fonts = fontsDirectory());

} // namespace nimb::AssetSchemeHandler
