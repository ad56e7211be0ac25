#pragma once

// An owned GError, for the `GError**` out-parameter of a call: pass `error.out()`, then ask the
// object. It frees the error when it goes, so no path can forget to.

#include <gio/gio.h>

#include <string>
#include <utility>

namespace nimb::glib {

class Error {
public:
    Error() = default;
    Error(Error&& other) noexcept : m_error(std::exchange(other.m_error, nullptr)) {}
    Error& operator=(Error&& other) noexcept {
        std::swap(m_error, other.m_error);
        return *this;
    }
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;
    ~Error() { clear(); }

    // The place for the call to write its error into; whatever was held before is freed.
    [[nodiscard]] GError** out() {
        clear();
        return &m_error;
    }

    explicit operator bool() const { return m_error != nullptr; }
    [[nodiscard]] const GError* get() const { return m_error; }
    [[nodiscard]] bool matches(GQuark domain, int code) const {
        return g_error_matches(m_error, domain, code);
    }
    // The operation was cancelled through its GCancellable.
    [[nodiscard]] bool cancelled() const { return matches(G_IO_ERROR, G_IO_ERROR_CANCELLED); }
    [[nodiscard]] std::string message() const { return m_error && m_error->message ? m_error->message : ""; }

private:
    void clear() {
        if (m_error) g_error_free(m_error);
        m_error = nullptr;
    }

    GError* m_error = nullptr;
};

} // namespace nimb::glib
