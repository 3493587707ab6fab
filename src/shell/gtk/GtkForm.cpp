#include "shell/gtk/GtkForm.h"

namespace lumi::gtkui {

namespace {

GtkWidget* Register(Form& form, int id, GtkWidget* widget, GtkWidget* outer = nullptr) {
    form.controls[id] = widget;
    if (outer) form.outer[id] = outer;
    return outer ? outer : widget;
}

}  // namespace

GtkWidget* Label(const std::string& text, GtkWidget* mnemonicFor) {
    GtkWidget* label = gtk_label_new_with_mnemonic(text.c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    if (mnemonicFor) gtk_label_set_mnemonic_widget(GTK_LABEL(label), mnemonicFor);
    return label;
}

GtkWidget* Wrapped(const std::string& text, int widthChars) {
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), widthChars);
    gtk_label_set_width_chars(GTK_LABEL(label), widthChars);
    return label;
}

GtkWidget* Heading(const std::string& text) {
    GtkWidget* label = gtk_label_new(nullptr);
    char* markup = g_markup_printf_escaped("<b>%s</b>", text.c_str());
    gtk_label_set_markup(GTK_LABEL(label), markup);
    g_free(markup);
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    return label;
}

GtkWidget* Column(int spacing) { return gtk_box_new(GTK_ORIENTATION_VERTICAL, spacing); }
GtkWidget* Row(int spacing) { return gtk_box_new(GTK_ORIENTATION_HORIZONTAL, spacing); }

void Add(GtkWidget* box, GtkWidget* child, bool expand) { gtk_box_pack_start(GTK_BOX(box), child, expand, expand, 0); }

GtkWidget* Group(const std::string& title, GtkWidget* body) {
    GtkWidget* group = Column();
    Add(group, Heading(title));
    gtk_widget_set_margin_start(body, 12);
    Add(group, body);
    return group;
}

GtkWidget* Edit(Form& form, int id, int widthChars) {
    GtkWidget* entry = gtk_entry_new();
    if (widthChars > 0) gtk_entry_set_width_chars(GTK_ENTRY(entry), widthChars);
    return Register(form, id, entry);
}

GtkWidget* Password(Form& form, int id) {
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_visibility(GTK_ENTRY(entry), FALSE);
    gtk_entry_set_input_purpose(GTK_ENTRY(entry), GTK_INPUT_PURPOSE_PASSWORD);
    return Register(form, id, entry);
}

GtkWidget* TextBox(Form& form, int id, int lines) {
    GtkWidget* view = gtk_text_view_new();
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
    gtk_text_view_set_accepts_tab(GTK_TEXT_VIEW(view), FALSE);
    gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 4);
    gtk_text_view_set_right_margin(GTK_TEXT_VIEW(view), 4);
    gtk_text_view_set_top_margin(GTK_TEXT_VIEW(view), 2);
    GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroll), GTK_SHADOW_IN);
    // About lines of text at the theme's font; exact height is not important.
    gtk_widget_set_size_request(scroll, -1, 8 + 20 * lines);
    gtk_container_add(GTK_CONTAINER(scroll), view);
    return Register(form, id, view, scroll);
}

GtkWidget* Check(Form& form, int id, const std::string& label) {
    return Register(form, id, gtk_check_button_new_with_mnemonic(label.c_str()));
}

std::vector<GtkWidget*> Radios(Form& form, const std::vector<std::pair<int, std::string>>& buttons) {
    // The logic may check none of them; GTK always keeps one active, so the group has a
    // member that is never shown and stands for "none".
    GtkWidget* none = gtk_radio_button_new(nullptr);
    gtk_widget_set_no_show_all(none, TRUE);
    g_object_ref_sink(none);
    std::vector<GtkWidget*> made;
    for (const auto& [id, label] : buttons) {
        GtkWidget* radio = gtk_radio_button_new_with_mnemonic_from_widget(GTK_RADIO_BUTTON(none), label.c_str());
        form.noRadio[id] = none;
        made.push_back(Register(form, id, radio));
    }
    // The group keeps the hidden member: it goes with the first button.
    if (!made.empty()) {
        g_object_set_data_full(G_OBJECT(made.front()), "lumi-no-radio", none,
                               [](gpointer w) { gtk_widget_destroy(GTK_WIDGET(w)); g_object_unref(w); });
    } else {
        gtk_widget_destroy(none);
        g_object_unref(none);
    }
    return made;
}

GtkWidget* Button(Form& form, int id, const std::string& label) {
    return Register(form, id, gtk_button_new_with_mnemonic(label.c_str()));
}

GtkWidget* Combo(Form& form, int id) { return Register(form, id, gtk_combo_box_text_new()); }

GtkWidget* Static(Form& form, int id, const std::string& text) {
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    return Register(form, id, label);
}

GtkWidget* Picture(Form& form, int id) { return Register(form, id, gtk_image_new()); }

GtkWidget* PaintArea(Form& form, int id, int width, int height) {
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_set_size_request(area, width, height);
    return Register(form, id, area);
}

GtkWidget* Labelled(const std::string& label, GtkWidget* control, GtkWidget* target) {
    GtkWidget* column = Column(kRowSpacing);
    Add(column, Label(label, target ? target : control));
    Add(column, control);
    return column;
}

void HeaderButtons(Form& form, const std::string& ok, const std::string& cancel) {
    form.headerEnd = Button(form, 1, ok);
    form.headerStart = Button(form, 2, cancel);
    gtk_style_context_add_class(gtk_widget_get_style_context(form.headerEnd), "suggested-action");
}

}  // namespace lumi::gtkui
