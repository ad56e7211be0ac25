#pragma once

// Values that come out of a page (message bodies, script results) as JSON, read with bounds: a page
// decides what it posts, so nothing here follows a value further than the browser will look.

#include <jsc/jsc.h>
#include <nlohmann/json.hpp>

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>

namespace nimb::ScriptValue {

struct Limits {
    std::size_t textBytes = 64 * 1024; // a text is cut to this many bytes (then made valid UTF-8)
    std::size_t items = 1000;          // a list is read no further than this
    std::size_t depth = 2;             // lists and objects nested deeper read as null
};

// The value as JSON: null, a boolean, a number, a text, a list of its first items, or (with depth
// left) an object of the named keys it has. Functions and anything else read as null.
[[nodiscard]] nlohmann::json read(JSCValue* value, std::initializer_list<const char*> keys = {},
                                  const Limits& limits = {});

// The value when it is a text (not cut); none for anything else.
[[nodiscard]] std::optional<std::string> text(JSCValue* value);

} // namespace nimb::ScriptValue
