// The main dialog (2003): message and bottom line, the switches, the picture and the way to
// everything else. Its OK button lies in a layer of its own, so the runaway joke can move it
// anywhere over the window.
#include <algorithm>

#include "dialogs/DialogIds.h"
#include "shell/gtk/GtkTemplates.h"

namespace lumi::gtkui {

namespace {

// Keeps the OK button over its place in the button row until the joke moves it.
void FollowSlot(GtkWidget* slot, GdkRectangle*, gpointer data) {
    auto* form = static_cast<Form*>(data);
    GtkWidget* ok = form->controls[IDC_OK];
    if (g_object_get_data(G_OBJECT(ok), "lumi-moved")) return;
    int x = 0;
    int y = 0;
    if (!gtk_widget_translate_coordinates(slot, form->layer, 0, 0, &x, &y)) return;
    const auto placed = form->placed.find(IDC_OK);
    if (placed != form->placed.end() && placed->second == std::make_pair(x, y)) return;
    form->placed[IDC_OK] = {x, y};
    gtk_fixed_move(GTK_FIXED(form->layer), ok, x, y);
}

}  // namespace

void BuildMainDialog(Form& form) {
    form.title = "Lumivane Screensaver v4.21";
    GtkWidget* body = Column(18);
    gtk_container_set_border_width(GTK_CONTAINER(body), 18);

    GtkWidget* columns = Row(24);
    Add(body, columns);
    GtkWidget* left = Column(kGroupSpacing);
    Add(columns, left, true);
    GtkWidget* message = TextBox(form, IDC_MAIN_MESSAGE, 4);
    gtk_widget_set_size_request(message, 340, 8 + 20 * 4);
    Add(left, Labelled("_Message:", message, form.controls[IDC_MAIN_MESSAGE]));
    Add(left, Labelled("_BottomLine:", Edit(form, IDC_MAIN_BOTTOMLINE)));
    GtkWidget* see = Column();
    Add(see, Check(form, IDC_MAIN_MOON, "_The moon phase...."));
    GtkWidget* southern = Check(form, IDC_MAIN_SOUTHERN, "... from the _southern hemisphere.");
    gtk_widget_set_margin_start(southern, 24);
    Add(see, southern);
    Add(see, Check(form, IDC_MAIN_AIRPLANES, "Some _airplanes (3 \"Airbus\")"));
    Add(see, Check(form, IDC_MAIN_EMAIL, "If I have new _e-mail."));
    Add(see, Check(form, IDC_MAIN_JOKES, "_Jokes (some may be silly)."));
    Add(left, Group("I would be happy to see ...", see));

    GtkWidget* right = Column(kGroupSpacing);
    Add(columns, right);
    GtkWidget* picture = PaintArea(form, IDC_MAIN_PICTURE_AREA, 180, 140);
    gtk_widget_set_halign(picture, GTK_ALIGN_CENTER);
    Add(right, picture);
    GtkWidget* more = Column();
    Add(more, Button(form, IDC_MAIN_FONT, "May I have a better _Font ?"));
    Add(more, Button(form, IDC_MAIN_PICTURE, "May I have a better _Picture ?"));
    Add(more, Button(form, IDC_MAIN_OPTIONS, "May I have more _Options ?"));
    Add(right, Group("For hard-to-satisfy users ", more));
    GtkWidget* about = Column();
    Add(about, Wrapped("A night sky with your own words written in stars, the moon as it is tonight, "
                       "and a few surprises.",
                       30));
    Add(about, Button(form, IDC_MAIN_HELP, "May I have some _Help ?"));
    Add(right, Group("About the program ", about));

    // Cancel, then the place where OK sits until it runs away.
    GtkWidget* buttons = Row();
    gtk_widget_set_halign(buttons, GTK_ALIGN_END);
    Add(buttons, Button(form, IDC_CANCEL, "Ooops... Cancel"));
    GtkWidget* ok = Button(form, IDC_OK, "Ok");
    gtk_widget_set_can_default(ok, TRUE);
    gtk_style_context_add_class(gtk_widget_get_style_context(ok), "suggested-action");
    GtkWidget* slot = gtk_label_new(nullptr);
    int width = 0;
    gtk_widget_get_preferred_width(ok, nullptr, &width);
    gtk_widget_set_size_request(slot, std::max(width, 96), -1);
    gtk_widget_set_size_request(ok, std::max(width, 96), -1);
    Add(buttons, slot);
    Add(body, buttons);

    form.layer = gtk_fixed_new();
    gtk_fixed_put(GTK_FIXED(form.layer), body, 0, 0);
    gtk_fixed_put(GTK_FIXED(form.layer), ok, 0, 0);
    g_signal_connect(slot, "size-allocate", G_CALLBACK(FollowSlot), &form);
    form.content = form.layer;
}

}  // namespace lumi::gtkui
