// The dialogs' layouts for GTK, one builder per template number: the same controls, numbers
// and texts as the Windows templates, arranged as a GNOME dialog.
#pragma once

#include "shell/gtk/GtkForm.h"

namespace lumi::gtkui {

// Builds the template into form; false for a number no dialog has.
bool BuildTemplate(int templateId, Form& form);

// The builders, by the file they live in.
void BuildMainDialog(Form& form);
void BuildStarMessagesPage(Form& form);
void BuildSoundsPage(Form& form);
void BuildQuotesPage(Form& form);
void BuildStartupPage(Form& form);
void BuildAboutPage(Form& form);
void BuildDateDialog(Form& form, bool withTime);
void BuildWorldTimeDialog(Form& form);
void BuildEmailDialog(Form& form);

// The content of a page or dialog: a column with the window's margins.
GtkWidget* Content(Form& form);

}  // namespace lumi::gtkui
