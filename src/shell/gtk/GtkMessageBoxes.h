// Message boxes as GTK message dialogs, owned by the dialog window that asks for them.
#pragma once

#include <gtk/gtk.h>

#include "platform/MessageBox.h"

namespace lumi::gtkui {

class GtkMessageBoxes : public MessageBoxService {
public:
    // Installs itself as the service for its lifetime.
    GtkMessageBoxes();
    ~GtkMessageBoxes() override;
    GtkMessageBoxes(const GtkMessageBoxes&) = delete;
    GtkMessageBoxes& operator=(const GtkMessageBoxes&) = delete;
    BoxResult Show(WindowHandle owner, const std::string& text, const std::string& caption, BoxIcon icon,
                   BoxButtons buttons) override;
};

}  // namespace lumi::gtkui
