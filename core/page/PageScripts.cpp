#include "page/PageScripts.h"

#include "base/Json.h"

namespace nimb::PageScripts {

// Defined in the source the build generates from core/scripts/*.js.
namespace source {
extern const std::string_view recorder;
extern const std::string_view snapshot;
extern const std::string_view declutter;
extern const std::string_view forgetStorage;
extern const std::string_view linkHover;
extern const std::string_view favicon;
extern const std::string_view selection;
extern const std::string_view find;
} // namespace source

namespace {

std::string wrapped(std::string_view head, std::string_view value, std::string_view body) {
    static constexpr std::string_view tail = "\n})();";
    std::string text;
    text.reserve(head.size() + value.size() + body.size() + tail.size() + 2);
    text += head;
    text += value;
    text += ";\n";
    text += body;
    text += tail;
    return text;
}

} // namespace

std::string recorder(std::string_view table) {
    return wrapped("(function(){\nvar TABLE = ", table, source::recorder);
}

std::string_view snapshot() {
    return source::snapshot;
}

std::string declutter(const std::vector<std::string>& hiding) {
    std::string list = "[";
    for (std::size_t i = 0; i < hiding.size(); ++i) {
        if (i > 0) list += ',';
        json::appendString(list, hiding[i]);
    }
    list += ']';
    return wrapped("(function(){\nvar HIDE = ", list, source::declutter);
}

std::string_view forgetStorage() {
    return source::forgetStorage;
}

std::string_view linkHover() {
    return source::linkHover;
}

std::string_view favicon() {
    return source::favicon;
}

std::string_view selection() {
    return source::selection;
}

std::string_view find() {
    return source::find;
}

} // namespace nimb::PageScripts
