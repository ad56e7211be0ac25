#pragma once

// A callback of one of our widgets to its owner (`onSelect`, `onClick` …). The owner connects to it
// and keeps the Connection; when the owner goes, the callback goes with it, so a widget that outlives
// its owner (a toolkit holding a reference, a handler still running) never calls into freed memory.
// A hook is called through a copy of the callable, so that a callback that drops its own connection,
// or closes the window around the widget, does not pull the function out from under its own call.

#include "glib/Connection.h"

#include <functional>
#include <memory>

namespace nimb::glib {

template <class Signature>
class Hook;

template <class R, class... A>
class Hook<R(A...)> {
public:
    using Function = std::function<R(A...)>;

    Hook() = default;
    Hook(const Hook&) = delete;
    Hook& operator=(const Hook&) = delete;
    ~Hook() = default;

    // Replaces whatever was connected before.
    [[nodiscard]] Connection connect(Function function) {
        m_slot = std::make_shared<Function>(std::move(function));
        return Connection(std::make_unique<Link>(m_slot));
    }

    explicit operator bool() const { return m_slot && *m_slot; }

    // Calls the connected function; with none connected, returns R's default value.
    R operator()(A... arguments) const {
        if (!m_slot || !*m_slot) return R();
        Function call = *m_slot;
        return call(std::forward<A>(arguments)...);
    }

private:
    class Link final : public Connection::Link {
    public:
        explicit Link(const std::shared_ptr<Function>& slot) : m_slot(slot) {}
        void disconnect() override {
            if (auto slot = m_slot.lock()) *slot = nullptr;
            m_slot.reset();
        }

    private:
        std::weak_ptr<Function> m_slot;
    };

    std::shared_ptr<Function> m_slot;
};

} // namespace nimb::glib
