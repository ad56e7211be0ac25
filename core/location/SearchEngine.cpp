#include "location/SearchEngine.h"

#include "base/PercentEncoding.h"
#include "vocabulary/Language.h"

namespace nimb {

namespace {

struct Endpoint {
    std::string_view name;
    std::string_view host;
    std::string_view homePath;
    std::string_view queryPath;
    std::string_view queryKey;
};

std::optional<Endpoint> endpoint(SearchEngine engine) {
    switch (engine) {
    case SearchEngine::ddgLite:
        return Endpoint{"DuckDuckGo Lite", "lite.duckduckgo.com", "/lite/", "/lite/", "q"};
    case SearchEngine::nimb:
        return Endpoint{"The NIMB 2000", "nimb2000.net", "/", "/find", "q"};
    case SearchEngine::google:
        return Endpoint{"Google", "www.google.com", "/", "/search", "q"};
    case SearchEngine::marginalia:
        return Endpoint{"Marginalia", "search.marginalia.nu", "/", "/search", "query"};
    case SearchEngine::wiby:
        return Endpoint{"Wiby", "wiby.me", "/", "/", "q"};
    case SearchEngine::none:
        break;
    }
    return std::nullopt;
}

} // namespace

std::string displayName(SearchEngine engine) {
    if (auto point = endpoint(engine)) return std::string(point->name);
    return words().urlsOnly();
}

std::optional<SearchEngine> searchEngineNamed(std::string_view name) {
    for (SearchEngine engine : allCases<SearchEngine>) {
        if (displayName(engine) == name) return engine;
    }
    return std::nullopt;
}

std::optional<Url> home(SearchEngine engine) {
    auto point = endpoint(engine);
    if (!point) return std::nullopt;
    return Url::parse("https://" + std::string(point->host) + std::string(point->homePath));
}

std::optional<Url> url(SearchEngine engine, std::string_view query) {
    auto point = endpoint(engine);
    if (!point) return std::nullopt;
    std::string address = "https://" + std::string(point->host) + std::string(point->queryPath) + "?" +
                          std::string(point->queryKey) + "=" + percentEncodeAlphanumerics(query);
    return Url::parse(address);
}

} // namespace nimb
