#include "engine/ScriptValue.h"

#include "base/Text.h"
#include "glib/GRefPtr.h"

#include <cmath>
#include <vector>

namespace nimb::ScriptValue {

namespace {

nlohmann::json readAt(JSCValue* value, const std::vector<const char*>& keys, const Limits& limits,
                      std::size_t depth) {
    if (!value || jsc_value_is_undefined(value) || jsc_value_is_null(value)) return nullptr;
    if (jsc_value_is_boolean(value)) return jsc_value_to_boolean(value) != FALSE;
    if (jsc_value_is_number(value)) return jsc_value_to_double(value);
    if (jsc_value_is_string(value)) {
        glib::GUniquePtr<char> text(jsc_value_to_string(value));
        if (!text) return "";
        std::string_view whole(text.get());
        return text::validUtf8(whole.substr(0, limits.textBytes));
    }
    if (depth == 0) return nullptr;
    if (jsc_value_is_array(value)) {
        auto list = nlohmann::json::array();
        auto length = glib::adoptGRef(jsc_value_object_get_property(value, "length"));
        double count = length && jsc_value_is_number(length.get()) ? jsc_value_to_double(length.get()) : 0;
        if (!(count > 0)) return list;
        auto wanted = static_cast<std::size_t>(std::min(count, static_cast<double>(limits.items)));
        for (std::size_t i = 0; i < wanted; ++i) {
            auto item = glib::adoptGRef(jsc_value_object_get_property_at_index(value, static_cast<guint>(i)));
            list.push_back(readAt(item.get(), {}, limits, depth - 1));
        }
        return list;
    }
    if (jsc_value_is_function(value) || !jsc_value_is_object(value)) return nullptr;
    auto object = nlohmann::json::object();
    for (const char* key : keys) {
        if (!jsc_value_object_has_property(value, key)) continue;
        auto member = glib::adoptGRef(jsc_value_object_get_property(value, key));
        object[key] = readAt(member.get(), {}, limits, depth - 1);
    }
    return object;
}

} // namespace

nlohmann::json read(JSCValue* value, std::initializer_list<const char*> keys, const Limits& limits) {
    return readAt(value, std::vector<const char*>(keys), limits, limits.depth);
}

std::optional<std::string> text(JSCValue* value) {
    if (!value || !jsc_value_is_string(value)) return std::nullopt;
    glib::GUniquePtr<char> text(jsc_value_to_string(value));
    return std::string(text ? text.get() : "");
}

} // namespace nimb::ScriptValue
