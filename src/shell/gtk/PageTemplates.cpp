// The five pages of "Much More Options".
#include "dialogs/DialogIds.h"
#include "shell/gtk/GtkTemplates.h"

namespace lumi::gtkui {

namespace {

GtkWidget* Grid() {
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), kRowSpacing);
    gtk_grid_set_column_spacing(GTK_GRID(grid), kGroupSpacing);
    return grid;
}

// A file field with its "Browse..." button.
GtkWidget* FileRow(Form& form, int edit, int browse) {
    GtkWidget* row = Row();
    Add(row, Edit(form, edit, 36), true);
    Add(row, Button(form, browse, "Browse..."));
    return row;
}

}  // namespace

GtkWidget* Content(Form& form) {
    GtkWidget* content = Column(18);
    gtk_container_set_border_width(GTK_CONTAINER(content), 18);
    form.content = content;
    return content;
}

void BuildStarMessagesPage(Form& form) {
    GtkWidget* page = Content(form);
    GtkWidget* nav = Row();
    Add(nav, Button(form, IDC_STAR_PREVIOUS, "<"));
    GtkWidget* position = Static(form, IDC_STAR_POSITION, "Message ");
    gtk_label_set_width_chars(GTK_LABEL(position), 16);
    gtk_label_set_xalign(GTK_LABEL(position), 0.5);
    Add(nav, position);
    Add(nav, Button(form, IDC_STAR_NEXT, ">"));
    GtkWidget* actions = Row();
    gtk_widget_set_halign(actions, GTK_ALIGN_END);
    Add(actions, Button(form, IDC_STAR_NEW, "_New"));
    Add(actions, Button(form, IDC_STAR_DELETE, "De_lete"));
    Add(actions, Button(form, IDC_STAR_SEND, "_Send"));
    Add(actions, Button(form, IDC_STAR_PREVIEW, "Pre_view"));
    Add(actions, Button(form, IDC_STAR_HELP, "?"));
    Add(nav, actions, true);
    Add(page, nav);

    GtkWidget* current = Column(kGroupSpacing);
    GtkWidget* text = TextBox(form, IDC_STAR_MESSAGE, 2);
    Add(current, Labelled("_Message:", text, form.controls[IDC_STAR_MESSAGE]));
    Add(current, Labelled("_BottomLine:", Edit(form, IDC_STAR_BOTTOMLINE)));
    GtkWidget* password = Row(kGroupSpacing);
    GtkWidget* secret = Password(form, IDC_STAR_PASSWORD);
    Add(password, Label("Password (_keeps the message hidden until it is typed):", secret));
    Add(password, secret, true);
    Add(current, password);
    Add(page, Group("The current message is ", current));

    GtkWidget* symbols = Grid();
    gtk_grid_set_column_homogeneous(GTK_GRID(symbols), TRUE);
    const std::pair<int, const char*> buttons[] = {
        {IDC_STAR_HEART, "_Heart"},         {IDC_STAR_HAPPY, "H_appiness"},          {IDC_STAR_PEACE, "_Peace"},
        {IDC_STAR_STAR, "S_tar"},           {IDC_STAR_COUNTDOWN, "Count_down"},      {IDC_STAR_DAY_COUNTER, "Day Co_unter"},
        {IDC_STAR_TIME, "T_ime"},           {IDC_STAR_WORLD_TIME, "_World Time"}};
    for (int i = 0; i < 8; ++i)
        gtk_grid_attach(GTK_GRID(symbols), Button(form, buttons[i].first, buttons[i].second), i % 4, i / 4, 1, 1);
    Add(page, Group("Symbol or Information", symbols));
    Add(page, Wrapped("Please note that these message(s) will appear AFTER the Main screen message", 60));

    GtkWidget* preferences = Column();
    Add(preferences, Check(form, IDC_STAR_RANDOM, "Show the messages in _random order."));
    Add(preferences, Check(form, IDC_STAR_PREFER_HAPPY, "I prefer happiness rather than misery."));
    Add(preferences, Check(form, IDC_STAR_PREFER_PEACE, "I want peace all over the world."));
    Add(preferences, Check(form, IDC_STAR_FORMAT24, "Show the time in _24 hour format."));
    Add(page, Group("General preferences ", preferences));
}

void BuildSoundsPage(Form& form) {
    GtkWidget* page = Content(form);
    // In the order the sounds are listed to users, files last.
    const std::vector<std::pair<int, std::string>> choices = {
        {IDC_SOUND_SILENCE, "The sound of _silence. It rests my ears."},
        {IDC_SOUND_LULLABY, "A _lullaby for my insomnia."},
        {IDC_SOUND_REMINDER, "Sleep _Reminder. ( The opposite of an alarm clock )"},
        {IDC_SOUND_SEA, "I love the s_ea. It takes me away."},
        {IDC_SOUND_BIRDS, "I like _birds. ( Well cooked )"},
        {IDC_SOUND_SAD, "Tonight I feel s_ad. But this is different from being sad."},
        {IDC_SOUND_MELODY, "\"Sleeping with the one I love\" _melody."},
        {IDC_SOUND_WAV, "My favorite _WAV file:"},
        {IDC_SOUND_MIDI, "My favorite M_IDI file:"}};
    const std::vector<GtkWidget*> radios = Radios(form, choices);
    GtkWidget* list = Column();
    for (size_t i = 0; i < radios.size(); ++i) {
        Add(list, radios[i]);
        const int id = choices[i].first;
        if (id == IDC_SOUND_WAV || id == IDC_SOUND_MIDI) {
            GtkWidget* file = id == IDC_SOUND_WAV ? FileRow(form, IDC_SOUND_WAV_PATH, IDC_SOUND_WAV_BROWSE)
                                                  : FileRow(form, IDC_SOUND_MIDI_PATH, IDC_SOUND_MIDI_BROWSE);
            gtk_widget_set_margin_start(file, 24);
            Add(list, file);
        }
    }
    Add(page, Group("While the stars shine, I would like to hear ", list));
    GtkWidget* options = Column();
    Add(options, Check(form, IDC_SOUND_CONTINUOUS, "Play continuousl_y (works only with the build-in sounds)"));
    Add(options, Check(form, IDC_SOUND_CUCKOO, "C_uckoo on the hour"));
    Add(page, Group("And also ", options));
}

void BuildQuotesPage(Form& form) {
    GtkWidget* page = Content(form);
    GtkWidget* category = Row(kGroupSpacing);
    GtkWidget* picture = Picture(form, IDC_QUOTE_PICTURE);
    gtk_widget_set_size_request(picture, 110, 110);
    Add(category, picture);
    GtkWidget* side = Column();
    gtk_widget_set_valign(side, GTK_ALIGN_CENTER);
    GtkWidget* name = Static(form, IDC_QUOTE_CATEGORY);
    gtk_label_set_line_wrap(GTK_LABEL(name), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(name), 36);
    Add(side, name);
    GtkWidget* steps = Row();
    Add(steps, Button(form, IDC_QUOTE_PREVIOUS, "Ooo_ps!"));
    Add(steps, Button(form, IDC_QUOTE_NEXT, "_Next please"));
    Add(side, steps);
    Add(category, side);
    Add(page, Group("The flying picture and its quote ", category));

    GtkWidget* own = Column();
    Add(own, Static(form, IDC_QUOTE_FILE_NOTE, "You can even select your own picture from a BMP file"));
    Add(own, FileRow(form, IDC_QUOTE_FILE, IDC_QUOTE_BROWSE));
    Add(own, Static(form, IDC_QUOTE_FILE_SIZE_NOTE, "(Must be smaller than 100x100 pixels)"));
    Add(page, own);

    GtkWidget* every = Row();
    GtkWidget* seconds = Edit(form, IDC_QUOTE_SHOW_EVERY, 5);
    Add(every, Label("The picture will appear _every", seconds));
    Add(every, seconds);
    Add(every, Label("seconds."));
    Add(page, every);

    GtkWidget* text = Column();
    Add(text, Check(form, IDC_QUOTE_AUTOTEXT, "Composed by the pro_gram"));
    Add(text, Labelled("Composed by _you :", Edit(form, IDC_QUOTE_BANNER, 40)));
    Add(page, Group("The words that follow the picture ", text));
}

void BuildStartupPage(Form& form) {
    GtkWidget* page = Content(form);
    GtkWidget* corners = Grid();
    gtk_grid_attach(GTK_GRID(corners), Check(form, IDC_STARTUP_TOP_LEFT, "Top _left"), 0, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(corners), Check(form, IDC_STARTUP_TOP_RIGHT, "Top ri_ght"), 1, 0, 1, 1);
    gtk_grid_attach(GTK_GRID(corners), Check(form, IDC_STARTUP_BOTTOM_LEFT, "_Bottom left"), 0, 1, 1, 1);
    gtk_grid_attach(GTK_GRID(corners), Check(form, IDC_STARTUP_BOTTOM_RIGHT, "Bottom _right"), 1, 1, 1, 1);
    GtkWidget* cornerGroup = Column();
    Add(cornerGroup, Wrapped("The screensaver does not start while the mouse pointer rests in a corner ticked here:", 60));
    Add(cornerGroup, corners);
    Add(page, Group("Hot corners ", cornerGroup));

    GtkWidget* effects = Column();
    Add(effects, Check(form, IDC_STARTUP_SWITCH_OFF_TV, "_Switch the screen off like an old TV set when the screensaver starts."));
    Add(effects, Check(form, IDC_STARTUP_REACH_STARS, "Reach the st_ars: show a picture while the sky is being made."));
    Add(page, Group("Start-up effects ", effects));

    GtkWidget* wallpaper = Column();
    GtkWidget* change = Check(form, IDC_STARTUP_WALLPAPER,
                              "I want the screensaver to change my _wallpaper, using pictures stored in this folder:");
    gtk_label_set_line_wrap(GTK_LABEL(gtk_bin_get_child(GTK_BIN(change))), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(gtk_bin_get_child(GTK_BIN(change))), 60);
    Add(wallpaper, change);
    Add(wallpaper, FileRow(form, IDC_STARTUP_WALLPAPER_PATH, IDC_STARTUP_WALLPAPER_BROWSE));
    Add(page, Group("Wallpaper ", wallpaper));
}

void BuildAboutPage(Form& form) {
    GtkWidget* page = Content(form);
    GtkWidget* pictures = Row(kGroupSpacing);
    gtk_widget_set_halign(pictures, GTK_ALIGN_CENTER);
    for (int id : {IDC_ABOUT_PICTURE_1, IDC_ABOUT_PICTURE_2, IDC_ABOUT_PICTURE_3, IDC_ABOUT_PICTURE_4})
        Add(pictures, Picture(form, id));
    Add(page, pictures);
    GtkWidget* motto = Heading("The best experience after your real window.");
    gtk_label_set_xalign(GTK_LABEL(motto), 0.5);
    Add(page, motto);
    GtkWidget* version = Column();
    Add(version, Static(form, IDC_ABOUT_VERSION));
    Add(version, Static(form, IDC_ABOUT_BUILD));
    Add(page, version);
    GtkWidget* newer = Column();
    Add(newer, Wrapped("You can use the internet to download a newer version. Now, isn't that something?", 60));
    GtkWidget* links = Row();
    Add(links, Button(form, IDC_ABOUT_NEWER, "Catch a _newer version."));
    Add(links, Button(form, IDC_ABOUT_CONTACT, "_Write to the author."));
    Add(newer, links);
    Add(page, newer);
    Add(page, Group("No more stars ", Wrapped("To remove Lumivane, pick another screen saver in your desktop's settings, "
                                              "or remove the package \"lumivane\" with your software manager.",
                                              60)));
}

}  // namespace lumi::gtkui
