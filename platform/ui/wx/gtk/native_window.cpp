// SPDX-License-Identifier: MIT
#include "platform/ui/wx/native_window.h"

#include <gtk/gtk-a11y.h>
#include <gtk/gtk.h>
#include <wx/window.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

// The controls of a window lie in one panel of the window library's own kind;
// screen readers see the panel's children through this accessible, which
// leaves out the ones that are hidden.
struct PanelAccessible
{
    GtkContainerAccessible parent;
};

struct PanelAccessibleClass
{
    GtkContainerAccessibleClass parent;
};

std::vector<GtkWidget*> ShownChildren(AtkObject* panel)
{
    std::vector<GtkWidget*> shown;
    GtkWidget* widget = gtk_accessible_get_widget(GTK_ACCESSIBLE(panel));
    if (!widget || !GTK_IS_CONTAINER(widget))
        return shown;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* item = children; item; item = item->next)
        if (gtk_widget_get_visible(GTK_WIDGET(item->data)))
            shown.push_back(GTK_WIDGET(item->data));
    g_list_free(children);
    return shown;
}

gint CountShownChildren(AtkObject* panel)
{
    return static_cast<gint>(ShownChildren(panel).size());
}

AtkObject* RefShownChild(AtkObject* panel, gint index)
{
    const std::vector<GtkWidget*> shown = ShownChildren(panel);
    if (index < 0 || static_cast<size_t>(index) >= shown.size())
        return nullptr;
    AtkObject* child = gtk_widget_get_accessible(shown[index]);
    // A child finds its index among the children its parent shows, not among
    // all the panel holds.
    if (child->accessible_parent != panel)
        atk_object_set_parent(child, panel);
    return ATK_OBJECT(g_object_ref(child));
}

GType PanelAccessibleType()
{
    static const GType type = g_type_register_static_simple(
        GTK_TYPE_CONTAINER_ACCESSIBLE, "VelmoraPanelAccessible", sizeof(PanelAccessibleClass),
        [](gpointer cls, gpointer) {
            ATK_OBJECT_CLASS(cls)->get_n_children = CountShownChildren;
            ATK_OBJECT_CLASS(cls)->ref_child = RefShownChild;
        },
        sizeof(PanelAccessible), nullptr, GTypeFlags(0));
    return type;
}

void SetNameOfTree(GtkWidget* widget, const char* name)
{
    atk_object_set_name(gtk_widget_get_accessible(widget), name);
    if (!GTK_IS_CONTAINER(widget))
        return;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* item = children; item; item = item->next)
        SetNameOfTree(GTK_WIDGET(item->data), name);
    g_list_free(children);
}

void NameAfterSelectedDate(GtkCalendar* calendar, gpointer)
{
    guint year = 0, month = 0, day = 0;
    gtk_calendar_get_date(calendar, &year, &month, &day);
    GDateTime* date =
        g_date_time_new_local(static_cast<gint>(year), static_cast<gint>(month) + 1, static_cast<gint>(day), 12, 0, 0);
    if (!date)
        return;
    // Weekday, day, month and year, with the names of the user's language.
    gchar* text = g_date_time_format(date, "%A %-d %B %Y");
    atk_object_set_name(gtk_widget_get_accessible(GTK_WIDGET(calendar)), text ? text : "");
    g_free(text);
    g_date_time_unref(date);
}

// GTK reports a window destroyed by another program as its "destroy-event";
// returning TRUE leaves the widget for the program's own end of the window.
gboolean OnDestroyEvent(GtkWidget*, GdkEvent*, gpointer onDestroyed)
{
    (*static_cast<std::function<void()>*>(onDestroyed))();
    return TRUE;
}

// The calendar's header, arrows and day names are drawn in the calendar's
// own style, so the inner line leaves them out. Inside the calendar the
// selected day is where the keyboard is: the toolkit's dotted mark on a day of
// its own would look like a second selection.
const char kFocusFrames[] = R"(
calendar { outline-style: none; }
calendar:focus { border-color: @theme_selected_bg_color; }
calendar:focus:not(.header):not(.button):not(.highlight) {
    box-shadow: inset 0 0 0 1px @theme_selected_bg_color;
}
scrolledwindow.frame textview:focus text { box-shadow: inset 0 0 0 2px @theme_selected_bg_color; }
)";

// A text field as tall as its text and a check box as tall as its label: the
// theme's own minimum heights are for touch-sized layouts.
const char kCompactLook[] = R"(
entry { min-height: 0; padding: 0 4px; }
checkbutton { padding-top: 0; padding-bottom: 0; }
check { min-width: 12px; min-height: 12px; }
)";

void AddProviderToTree(GtkWidget* widget, GtkStyleProvider* provider)
{
    gtk_style_context_add_provider(
        gtk_widget_get_style_context(widget), provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    if (!GTK_IS_CONTAINER(widget))
        return;
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* item = children; item; item = item->next)
        AddProviderToTree(GTK_WIDGET(item->data), provider);
    g_list_free(children);
}

} // namespace

void KeepGivenPlace(wxWindow* window)
{
    // wxGTK makes every dialog centre itself on its owner when it is first
    // shown (GTK_WIN_POS_CENTER_ON_PARENT) and offers no call to undo that.
    // Moved before it is shown, the window is mapped with the place marked as
    // the program's, which a window manager keeps instead of placing it.
    if (!GTK_IS_WINDOW(window->GetHandle()))
        return;
    gtk_window_set_position(GTK_WINDOW(window->GetHandle()), GTK_WIN_POS_NONE);
    const wxPoint place = window->GetPosition();
    gtk_window_move(GTK_WINDOW(window->GetHandle()), place.x, place.y);
}

void SetAccessibleName(wxWindow* window, const wxString& name)
{
    GtkWidget* widget = window->GetHandle();
    if (!widget)
        return;
    const wxScopedCharBuffer utf8 = name.utf8_str();
    // A window's controls have names of their own; a control's parts share
    // its name, as whichever of them has the focus speaks for the control.
    if (window->IsTopLevel())
        atk_object_set_name(gtk_widget_get_accessible(widget), utf8.data());
    else
        SetNameOfTree(widget, utf8.data());
}

void NameCalendarByDate(wxWindow* calendar)
{
    GtkWidget* widget = calendar->GetHandle();
    if (!widget || !GTK_IS_CALENDAR(widget))
        return;
    g_signal_connect(widget, "day-selected", G_CALLBACK(NameAfterSelectedDate), nullptr);
    NameAfterSelectedDate(GTK_CALENDAR(widget), nullptr);
}

void FrameFocusedControls(wxWindow* window)
{
    static bool bInstalled = false;
    if (bInstalled)
        return;
    bInstalled = true;
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, kFocusFrames, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(window->GetHandle()), GTK_STYLE_PROVIDER(provider),
        GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

void UseCompactLook(wxWindow* control)
{
    static GtkCssProvider* const provider = [] {
        GtkCssProvider* made = gtk_css_provider_new();
        gtk_css_provider_load_from_data(made, kCompactLook, -1, nullptr);
        return made;
    }();
    if (GtkWidget* widget = control->GetHandle())
        AddProviderToTree(widget, GTK_STYLE_PROVIDER(provider));
    control->InvalidateBestSize();
}

void LeaveHiddenControlsUnseen(wxWindow* window)
{
    // The panel's accessible is made when a screen reader first asks for it,
    // after this; every panel of the same kind gets it.
    if (window->m_wxwindow)
        gtk_widget_class_set_accessible_type(GTK_WIDGET_GET_CLASS(window->m_wxwindow), PanelAccessibleType());
}

void CallWhenDestroyedOutside(wxWindow* window, std::function<void()> onDestroyed)
{
    GtkWidget* widget = window->GetHandle();
    if (!widget)
        return;
    g_signal_connect_data(
        widget, "destroy-event", G_CALLBACK(OnDestroyEvent), new std::function<void()>(std::move(onDestroyed)),
        [](gpointer data, GClosure*) { delete static_cast<std::function<void()>*>(data); }, GConnectFlags(0));
}
