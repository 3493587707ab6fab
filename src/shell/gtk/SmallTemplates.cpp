// The small dialogs the pages open (the countdown and birthday dates, world time, the mail
// account), and the table from template number to builder.
#include "dialogs/DialogIds.h"
#include "shell/gtk/GtkTemplates.h"

namespace lumi::gtkui {

namespace {

GtkWidget* FieldGrid() {
    GtkWidget* grid = gtk_grid_new();
    gtk_grid_set_row_spacing(GTK_GRID(grid), kRowSpacing);
    gtk_grid_set_column_spacing(GTK_GRID(grid), kGroupSpacing);
    return grid;
}

// A right-aligned label and its field on one row of a grid.
void Field(GtkWidget* grid, int row, const char* label, GtkWidget* field, GtkWidget* after = nullptr) {
    GtkWidget* l = Label(label, field);
    gtk_label_set_xalign(GTK_LABEL(l), 1);
    gtk_grid_attach(GTK_GRID(grid), l, 0, row, 1, 1);
    gtk_grid_attach(GTK_GRID(grid), field, 1, row, 1, 1);
    if (after) gtk_grid_attach(GTK_GRID(grid), after, 2, row, 1, 1);
}

}  // namespace

void BuildDateDialog(Form& form, bool withTime) {
    form.title = withTime ? "Countdown Timer" : "Please enter your Birthday";
    HeaderButtons(form);
    GtkWidget* page = Content(form);
    GtkWidget* grid = FieldGrid();
    Field(grid, 0, "_Month (1..12)", Edit(form, IDC_DATE_MONTH, 6));
    Field(grid, 1, "_Day (1..31)", Edit(form, IDC_DATE_DAY, 6));
    Field(grid, 2, "_Year (4-digits)", Edit(form, IDC_DATE_YEAR, 6));
    if (withTime) {
        Field(grid, 3, "_Hour (0..23)", Edit(form, IDC_DATE_HOUR, 6));
        Field(grid, 4, "M_inute (0..59)", Edit(form, IDC_DATE_MINUTE, 6));
        Add(page, Group("Expected Date ", grid));
    } else {
        Add(page, Group("The day you were born ", grid));
    }
}

void BuildWorldTimeDialog(Form& form) {
    form.title = "World time view";
    HeaderButtons(form);
    GtkWidget* page = Content(form);
    GtkWidget* local = Column();
    Add(local, Labelled("Your current _location:", Combo(form, IDC_WORLD_LOCAL)));
    Add(local, Check(form, IDC_WORLD_LOCAL_DST, "Has daylight _saving. (Summer time)"));
    Add(page, local);
    GtkWidget* watched = Column();
    Add(watched, Labelled("A _world location to watch:", Combo(form, IDC_WORLD_WATCHED)));
    Add(watched, Check(form, IDC_WORLD_WATCHED_DST, "Has _daylight saving"));
    Add(page, watched);
    Add(page, Labelled("_Bottomline for this location:", Edit(form, IDC_WORLD_BOTTOMLINE, 40)));
}

void BuildEmailDialog(Form& form) {
    form.title = "E-mail parameters";
    HeaderButtons(form);
    GtkWidget* page = Content(form);
    GtkWidget* account = FieldGrid();
    Field(account, 0, "Log on _Name:", Edit(form, IDC_EMAIL_LOGON, 28));
    Field(account, 1, "Log on _Password:", Password(form, IDC_EMAIL_PASSWORD));
    Field(account, 2, "Incoming _server (POP3):", Edit(form, IDC_EMAIL_SERVER, 28));
    Field(account, 3, "Securit_y:", Combo(form, IDC_EMAIL_SECURITY));
    Field(account, 4, "Po_rt:", Edit(form, IDC_EMAIL_PORT, 6));
    Field(account, 5, "Check _every:", Edit(form, IDC_EMAIL_CHECK_EVERY, 6), Label("minutes"));
    Add(page, Group("Your Account Details", account));
    GtkWidget* connection = Row(kGroupSpacing);
    for (GtkWidget* radio : Radios(form, {{IDC_EMAIL_LAN, "_LAN connection"}, {IDC_EMAIL_MODEM, "_Modem connection"}}))
        Add(connection, radio);
    Add(page, Group("Internet connection details", connection));
    GtkWidget* test = Row(kGroupSpacing);
    Add(test, Button(form, IDC_EMAIL_TEST, "_Test"));
    GtkWidget* result = Static(form, IDC_EMAIL_TEST_RESULT);
    gtk_label_set_line_wrap(GTK_LABEL(result), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(result), 44);
    Add(test, result, true);
    Add(page, test);
    Add(page, Group("Some Security Information ",
                    Wrapped("Lumivane encrypts your e-mail password. However, since the program is about the moon "
                            "and the stars, the encryption level for the password is not the best you can find. If "
                            "this worries you, please do NOT use this e-mail feature.",
                            56)));
}

bool BuildTemplate(int templateId, Form& form) {
    switch (templateId) {
        case IDD_MAIN: BuildMainDialog(form); return true;
        case IDD_STAR_MESSAGES: BuildStarMessagesPage(form); return true;
        case IDD_SOUNDS: BuildSoundsPage(form); return true;
        case IDD_QUOTES: BuildQuotesPage(form); return true;
        case IDD_STARTUP: BuildStartupPage(form); return true;
        case IDD_ABOUT: BuildAboutPage(form); return true;
        case IDD_COUNTDOWN: BuildDateDialog(form, true); return true;
        case IDD_BIRTHDAY: BuildDateDialog(form, false); return true;
        case IDD_WORLD_TIME: BuildWorldTimeDialog(form); return true;
        case IDD_EMAIL: BuildEmailDialog(form); return true;
        default: return false;
    }
}

}  // namespace lumi::gtkui
