// lumivane-settings: the saver's settings on a Linux desktop, the same dialogs as on
// Windows over GTK 3.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstring>

#include "dialogs/MainDialog.h"
#include "platform/Startup.h"
#include "platform/System.h"
#include "shell/gtk/GtkMessageBoxes.h"
#include "shell/gtk/SettingsWindow.h"

#if defined(__SANITIZE_ADDRESS__)
// GTK, GLib, fontconfig and D-Bus keep caches and type data for the life of the process
// by design; that is not ours to free.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libgtk-3.so\nleak:libgdk-3.so\nleak:libglib-2.0.so\nleak:libgobject-2.0.so\nleak:libgio-2.0.so\n"
           "leak:libfontconfig.so\nleak:libpango\nleak:libcairo.so\nleak:libdbus-1.so\nleak:libatk\n"
           "leak:libharfbuzz.so\nleak:libgdk_pixbuf\n";
}
#endif

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("lumivane-settings %s\n", LUMI_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("Usage: lumivane-settings\nEdits the settings of the Lumivane screen saver.\n");
            return 0;
        }
    }
    lumi::platform::SetCommandLine(argc, argv);
    lumi::platform::StartPlatform();
    g_set_prgname("lumivane-settings");
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "lumivane-settings: cannot open the display\n");
        return 1;
    }
    g_set_application_name("Lumivane");
    gtk_window_set_default_icon_name("lumivane");
    lumi::gtkui::GtkMessageBoxes boxes;
    lumi::dialogs::MainDialog logic;
    lumi::gtkui::RunMainWindow(logic);
    return 0;
}
