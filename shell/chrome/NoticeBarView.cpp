#include "chrome/NoticeBarView.h"

#include "chrome/ChromeStyle.h"

namespace nimb {

NoticeBarView::NoticeBarView() {
    ChromeStyle::install();
    auto* box = GTK_WIDGET(g_object_new(GTK_TYPE_BOX, "orientation", GTK_ORIENTATION_HORIZONTAL, "spacing",
                                        12, "accessible-role", GTK_ACCESSIBLE_ROLE_ALERT, nullptr));
    m_widget = glib::GRefPtr<GtkWidget>(box);
    gtk_widget_add_css_class(box, "nimb-notice");

    m_label = gtk_label_new(nullptr);
    gtk_label_set_wrap(GTK_LABEL(m_label), TRUE);
    gtk_label_set_wrap_mode(GTK_LABEL(m_label), PANGO_WRAP_WORD_CHAR);
    gtk_label_set_xalign(GTK_LABEL(m_label), 0);
    gtk_label_set_selectable(GTK_LABEL(m_label), TRUE); // the path is worth copying
    gtk_widget_set_hexpand(m_label, TRUE);
    gtk_box_append(GTK_BOX(box), m_label);

    m_dismiss = gtk_button_new();
    gtk_widget_set_valign(m_dismiss, GTK_ALIGN_CENTER);
    gtk_box_append(GTK_BOX(box), m_dismiss);
    m_connections.push_back(
        glib::connect<void(GtkButton*)>(m_dismiss, "clicked", [this](GtkButton*) { onDismiss(); }));
}

NoticeBarView::~NoticeBarView() {
    m_connections.clear();
    if (gtk_widget_get_parent(m_widget.get())) gtk_widget_unparent(m_widget.get());
}

void NoticeBarView::setText(const std::string& text, const std::string& dismiss) {
    gtk_label_set_text(GTK_LABEL(m_label), text.c_str());
    gtk_button_set_label(GTK_BUTTON(m_dismiss), dismiss.c_str());
}

std::string NoticeBarView::text() const {
    return gtk_label_get_text(GTK_LABEL(m_label));
}

} // namespace nimb
