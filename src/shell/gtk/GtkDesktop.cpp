// The platform services the dialogs reach: GTK's file, folder and font choosers, the help
// page opened by the desktop, and the saver started for a preview.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>

#include "base/Log.h"
#include "platform/Desktop.h"
#include "platform/System.h"
#include "shell/gtk/GtkControls.h"
#include "shell/gtk/GtkDesktop.h"
#include "shell/gtk/GtkText.h"

namespace lumi::gtkui {

namespace {

bool IsFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Paths are bytes the file system takes as they are; only what the user reads is converted.
std::string TakeFilename(gchar* name) {
    std::string out = name ? name : "";
    g_free(name);
    return out;
}

// Where a chooser starts: the file itself when it exists, else its folder when that does.
void StartAt(GtkFileChooser* chooser, const std::string& path) {
    if (path.empty()) return;
    if (IsFile(path)) {
        gtk_file_chooser_set_filename(chooser, path.c_str());
        return;
    }
    const std::string folder = IsFolder(path) ? path : path.substr(0, path.rfind('/') + 1);
    if (!folder.empty() && IsFolder(folder)) gtk_file_chooser_set_current_folder(chooser, folder.c_str());
}

}  // namespace

std::vector<std::string> HelpPageCandidates(const std::string& programFolder, const std::string& page,
                                            const std::string& sourceFolder) {
    std::vector<std::string> places = {programFolder + page, programFolder + "../share/lumivane/" + page};
    if (!sourceFolder.empty() && IsFile(programFolder + "CMakeCache.txt"))
        places.push_back(sourceFolder + "/resources/help/" + page);
    return places;
}

std::vector<std::string> PreviewCommand(const std::string& programFolder) {
    return {programFolder + "lumivane", "-window"};
}

bool GtkControls::ChooseFile(const std::string& title, const std::vector<dialogs::FileFilter>& filters,
                             std::string& path, unsigned long& error) {
    error = 0;
    GtkFileChooserNative* native = gtk_file_chooser_native_new(Utf8FromCodePage(title).c_str(), window_,
                                                               GTK_FILE_CHOOSER_ACTION_OPEN, "_Open", "_Cancel");
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(native);
    for (const dialogs::FileFilter& f : filters) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, Utf8FromCodePage(f.label).c_str());
        gtk_file_filter_add_pattern(filter, CaseInsensitivePattern(f.pattern).c_str());
        gtk_file_chooser_add_filter(chooser, filter);  // takes the floating reference
    }
    StartAt(chooser, path);
    const bool chosen = gtk_native_dialog_run(GTK_NATIVE_DIALOG(native)) == GTK_RESPONSE_ACCEPT;
    if (chosen) path = TakeFilename(gtk_file_chooser_get_filename(chooser));
    g_object_unref(native);
    return chosen && !path.empty();
}

bool GtkControls::ChooseFolder(const std::string& title, std::string& path) {
    GtkFileChooserNative* native = gtk_file_chooser_native_new(
        Utf8FromCodePage(title).c_str(), window_, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "_Select", "_Cancel");
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(native);
    if (!path.empty() && IsFolder(path)) gtk_file_chooser_set_current_folder(chooser, path.c_str());
    const bool chosen = gtk_native_dialog_run(GTK_NATIVE_DIALOG(native)) == GTK_RESPONSE_ACCEPT;
    if (chosen) path = TakeFilename(gtk_file_chooser_get_filename(chooser));
    g_object_unref(native);
    return chosen && !path.empty();
}

void GtkControls::ChooseFont(dialogs::FontChoice& font) {
    // One dialog for the face, the size and the colour the stars' text is written in.
    GtkWidget* dialog = gtk_dialog_new_with_buttons("Select the text font", window_,
                                                    static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL |
                                                                                GTK_DIALOG_DESTROY_WITH_PARENT |
                                                                                GTK_DIALOG_USE_HEADER_BAR),
                                                    "_Cancel", GTK_RESPONSE_CANCEL, "_Select", GTK_RESPONSE_OK, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    GtkWidget* area = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
    gtk_container_set_border_width(GTK_CONTAINER(area), 12);
    gtk_box_set_spacing(GTK_BOX(area), kGroupSpacing);
    GtkWidget* chooser = gtk_font_chooser_widget_new();
    gtk_font_chooser_set_preview_text(GTK_FONT_CHOOSER(chooser), "Lumivane: your words in stars");
    const std::string description = Utf8FromCodePage(font.face) + " " + std::to_string(static_cast<int>(std::lround(font.pointSize)));
    gtk_font_chooser_set_font(GTK_FONT_CHOOSER(chooser), description.c_str());
    gtk_box_pack_start(GTK_BOX(area), chooser, TRUE, TRUE, 0);
    GtkWidget* colourRow = Row(kGroupSpacing);
    GdkRGBA colour = {(font.color & 0xFF) / 255.0, ((font.color >> 8) & 0xFF) / 255.0,
                      ((font.color >> 16) & 0xFF) / 255.0, 1.0};
    GtkWidget* colourButton = gtk_color_button_new_with_rgba(&colour);
    gtk_color_chooser_set_use_alpha(GTK_COLOR_CHOOSER(colourButton), FALSE);
    Add(colourRow, Label("Text co_lour:", colourButton));
    Add(colourRow, colourButton);
    gtk_box_pack_start(GTK_BOX(area), colourRow, FALSE, FALSE, 0);
    gtk_widget_show_all(area);
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
        PangoFontDescription* chosen = gtk_font_chooser_get_font_desc(GTK_FONT_CHOOSER(chooser));
        if (chosen) {
            const char* family = pango_font_description_get_family(chosen);
            if (family && *family) font.face = CodePageFromUtf8(family);
            const int size = pango_font_description_get_size(chosen);
            if (size > 0) font.pointSize = static_cast<double>(size) / PANGO_SCALE;
            pango_font_description_free(chosen);
        }
        gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(colourButton), &colour);
        auto byte = [](double v) { return static_cast<uint32_t>(std::lround(std::fmin(1.0, std::fmax(0.0, v)) * 255)); };
        font.color = byte(colour.red) | (byte(colour.green) << 8) | (byte(colour.blue) << 16);
    }
    gtk_widget_destroy(dialog);
}

bool GtkControls::OpenHelpPage(const std::string& page) {
    for (const std::string& place : HelpPageCandidates(platform::ModuleFolder(), page, LUMI_SOURCE_DIR)) {
        if (!IsFile(place)) continue;
        char* real = realpath(place.c_str(), nullptr);
        const std::string path = real ? real : place;
        free(real);
        return Desktop().OpenUrl(path);
    }
    AppLog().Warning.Log("OpenHelpPage missing", page);
    return false;
}

bool GtkControls::StartPreview() {
    const std::vector<std::string> command = PreviewCommand(platform::ModuleFolder());
    if (access(command[0].c_str(), X_OK) != 0) {
        AppLog().Warning.Log("StartPreview missing", command[0]);
        return false;
    }
    std::vector<gchar*> argv;
    for (const std::string& arg : command) argv.push_back(const_cast<gchar*>(arg.c_str()));
    argv.push_back(nullptr);
    GError* failure = nullptr;
    // Without DO_NOT_REAP GLib leaves the saver to init, so it never becomes our zombie.
    const bool started = g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_STDIN_FROM_DEV_NULL, nullptr, nullptr,
                                       nullptr, &failure);
    if (failure) {
        AppLog().Warning.Log("StartPreview", failure->message);
        g_error_free(failure);
    }
    return started;
}

}  // namespace lumi::gtkui
