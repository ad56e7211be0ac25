#include "chrome/InlineCompletion.h"

#include <utility>

namespace nimb {

namespace {

int characterCount(const std::string& text) {
    return static_cast<int>(g_utf8_strlen(text.c_str(), static_cast<gssize>(text.size())));
}

} // namespace

InlineCompletion::InlineCompletion(GtkWidget* field) : m_field(field) {
    connect();
}

void InlineCompletion::connect() {
    auto& c = m_connections;
    c.push_back(glib::connect<void(GtkEditable*, GParamSpec*)>(
        m_field, "notify::cursor-position", [this](GtkEditable*, GParamSpec*) { keepOffer(); }));
    c.push_back(glib::connect<void(GtkEditable*)>(m_field, "changed", [this](GtkEditable*) { changed(); }));
    c.push_back(glib::connect<void(GtkEditable*, const char*, int, int*)>(
        m_field, "insert-text", [this](GtkEditable*, const char*, int, int*) { m_deleting = false; }));
    c.push_back(glib::connect<void(GtkEditable*, int, int)>(m_field, "delete-text",
                                                            [this](GtkEditable*, int start, int end) {
                                                                if (end < 0 || end > start) m_deleting = true;
                                                            }));
}

void InlineCompletion::release() {
    m_source.cancel();
    m_connections.clear();
    m_field = nullptr;
}

void InlineCompletion::replaceText(const std::string& text) {
    if (!m_field) return;
    bool was = std::exchange(m_completing, true);
    gtk_editable_set_text(GTK_EDITABLE(m_field), text.c_str());
    m_completing = was;
}

void InlineCompletion::stop() {
    m_offeredFrom.reset();
    m_source.cancel();
}

void InlineCompletion::changed() {
    if (m_completing) return;
    m_offeredFrom.reset();
    if (!m_editing) return;
    // The field moves its caret past typed text only after telling of the change: look once it has.
    if (m_source.pending()) return;
    m_source = glib::Source::idle([this] { complete(); }, G_PRIORITY_HIGH_IDLE);
}

void InlineCompletion::complete() {
    if (!m_field || !m_editing || m_deleting || m_completing || !lookUp) return;
    GtkEditable* editable = GTK_EDITABLE(m_field);
    int start = 0;
    int end = 0;
    if (gtk_editable_get_selection_bounds(editable, &start, &end)) return;
    std::string typed = gtk_editable_get_text(editable);
    int length = characterCount(typed);
    if (gtk_editable_get_position(editable) != length) return;
    auto completed = lookUp(typed);
    if (!completed || *completed == typed || !m_field || !m_editing) return;
    m_completing = true;
    gtk_editable_set_text(editable, completed->c_str());
    gtk_editable_select_region(editable, length, -1);
    m_completing = false;
    m_offeredFrom = length;
}

void InlineCompletion::keepOffer() {
    if (m_completing || !m_offeredFrom || !m_field || !m_editing) return;
    GtkEditable* editable = GTK_EDITABLE(m_field);
    if (gtk_editable_get_selection_bounds(editable, nullptr, nullptr)) return;
    // No key or press came since the offer: the selection went without the user.
    int from = *m_offeredFrom;
    m_completing = true;
    gtk_editable_select_region(editable, from, -1);
    m_completing = false;
}

} // namespace nimb
