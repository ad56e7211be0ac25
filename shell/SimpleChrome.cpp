// The simple chrome: back, forward and reload buttons and the location field in a band, and the
// status line with a thin progress bar over the foot of the page.

#include "Chrome.h"

#include "Language.h"
#include "glib/GRefPtr.h"

namespace nimb {

namespace {

// The bar's measures, in points.
constexpr int barHeight = 48;
constexpr int buttonSize = 32;
constexpr int wellHeight = 32;
constexpr int wellMaximum = 760;

// Keeps a widget (sinking its floating reference).
glib::GRefPtr<GtkWidget> own(GtkWidget* widget) {
    return glib::GRefPtr<GtkWidget>(widget);
}

class SimpleChrome final : public Chrome {
public:
    explicit SimpleChrome(Callbacks callbacks) : m_callbacks(std::move(callbacks)) { build(); }

    ~SimpleChrome() override {
        if (m_restingSource) g_source_remove(m_restingSource);
        for (GtkWidget* button : {m_back.get(), m_forward.get(), m_reload.get()})
            g_signal_handlers_disconnect_by_data(button, this);
        g_signal_handlers_disconnect_by_data(m_entry.get(), this);
        if (m_focus) g_signal_handlers_disconnect_by_data(m_focus, this);
    }

    GtkWidget* bar() const override { return m_bar.get(); }
    GtkWidget* foot() const override { return m_foot.get(); }

    void setStatus(std::string_view text) override {
        m_status = std::string(text);
        gtk_label_set_text(GTK_LABEL(m_statusLabel.get()), m_status.c_str());
        gtk_widget_set_visible(m_statusLabel.get(), !m_status.empty());
        updateFoot();
    }
    std::string status() const override { return m_status; }

    void setProgress(double value) override {
        m_progressValue = value;
        bool shown = value > 0.001;
        gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(m_progress.get()), shown ? std::min(value, 1.0) : 0.0);
        gtk_widget_set_visible(m_progress.get(), shown);
        updateFoot();
    }

    void setNavigation(bool canGoBack, bool canGoForward, bool loading) override {
        gtk_widget_set_sensitive(m_back.get(), canGoBack);
        gtk_widget_set_sensitive(m_forward.get(), canGoForward);
        m_loading = loading;
        gtk_button_set_icon_name(GTK_BUTTON(m_reload.get()),
                                 loading ? "process-stop-symbolic" : "view-refresh-symbolic");
        retitle();
    }

    void retitle() override {
        gtk_widget_set_tooltip_text(m_back.get(), words().backHelp().c_str());
        gtk_widget_set_tooltip_text(m_forward.get(), words().forwardHelp().c_str());
        gtk_widget_set_tooltip_text(m_reload.get(),
                                    (m_loading ? words().stopHelp() : words().reloadHelp()).c_str());
    }

    void setAddress(std::string_view full, std::string_view resting) override {
        m_full = std::string(full);
        m_resting = std::string(resting);
        if (!m_editing) showResting();
    }

    bool editing() const override { return m_editing; }

    void focusLocation() override { gtk_widget_grab_focus(m_entry.get()); }
    GtkWidget* locationField() const override { return m_entry.get(); }

    void setShield(const Shield&) override {
        // The shield is drawn by the custom chrome; this one has no place for it.
    }
    void setStealth(bool) override {
        // Stealth folds the field into the tab strip, which only the custom chrome does.
    }

private:
    void build() {
        m_bar = own(gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 2));
        gtk_widget_add_css_class(m_bar.get(), "nimb-bar");
        gtk_widget_set_size_request(m_bar.get(), -1, barHeight);

        auto button = [this](const char* icon, void (*clicked)(GtkButton*, SimpleChrome*)) {
            GtkWidget* widget = gtk_button_new_from_icon_name(icon);
            gtk_widget_set_size_request(widget, buttonSize, buttonSize);
            gtk_widget_set_valign(widget, GTK_ALIGN_CENTER);
            gtk_widget_set_focusable(widget, FALSE);
            gtk_widget_set_focus_on_click(widget, FALSE);
            g_signal_connect(widget, "clicked", G_CALLBACK(clicked), this);
            gtk_box_append(GTK_BOX(m_bar.get()), widget);
            return own(widget);
        };
        m_back = button(
            "go-previous-symbolic", +[](GtkButton*, SimpleChrome* self) {
                if (self->m_callbacks.back) self->m_callbacks.back();
            });
        gtk_widget_set_margin_start(m_back.get(), 8);
        m_forward = button(
            "go-next-symbolic", +[](GtkButton*, SimpleChrome* self) {
                if (self->m_callbacks.forward) self->m_callbacks.forward();
            });
        m_reload = button(
            "view-refresh-symbolic", +[](GtkButton*, SimpleChrome* self) {
                if (self->m_callbacks.reload) self->m_callbacks.reload();
            });

        m_entry = own(gtk_entry_new());
        gtk_widget_add_css_class(m_entry.get(), "nimb-location");
        gtk_widget_set_size_request(m_entry.get(), 80, wellHeight);
        gtk_widget_set_valign(m_entry.get(), GTK_ALIGN_CENTER);
        gtk_widget_set_hexpand(m_entry.get(), TRUE);
        gtk_widget_set_margin_start(m_entry.get(), 10);
        gtk_widget_set_margin_end(m_entry.get(), 42);
        gtk_entry_set_alignment(GTK_ENTRY(m_entry.get()), 0.5f);
        gtk_editable_set_max_width_chars(GTK_EDITABLE(m_entry.get()), wellMaximum / 7);
        g_signal_connect(m_entry.get(), "activate", G_CALLBACK(+[](GtkEntry* entry, SimpleChrome* self) {
                             std::string text = gtk_editable_get_text(GTK_EDITABLE(entry));
                             if (self->m_callbacks.locationEntered) self->m_callbacks.locationEntered(text);
                         }),
                         this);
        m_focus = gtk_event_controller_focus_new();
        g_signal_connect(
            m_focus, "enter",
            G_CALLBACK(+[](GtkEventControllerFocus*, SimpleChrome* self) { self->beginEditing(); }), this);
        g_signal_connect(
            m_focus, "leave",
            G_CALLBACK(+[](GtkEventControllerFocus*, SimpleChrome* self) { self->endEditing(); }), this);
        gtk_widget_add_controller(m_entry.get(), m_focus);
        gtk_box_append(GTK_BOX(m_bar.get()), m_entry.get());

        m_foot = own(gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8));
        gtk_widget_add_css_class(m_foot.get(), "nimb-foot");
        gtk_widget_set_halign(m_foot.get(), GTK_ALIGN_START);
        gtk_widget_set_valign(m_foot.get(), GTK_ALIGN_END);
        gtk_widget_set_can_target(m_foot.get(), FALSE);
        m_statusLabel = own(gtk_label_new(""));
        gtk_label_set_single_line_mode(GTK_LABEL(m_statusLabel.get()), TRUE);
        gtk_label_set_ellipsize(GTK_LABEL(m_statusLabel.get()), PANGO_ELLIPSIZE_MIDDLE);
        gtk_label_set_max_width_chars(GTK_LABEL(m_statusLabel.get()), 120);
        gtk_label_set_xalign(GTK_LABEL(m_statusLabel.get()), 0);
        gtk_widget_add_css_class(m_statusLabel.get(), "nimb-status");
        gtk_box_append(GTK_BOX(m_foot.get()), m_statusLabel.get());
        m_progress = own(gtk_progress_bar_new());
        gtk_widget_set_size_request(m_progress.get(), 120, -1);
        gtk_widget_set_valign(m_progress.get(), GTK_ALIGN_CENTER);
        gtk_box_append(GTK_BOX(m_foot.get()), m_progress.get());
        setStatus("");
        setProgress(0);
        setNavigation(false, false, false);
    }

    void updateFoot() { gtk_widget_set_visible(m_foot.get(), !m_status.empty() || m_progressValue > 0.001); }

    void showResting() {
        gtk_entry_set_alignment(GTK_ENTRY(m_entry.get()), 0.5f);
        replaceText(m_resting);
    }

    void replaceText(const std::string& text) {
        if (text != gtk_editable_get_text(GTK_EDITABLE(m_entry.get())))
            gtk_editable_set_text(GTK_EDITABLE(m_entry.get()), text.c_str());
    }

    void beginEditing() {
        if (m_restingSource) g_source_remove(m_restingSource);
        m_restingSource = 0;
        if (m_editing) return;
        m_editing = true;
        if (m_callbacks.editing) m_callbacks.editing(true);
        gtk_entry_set_alignment(GTK_ENTRY(m_entry.get()), 0.0f);
        replaceText(m_full);
        gtk_editable_select_region(GTK_EDITABLE(m_entry.get()), 0, -1);
    }

    void endEditing() {
        if (!m_editing) return;
        m_editing = false;
        if (m_callbacks.editing) m_callbacks.editing(false);
        // The resting label comes back on the next turn of the loop, after whatever took the focus.
        if (m_restingSource) g_source_remove(m_restingSource);
        m_restingSource = g_idle_add(
            +[](gpointer data) -> gboolean {
                auto* self = static_cast<SimpleChrome*>(data);
                self->m_restingSource = 0;
                if (!self->m_editing) self->showResting();
                return G_SOURCE_REMOVE;
            },
            this);
    }

    template <class T>
    using GRefPtr = glib::GRefPtr<T>;

    Callbacks m_callbacks;
    GRefPtr<GtkWidget> m_bar;
    GRefPtr<GtkWidget> m_back;
    GRefPtr<GtkWidget> m_forward;
    GRefPtr<GtkWidget> m_reload;
    GRefPtr<GtkWidget> m_entry;
    GtkEventController* m_focus = nullptr;
    GRefPtr<GtkWidget> m_foot;
    GRefPtr<GtkWidget> m_statusLabel;
    GRefPtr<GtkWidget> m_progress;

    std::string m_status;
    double m_progressValue = 0;
    bool m_loading = false;
    bool m_editing = false;
    std::string m_full;
    std::string m_resting;
    guint m_restingSource = 0;
};

} // namespace

std::unique_ptr<Chrome> makeSimpleChrome(Chrome::Callbacks callbacks) {
    return std::make_unique<SimpleChrome>(std::move(callbacks));
}

} // namespace nimb
