#include "shell/gtk/SettingsWindow.h"

#include "dialogs/DialogIds.h"
#include "shell/gtk/GtkControls.h"
#include "shell/gtk/GtkTemplates.h"

namespace lumi::gtkui {

int RunMainWindow(dialogs::DialogLogic& logic) {
    Form form;
    BuildTemplate(IDD_MAIN, form);
    GtkWidget* window = MakeDialogWindow(form, nullptr);
    int result = 0;
    {
        GtkControls controls(GTK_WINDOW(window), form, logic);
        ForwardKeys(window, &controls);
        // F1 asks for help, as it does on Windows.
        g_signal_connect(window, "key-press-event", G_CALLBACK(+[](GtkWidget*, GdkEventKey* e, gpointer data) -> gboolean {
                             if (e->keyval != GDK_KEY_F1) return FALSE;
                             static_cast<GtkControls*>(data)->Command(IDC_MAIN_HELP);
                             return TRUE;
                         }),
                         &controls);
        result = controls.Run();
    }
    gtk_widget_destroy(window);
    return result;
}

}  // namespace lumi::gtkui
