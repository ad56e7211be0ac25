#pragma once

// A connection that undoes itself when it goes: a GLib signal handler, a C++ hook of one of our
// widgets, a main-loop source. Its owner keeps it as a member (or in a vector of them), so the
// handler can never outlive the object it calls into; there are no lists of handlers to clear by
// hand in destructors. A connection to an object that went first is simply forgotten.
//
//   m_connections.push_back(glib::connect<void(WebKitWebView*, GParamSpec*)>(
//       view, "notify::title", [this](WebKitWebView*, GParamSpec*) { titleChanged(); }));

#include <glib-object.h>

#include <memory>
#include <utility>

namespace nimb::glib {

class Connection {
public:
    // What a connection undoes.
    class Link {
    public:
        virtual ~Link() = default;
        virtual void disconnect() = 0;
    };

    Connection() = default;
    explicit Connection(std::unique_ptr<Link> link) : m_link(std::move(link)) {}
    Connection(Connection&&) noexcept = default;
    Connection& operator=(Connection&& other) noexcept {
        if (this != &other) {
            disconnect();
            m_link = std::move(other.m_link);
        }
        return *this;
    }
    ~Connection() { disconnect(); }

    void disconnect() {
        if (auto link = std::move(m_link)) link->disconnect();
    }
    explicit operator bool() const { return m_link != nullptr; }

private:
    std::unique_ptr<Link> m_link;
};

namespace detail {

// A signal handler on a GObject, watched with a weak reference so that a connection to an object
// finalized first does not disconnect from freed memory.
class SignalLink final : public Connection::Link {
public:
    SignalLink(gpointer instance, gulong id) : m_instance(instance), m_id(id) {
        g_object_weak_ref(G_OBJECT(m_instance), &SignalLink::gone, this);
    }
    ~SignalLink() override { disconnect(); }
    void disconnect() override {
        if (!m_instance) return;
        g_object_weak_unref(G_OBJECT(m_instance), &SignalLink::gone, this);
        if (g_signal_handler_is_connected(m_instance, m_id)) g_signal_handler_disconnect(m_instance, m_id);
        m_instance = nullptr;
    }

private:
    static void gone(gpointer self, GObject*) { static_cast<SignalLink*>(self)->m_instance = nullptr; }
    gpointer m_instance;
    gulong m_id;
};

template <class Signature>
struct Trampoline;

template <class R, class... A>
struct Trampoline<R(A...)> {
    template <class F>
    static R call(A... arguments, gpointer data) {
        return (*static_cast<F*>(data))(arguments...);
    }
};

} // namespace detail

namespace detail {

// Connects the callable, kept until the handler is disconnected or the object goes.
template <class Signature, class F>
gulong connectKept(gpointer instance, const char* signal, F callable, bool after) {
    auto* kept = new F(std::move(callable));
    return g_signal_connect_data(
        instance, signal, G_CALLBACK((&Trampoline<Signature>::template call<F>)), kept,
        +[](gpointer data, GClosure*) { delete static_cast<F*>(data); },
        after ? G_CONNECT_AFTER : static_cast<GConnectFlags>(0));
}

} // namespace detail

// Connects a C++ callable to a GObject signal whose handler has the C signature `Signature` (without
// the trailing user-data pointer). The callable lives until the connection or the object goes.
template <class Signature, class F>
[[nodiscard]] Connection connect(gpointer instance, const char* signal, F callable, bool after = false) {
    gulong id = detail::connectKept<Signature>(instance, signal, std::move(callable), after);
    return Connection(std::make_unique<detail::SignalLink>(instance, id));
}

// The same for an object that owns its handler outright, such as a dialog that answers once and
// goes: the callable lives as long as the object, and nothing else can outlive it.
template <class Signature, class F>
void connectForLife(gpointer instance, const char* signal, F callable) {
    detail::connectKept<Signature>(instance, signal, std::move(callable), false);
}

} // namespace nimb::glib
