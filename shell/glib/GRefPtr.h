#pragma once

// Ownership of GLib objects from C++. A GRefPtr holds one reference to a GObject, or to a boxed or
// otherwise counted type through its traits (GRefTraits.h): adoptGRef() takes over a new full
// reference, constructing from a raw pointer takes a reference of its own (sinking a floating one).
// GUniquePtr owns memory that is freed rather than counted: g_free'd text, a GError, a string vector.

#include "glib/GRefTraits.h"

#include <memory>
#include <utility>

namespace nimb::glib {

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

template <class T>
struct GFreeDeleter {
    void operator()(T* p) const { GFreeTraits<T>::free(p); }
};
template <class T>
using GUniquePtr = std::unique_ptr<T, GFreeDeleter<T>>;

// Keeps an object alive to the end of the scope: for a widget's handler whose action may close the
// window around it.
inline GRefPtr<GObject> hold(gpointer object) {
    return GRefPtr<GObject>(G_OBJECT(object));
}

} // namespace nimb::glib
