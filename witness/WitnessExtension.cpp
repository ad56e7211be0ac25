// The request witness, as the web engine loads it into a web process. For each page it hears of every
// request the page's frames and workers are about to send, stops those the blocklist lists (when
// blocking is on), counts them all by host for the document the page shows, and tells the window: a
// greeting when the page is made, then the counts, at most every tenth of a second while they change
// and once when the document has loaded. The window tells every witness what to do (block, count).

#include "page/RequestTally.h"
#include "page/WitnessMessage.h"

#include <webkit/webkit-web-process-extension.h>

#include <memory>
#include <string>

namespace {

using nimb::RequestTally;
namespace WitnessMessage = nimb::WitnessMessage;

// How long changed counts wait before they are sent: later changes join them.
constexpr guint sendDelayMs = 100;

RequestTally::Policy policy;

struct PageWitness {
    WebKitWebPage* page = nullptr; // owns this
    RequestTally tally;
    guint timer = 0;
    // The document counted, by a name drawn at random when it comes: the window tells by it whose
    // counts a message carries, across the page's processes (a page brought back from the page cache
    // is not one the witness sees come back, and its counts stay those of the document left).
    guint64 document = 0;

    ~PageWitness() {
        if (timer) g_source_remove(timer);
    }
};

const char* const key = "nimb-witness";

void send(const PageWitness& witness, const std::string& text) {
    WebKitUserMessage* message =
        webkit_user_message_new(std::string(WitnessMessage::name).c_str(),
                                g_variant_new("(ts)", static_cast<guint64>(witness.document), text.c_str()));
    webkit_web_page_send_message_to_view(witness.page, message, nullptr, nullptr, nullptr);
}

void sendCounts(PageWitness& witness) {
    if (witness.timer) {
        g_source_remove(witness.timer);
        witness.timer = 0;
    }
    (void)witness.tally.takeChanged();
    if (!policy.counting) return;
    send(witness, WitnessMessage::counts(witness.tally.counts()));
}

void sendSoon(PageWitness& witness) {
    if (witness.timer || !policy.counting) return;
    witness.timer = g_timeout_add(
        sendDelayMs,
        +[](gpointer data) -> gboolean {
            auto* self = static_cast<PageWitness*>(data);
            self->timer = 0;
            sendCounts(*self);
            return G_SOURCE_REMOVE;
        },
        &witness);
}

gboolean sendRequest(WebKitWebPage* page, WebKitURIRequest* request, WebKitURIResponse* redirected,
                     gpointer data) {
    auto& witness = *static_cast<PageWitness*>(data);
    const char* address = webkit_uri_request_get_uri(request);
    const char* pageAddress = webkit_web_page_get_uri(page);
    const char* from = redirected ? webkit_uri_response_get_uri(redirected) : nullptr;
    bool stop =
        witness.tally.note(address ? address : "", pageAddress ? pageAddress : "", from ? from : "", policy);
    if (witness.tally.takeChanged()) sendSoon(witness);
    return stop;
}

void documentLoaded(WebKitWebPage*, gpointer data) {
    sendCounts(*static_cast<PageWitness*>(data));
}

// A new document in a page's main frame: what was counted was the last one's.
void windowObjectCleared(WebKitScriptWorld*, WebKitWebPage* page, WebKitFrame* frame, gpointer) {
    if (!webkit_frame_is_main_frame(frame)) return;
    auto* witness = static_cast<PageWitness*>(g_object_get_data(G_OBJECT(page), key));
    if (!witness) return;
    if (witness->timer) {
        g_source_remove(witness->timer);
        witness->timer = 0;
    }
    witness->tally.reset();
    (void)witness->tally.takeChanged();
    witness->document = (static_cast<guint64>(g_random_int()) << 32) | g_random_int();
    // Said at once, nothing counted yet: the window knows the document by its name before the page
    // can be left, and a count sent late for it is never taken for another's.
    if (policy.counting) send(*witness, WitnessMessage::counts(witness->tally.counts()));
}

void pageCreated(WebKitWebProcessExtension*, WebKitWebPage* page, gpointer) {
    auto* witness = new PageWitness;
    witness->page = page;
    g_object_set_data_full(
        G_OBJECT(page), key, witness, +[](gpointer data) { delete static_cast<PageWitness*>(data); });
    g_signal_connect(page, "send-request", G_CALLBACK(sendRequest), witness);
    g_signal_connect(page, "document-loaded", G_CALLBACK(documentLoaded), witness);
    send(*witness, WitnessMessage::hello());
}

// (blocking, counting); anything else is left as it is.
void readPolicy(GVariant* value) {
    if (!value || !g_variant_is_of_type(value, G_VARIANT_TYPE("(bb)"))) return;
    gboolean blocking = TRUE, counting = TRUE;
    g_variant_get(value, "(bb)", &blocking, &counting);
    policy.blocking = blocking;
    policy.counting = counting;
}

gboolean messageReceived(WebKitWebProcessExtension*, WebKitUserMessage* message, gpointer) {
    const char* name = webkit_user_message_get_name(message);
    if (name && WitnessMessage::policyName == name) readPolicy(webkit_user_message_get_parameters(message));
    return TRUE;
}

} // namespace

extern "C" G_MODULE_EXPORT void
webkit_web_process_extension_initialize_with_user_data(WebKitWebProcessExtension* extension, GVariant* data) {
    readPolicy(data);
    g_signal_connect(extension, "page-created", G_CALLBACK(pageCreated), nullptr);
    g_signal_connect(extension, "user-message-received", G_CALLBACK(messageReceived), nullptr);
    g_signal_connect(webkit_script_world_get_default(), "window-object-cleared",
                     G_CALLBACK(windowObjectCleared), nullptr);
}
