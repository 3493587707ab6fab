// The nested windows the logic opens: a modal dialog from a template, and the property
// sheet, whose pages sit in a stack with a sidebar and share one OK and one Cancel.
#include <memory>

#include "base/Log.h"
#include "shell/gtk/GtkControls.h"
#include "shell/gtk/GtkTemplates.h"
#include "shell/gtk/GtkText.h"

namespace lumi::gtkui {

namespace {

class Sheet {
public:
    Sheet(GtkWindow* owner, const std::string& caption, const std::vector<dialogs::SheetPage>& pages);
    ~Sheet();
    void Run();

private:
    struct Page {
        Form form;
        dialogs::DialogLogic* logic = nullptr;
        std::unique_ptr<GtkControls> controls;
        GtkWidget* child = nullptr;
    };

    void OpenPage(size_t index);
    void Switched();
    void Close(bool apply);

    GtkWidget* window_ = nullptr;
    GtkWidget* stack_ = nullptr;
    std::vector<std::unique_ptr<Page>> pages_;
    size_t current_ = 0;
    GMainLoop* loop_ = nullptr;
    bool closed_ = false;
};

Sheet::Sheet(GtkWindow* owner, const std::string& caption, const std::vector<dialogs::SheetPage>& pages) {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    const std::string title = Utf8FromCodePage(caption);
    gtk_window_set_title(GTK_WINDOW(window_), title.c_str());
    gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
    if (owner) {
        gtk_window_set_transient_for(GTK_WINDOW(window_), owner);
        gtk_window_set_position(GTK_WINDOW(window_), GTK_WIN_POS_CENTER_ON_PARENT);
    }
    gtk_window_set_modal(GTK_WINDOW(window_), TRUE);
    gtk_window_set_destroy_with_parent(GTK_WINDOW(window_), TRUE);
    gtk_window_set_type_hint(GTK_WINDOW(window_), GDK_WINDOW_TYPE_HINT_DIALOG);

    GtkWidget* header = gtk_header_bar_new();
    gtk_header_bar_set_title(GTK_HEADER_BAR(header), title.c_str());
    GtkWidget* cancel = gtk_button_new_with_mnemonic("_Cancel");
    GtkWidget* ok = gtk_button_new_with_mnemonic("_OK");
    gtk_style_context_add_class(gtk_widget_get_style_context(ok), "suggested-action");
    gtk_header_bar_pack_start(GTK_HEADER_BAR(header), cancel);
    gtk_header_bar_pack_end(GTK_HEADER_BAR(header), ok);
    gtk_window_set_titlebar(GTK_WINDOW(window_), header);
    g_signal_connect_swapped(ok, "clicked", G_CALLBACK(+[](Sheet* s) { s->Close(true); }), this);
    g_signal_connect_swapped(cancel, "clicked", G_CALLBACK(+[](Sheet* s) { s->Close(false); }), this);

    stack_ = gtk_stack_new();
    gtk_stack_set_transition_type(GTK_STACK(stack_), GTK_STACK_TRANSITION_TYPE_NONE);
    GtkWidget* sidebar = gtk_stack_sidebar_new();
    gtk_stack_sidebar_set_stack(GTK_STACK_SIDEBAR(sidebar), GTK_STACK(stack_));
    gtk_widget_set_size_request(sidebar, 150, -1);
    GtkWidget* body = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_box_pack_start(GTK_BOX(body), sidebar, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(body), stack_, TRUE, TRUE, 0);
    gtk_container_add(GTK_CONTAINER(window_), body);

    for (size_t i = 0; i < pages.size(); ++i) {
        auto page = std::make_unique<Page>();
        page->logic = pages[i].logic;
        if (!BuildTemplate(pages[i].templateId, page->form)) {
            AppLog().Warning.Log("Sheet no template", pages[i].templateId);
            Content(page->form);
        }
        page->child = page->form.content;
        gtk_widget_show_all(page->child);
        const std::string name = "page" + std::to_string(i);
        gtk_stack_add_titled(GTK_STACK(stack_), page->child, name.c_str(), Utf8FromCodePage(pages[i].caption).c_str());
        pages_.push_back(std::move(page));
    }
    gtk_widget_show_all(header);
    gtk_widget_show_all(body);

    g_signal_connect_swapped(stack_, "notify::visible-child", G_CALLBACK(+[](Sheet* s) { s->Switched(); }), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(+[](GtkWidget* w, GdkEventKey* e, gpointer data) -> gboolean {
                         auto send = [](gpointer d, int id) { static_cast<Sheet*>(d)->Close(id == 1); };
                         return DialogKey(GTK_WINDOW(w), e, send, data) ? TRUE : FALSE;
                     }),
                     this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer data) -> gboolean {
                         static_cast<Sheet*>(data)->Close(false);
                         return TRUE;
                     }),
                     this);
}

Sheet::~Sheet() {
    for (auto& page : pages_) {
        if (page->controls) page->controls->Detach();
    }
    gtk_widget_destroy(window_);
    if (loop_) g_main_loop_unref(loop_);
}

void Sheet::OpenPage(size_t index) {
    Page& page = *pages_[index];
    if (page.controls || !page.logic) return;
    page.controls = std::make_unique<GtkControls>(GTK_WINDOW(window_), page.form, *page.logic);
    page.controls->Open();
}

void Sheet::Switched() {
    if (closed_) return;
    GtkWidget* child = gtk_stack_get_visible_child(GTK_STACK(stack_));
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i]->child != child || i == current_) continue;
        Page& old = *pages_[current_];
        if (old.controls) old.logic->Leave(*old.controls);
        current_ = i;
        OpenPage(i);
        return;
    }
}

void Sheet::Close(bool apply) {
    if (closed_) return;
    closed_ = true;
    if (!pages_.empty()) {
        Page& page = *pages_[current_];
        if (page.controls) page.logic->Leave(*page.controls);
    }
    if (apply) {
        for (auto& page : pages_) {
            if (page->controls) page->logic->Apply(*page->controls);
        }
    }
    if (loop_ && g_main_loop_is_running(loop_)) g_main_loop_quit(loop_);
}

void Sheet::Run() {
    if (!pages_.empty()) OpenPage(0);
    if (closed_) return;
    gtk_window_present(GTK_WINDOW(window_));
    loop_ = g_main_loop_new(nullptr, FALSE);
    g_main_loop_run(loop_);
}

}  // namespace

int GtkControls::RunModal(int templateId, dialogs::DialogLogic& logic) {
    Form form;
    if (!BuildTemplate(templateId, form)) {
        AppLog().Warning.Log("RunModal no template", templateId);
        return -1;
    }
    GtkWidget* window = MakeDialogWindow(form, window_);
    int result = 0;
    {
        GtkControls controls(GTK_WINDOW(window), form, logic);
        ForwardKeys(window, &controls);
        result = controls.Run();
    }
    gtk_widget_destroy(window);
    return result;
}

void GtkControls::RunSheet(const std::string& caption, const std::vector<dialogs::SheetPage>& pages) {
    Sheet sheet(window_, caption, pages);
    sheet.Run();
}

}  // namespace lumi::gtkui
