#pragma once

// The pointer over a small custom-drawn control (a tool button, the shield) handed to the C++ object
// behind the widget: the primary button pressed, dragged and let go (a press taken away, by a grab or
// the window going, counts as a release far away), and the pointer coming in and going out. The
// object answers mouseDown, mouseUp, mouseEntered and mouseExited, and follows drags when it has a
// mouseDragged.
// Such a control never takes the keyboard's focus.

#include "glib/GRefPtr.h"

#include <gtk/gtk.h>

namespace nimb {

template <class View, View& (*of)(gpointer)>
class PressGlue {
public:
    struct Options {
        // The press is the control's alone: a widget around it does not see it.
        bool claim = false;
    };

    static void install(GtkWidget* widget, Options options) {
        gtk_widget_set_focusable(widget, FALSE);
        gtk_widget_set_focus_on_click(widget, FALSE);

        GtkGesture* drag = gtk_gesture_drag_new();
        gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(drag), GDK_BUTTON_PRIMARY);
        g_signal_connect(drag, "drag-begin", G_CALLBACK(options.claim ? beganClaimed : began), widget);
        if constexpr (requires(View & view) { view.mouseDragged({0.0, 0.0}); })
            g_signal_connect(drag, "drag-update", G_CALLBACK(updated), widget);
        g_signal_connect(drag, "drag-end", G_CALLBACK(ended), widget);
        g_signal_connect(drag, "cancel", G_CALLBACK(cancelled), widget);
        gtk_widget_add_controller(widget, GTK_EVENT_CONTROLLER(drag));

        GtkEventController* motion = gtk_event_controller_motion_new();
        g_signal_connect(motion, "enter", G_CALLBACK(entered), widget);
        g_signal_connect(motion, "leave", G_CALLBACK(left), widget);
        gtk_widget_add_controller(widget, motion);
    }

private:
    static void began(GtkGestureDrag*, double x, double y, gpointer widget) {
        auto kept = glib::hold(widget);
        of(widget).mouseDown({x, y});
    }
    static void beganClaimed(GtkGestureDrag* gesture, double x, double y, gpointer widget) {
        gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
        began(gesture, x, y, widget);
    }
    static void updated(GtkGestureDrag* gesture, double dx, double dy, gpointer widget) {
        double x = 0;
        double y = 0;
        if (gtk_gesture_drag_get_start_point(gesture, &x, &y)) of(widget).mouseDragged({x + dx, y + dy});
    }
    static void ended(GtkGestureDrag* gesture, double dx, double dy, gpointer widget) {
        double x = 0;
        double y = 0;
        if (!gtk_gesture_drag_get_start_point(gesture, &x, &y)) return;
        auto kept = glib::hold(widget);
        of(widget).mouseUp({x + dx, y + dy});
    }
    static void cancelled(GtkGesture*, GdkEventSequence*, gpointer widget) {
        of(widget).mouseUp({-1e6, -1e6});
    }
    static void entered(GtkEventControllerMotion*, double, double, gpointer widget) {
        of(widget).mouseEntered();
    }
    static void left(GtkEventControllerMotion*, gpointer widget) { of(widget).mouseExited(); }
};

} // namespace nimb
