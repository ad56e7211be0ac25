#pragma once

// Asynchronous GIO-style calls from C++. `glib::async(finish, then)` makes the callback and user data
// for a `…_async(…, cancellable, callback, data)` call: when the operation ends, `finish` is called
// with the source, the result and an owned error's out-pointer, and `then` receives what it returned
// and the error — unless the operation was cancelled, in which case `then` is never called (whatever
// it would touch may be gone). The callable lives on the heap until the operation ends; GIO ends
// every operation exactly once, cancelled or not.
//
//   auto call = glib::async(
//       [](GObject* source, GAsyncResult* result, GError** error) {
//           return glib::adoptGRef(webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source),
//                                                                            result, error));
//       },
//       [weak](glib::GRefPtr<JSCValue> value, const glib::Error& error) { … });
//   webkit_web_view_evaluate_javascript(view, …, cancellable, call.callback, call.data);

#include "glib/Error.h"

#include <gio/gio.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace nimb::glib {

struct AsyncCall {
    GAsyncReadyCallback callback;
    gpointer data;
};

template <class Finish, class Then>
[[nodiscard]] AsyncCall async(Finish finish, Then then) {
    struct Pending {
        Finish finish;
        Then then;
    };
    auto* pending = new Pending{std::move(finish), std::move(then)};
    GAsyncReadyCallback callback = +[](GObject* source, GAsyncResult* result, gpointer data) {
        std::unique_ptr<Pending> call(static_cast<Pending*>(data));
        Error error;
        if constexpr (std::is_void_v<decltype(call->finish(source, result, error.out()))>) {
            call->finish(source, result, error.out());
            if (error.cancelled()) return;
            call->then(std::as_const(error));
        } else {
            auto value = call->finish(source, result, error.out());
            if (error.cancelled()) return;
            call->then(std::move(value), std::as_const(error));
        }
    };
    return AsyncCall{callback, pending};
}

} // namespace nimb::glib
