#pragma once

// Writes down every event a JSON reader hands over (nlohmann's SAX interface), for comparing two
// readers of one text. The contents of a container that is the value of a member the rule names are
// passed over: the quick reader is asked to skip them, and nlohmann's reader hands them over
// regardless, so the recorder leaves them out itself; the container's start and end are still
// written.

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace nimb::test {

class JsonEvents {
public:
    explicit JsonEvents(std::function<bool(const std::string&)> passesOver)
        : m_passesOver(std::move(passesOver)) {}

    std::string events;

    bool null() { return scalar("n"); }
    bool boolean(bool value) { return scalar(value ? "t" : "f"); }
    bool number_integer(std::int64_t value) { return scalar("i" + std::to_string(value)); }
    bool number_unsigned(std::uint64_t value) { return scalar("u" + std::to_string(value)); }
    bool number_float(double, const std::string& written) { return scalar("d" + written); }
    bool string(std::string& value) { return scalar("s" + value); }
    bool binary(nlohmann::json::binary_t&) { return scalar("b"); }
    bool key(std::string& name) {
        if (m_passing == 0) m_passNext = m_passesOver(name);
        return add("k" + name);
    }
    bool start_object(std::size_t) { return open("{"); }
    bool start_array(std::size_t) { return open("["); }
    bool end_object() { return close("}"); }
    bool end_array() { return close("]"); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }
    // Asked by the quick reader on entering a container: whether to skip its contents.
    bool skipsContents() const { return m_passing == 1; }

private:
    bool add(const std::string& event) {
        if (m_passing == 0) events += event + ' ';
        return true;
    }
    bool scalar(const std::string& event) {
        m_passNext = false;
        return add(event);
    }
    bool open(const char* event) {
        if (m_passing > 0) {
            ++m_passing;
            return true;
        }
        add(event);
        m_passing = m_passNext ? 1 : 0;
        m_passNext = false;
        return true;
    }
    bool close(const char* event) {
        if (m_passing > 1) {
            --m_passing;
            return true;
        }
        m_passing = 0;
        return add(event);
    }

    std::function<bool(const std::string&)> m_passesOver;
    std::size_t m_passing = 0; // depth inside a container passed over
    bool m_passNext = false;
};

} // namespace nimb::test
