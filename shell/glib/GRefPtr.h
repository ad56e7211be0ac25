#pragma once

// Ownership of GLib objects from C++. A GRefPtr holds one reference to a GObject (or to a boxed or
// otherwise reference-counted type through its own traits): adoptGRef() takes over a new full
// reference, constructing from a raw pointer takes a reference of its own (sinking a floating one).
// GUniquePtr owns g_free'd memory.

#include <glib-object.h>
#include <memory>
#include <utility>

namespace nimb::glib {

template <class T>
struct GRefTraits {
    static T* ref(T* p) { return static_cast<T*>(g_object_ref_sink(p)); }
    static void unref(T* p) { g_object_unref(p); }
};

template <>
struct GRefTraits<GBytes> {
    static GBytes* ref(GBytes* p) { return g_bytes_ref(p); }
    static void unref(GBytes* p) { g_bytes_unref(p); }
};

template <>
struct GRefTraits<GVariant> {
    static GVariant* ref(GVariant* p) { return g_variant_ref_sink(p); }
    static void unref(GVariant* p) { g_variant_unref(p); }
};

template <>
struct GRefTraits<GMainLoop> {
    static GMainLoop* ref(GMainLoop* p) { return g_main_loop_ref(p); }
    static void unref(GMainLoop* p) { g_main_loop_unref(p); }
};

template <class T>
class GRefPtr {
public:
    GRefPtr() = default;
    GRefPtr(std::nullptr_t) {}
    // Takes a reference of its own (and sinks a floating one).
    explicit GRefPtr(T* p) : m_ptr(p ? GRefTraits<T>::ref(p) : nullptr) {}
    GRefPtr(const GRefPtr& other) : GRefPtr(other.m_ptr) {}
    GRefPtr(GRefPtr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    ~GRefPtr() { reset(); }

    GRefPtr& operator=(GRefPtr other) noexcept {
        std::swap(m_ptr, other.m_ptr);
        return *this;
    }

    void reset() {
        if (T* p = std::exchange(m_ptr, nullptr)) GRefTraits<T>::unref(p);
    }
    [[nodiscard]] T* release() { return std::exchange(m_ptr, nullptr); }

    T* get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }
    bool operator==(const GRefPtr& other) const { return m_ptr == other.m_ptr; }

    template <class U>
    friend GRefPtr<U> adoptGRef(U* p);

private:
    struct Adopt {};
    GRefPtr(T* p, Adopt) : m_ptr(p) {}
    T* m_ptr = nullptr;
};

// Takes over a reference the caller already owns (a *_new() result, a transfer-full return).
template <class T>
[[nodiscard]] GRefPtr<T> adoptGRef(T* p) {
    return GRefPtr<T>(p, typename GRefPtr<T>::Adopt{});
}

struct GFreeDeleter {
    void operator()(void* p) const { g_free(p); }
};
template <class T>
using GUniquePtr = std::unique_ptr<T, GFreeDeleter>;

struct GErrorDeleter {
    void operator()(GError* e) const { g_error_free(e); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorDeleter>;

// A signal connection that disconnects when it goes.
class SignalConnection {
public:
    SignalConnection() = default;
    SignalConnection(gpointer instance, gulong id) : m_instance(instance), m_id(id) {
        if (m_instance) g_object_weak_ref(G_OBJECT(m_instance), &SignalConnection::instanceGone, this);
    }
    SignalConnection(SignalConnection&&) = delete;
    SignalConnection& operator=(SignalConnection&&) = delete;
    ~SignalConnection() { disconnect(); }

    void disconnect() {
        if (m_instance) {
            g_object_weak_unref(G_OBJECT(m_instance), &SignalConnection::instanceGone, this);
            g_signal_handler_disconnect(m_instance, m_id);
            m_instance = nullptr;
        }
    }

private:
    static void instanceGone(gpointer self, GObject*) {
        static_cast<SignalConnection*>(self)->m_instance = nullptr;
    }
    gpointer m_instance = nullptr;
    gulong m_id = 0;
};

// Keeps an object alive to the end of the scope: for a widget's handler whose action may close the
// window around it.
inline GRefPtr<GObject> hold(gpointer object) {
    return GRefPtr<GObject>(G_OBJECT(object));
}

} // namespace nimb::glib
