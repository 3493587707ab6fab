#include "shell/gtk/GtkControls.h"

#include <algorithm>
#include <cmath>

#include "base/Log.h"
#include "gfx/Image.h"
#include "shell/gtk/GtkText.h"

namespace lumi::gtkui {

namespace {

std::string TakeString(gchar* text) {
    std::string out = text ? text : "";
    g_free(text);
    return out;
}

// GTK's own key handling for a focused push button (Return presses it) stays; a check
// box or the button inside a combo box does not take Return in a dialog.
bool FocusTakesReturn(GtkWidget* focus) {
    if (!focus || !GTK_IS_BUTTON(focus) || GTK_IS_CHECK_BUTTON(focus)) return false;
    return gtk_widget_get_ancestor(focus, GTK_TYPE_COMBO_BOX) == nullptr;
}

// 0x00BBGGRR pixels for cairo's 0x00RRGGBB.
uint32_t CairoPixel(uint32_t p) { return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF); }

}  // namespace

bool DialogKey(GtkWindow* window, GdkEventKey* event, void (*command)(gpointer, int), gpointer data) {
    const guint mods = event->state & gtk_accelerator_get_default_mod_mask();
    if (event->keyval == GDK_KEY_Escape && mods == 0) {
        command(data, 2);
        return true;
    }
    if (event->keyval != GDK_KEY_Return && event->keyval != GDK_KEY_KP_Enter && event->keyval != GDK_KEY_ISO_Enter)
        return false;
    GtkWidget* focus = gtk_window_get_focus(window);
    if (focus && GTK_IS_TEXT_VIEW(focus) && (mods == GDK_CONTROL_MASK || mods == GDK_SHIFT_MASK)) {
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(focus));
        gtk_text_buffer_delete_selection(buffer, TRUE, gtk_text_view_get_editable(GTK_TEXT_VIEW(focus)));
        gtk_text_buffer_insert_interactive_at_cursor(buffer, "\n", 1, gtk_text_view_get_editable(GTK_TEXT_VIEW(focus)));
        gtk_text_view_scroll_mark_onscreen(GTK_TEXT_VIEW(focus), gtk_text_buffer_get_insert(buffer));
        return true;
    }
    if (mods != 0 || FocusTakesReturn(focus)) return false;
    command(data, 1);
    return true;
}

GtkWidget* MakeDialogWindow(Form& form, GtkWindow* owner) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_title(GTK_WINDOW(window), Utf8FromCodePage(form.title).c_str());
    GtkWidget* header = gtk_header_bar_new();
    gtk_header_bar_set_title(GTK_HEADER_BAR(header), Utf8FromCodePage(form.title).c_str());
    if (form.headerStart || form.headerEnd) {
        // A dialog with OK and Cancel in its header bar needs no close box.
        if (form.headerStart) gtk_header_bar_pack_start(GTK_HEADER_BAR(header), form.headerStart);
        if (form.headerEnd) gtk_header_bar_pack_end(GTK_HEADER_BAR(header), form.headerEnd);
    } else {
        gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(header), TRUE);
    }
    gtk_window_set_titlebar(GTK_WINDOW(window), header);
    if (owner) {
        gtk_window_set_transient_for(GTK_WINDOW(window), owner);
        gtk_window_set_modal(GTK_WINDOW(window), TRUE);
        gtk_window_set_destroy_with_parent(GTK_WINDOW(window), TRUE);
        gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
        gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER_ON_PARENT);
    } else {
        gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    }
    gtk_container_add(GTK_CONTAINER(window), form.content);
    // Everything is shown now, so what the logic hides while it opens stays hidden; the
    // window itself is shown after that.
    gtk_widget_show_all(header);
    gtk_widget_show_all(form.content);
    return window;
}

void ForwardKeys(GtkWidget* window, GtkControls* controls) {
    g_signal_connect(window, "key-press-event", G_CALLBACK(+[](GtkWidget* w, GdkEventKey* e, gpointer data) -> gboolean {
                         auto send = [](gpointer d, int id) { static_cast<GtkControls*>(d)->Command(id); };
                         return DialogKey(GTK_WINDOW(w), e, send, data) ? TRUE : FALSE;
                     }),
                     controls);
    // The close box is Cancel; the window stays until the logic ends the dialog.
    g_signal_connect(window, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer data) -> gboolean {
                         static_cast<GtkControls*>(data)->Command(2);
                         return TRUE;
                     }),
                     controls);
}

GtkControls::GtkControls(GtkWindow* window, Form& form, dialogs::DialogLogic& logic)
    : window_(window), form_(form), logic_(logic) {}

GtkControls::~GtkControls() {
    Detach();
    if (loop_) g_main_loop_unref(loop_);
}

void GtkControls::Open() {
    for (const auto& [id, widget] : form_.controls) {
        auto binding = std::make_unique<Binding>(Binding{this, id, widget, 0});
        if (GTK_IS_RADIO_BUTTON(widget)) {
            binding->handler = g_signal_connect(widget, "clicked", G_CALLBACK(OnClicked), binding.get());
        } else if (GTK_IS_CHECK_BUTTON(widget)) {
            binding->handler = g_signal_connect(widget, "toggled", G_CALLBACK(OnToggled), binding.get());
        } else if (GTK_IS_BUTTON(widget)) {
            binding->handler = g_signal_connect(widget, "clicked", G_CALLBACK(OnClicked), binding.get());
        } else if (GTK_IS_COMBO_BOX(widget)) {
            // A choice picked in a list is a command too, as a selection change is on Windows.
            binding->handler = g_signal_connect(widget, "changed", G_CALLBACK(OnChanged), binding.get());
        } else if (GTK_IS_DRAWING_AREA(widget)) {
            binding->handler = g_signal_connect(widget, "draw", G_CALLBACK(OnDraw), binding.get());
        }
        if (binding->handler) bindings_.push_back(std::move(binding));
    }
    logic_.Open(*this);
}

int GtkControls::RunUntilEnd() {
    if (!ended_) {
        if (!loop_) loop_ = g_main_loop_new(nullptr, FALSE);
        g_main_loop_run(loop_);
    }
    return result_;
}

int GtkControls::Run() {
    Open();
    if (!ended_) gtk_window_present(window_);
    const int result = RunUntilEnd();
    Detach();
    return result;
}

void GtkControls::Command(int id) {
    if (ended_) return;
    logic_.Command(*this, id);
}

void GtkControls::Detach() {
    for (auto& [id, slot] : timers_) g_source_remove(slot->source);
    timers_.clear();
    for (auto& b : bindings_) {
        if (b->handler) g_signal_handler_disconnect(b->widget, b->handler);
        b->handler = 0;
    }
    bindings_.clear();
}

void GtkControls::OnClicked(GtkButton* button, Binding* b) {
    // A radio button that another one just switched off is not the one clicked.
    if (GTK_IS_RADIO_BUTTON(button) && !gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(button))) return;
    b->self->Command(b->id);
}

void GtkControls::OnToggled(GtkToggleButton*, Binding* b) { b->self->Command(b->id); }

void GtkControls::OnChanged(GtkComboBox*, Binding* b) { b->self->Command(b->id); }

// Only the user's changes are commands; the logic's own settings are not.
class GtkControls::Quiet {
public:
    Quiet(GtkControls& controls, int id) : binding_(controls.BindingOf(id)) {
        if (binding_) g_signal_handler_block(binding_->widget, binding_->handler);
    }
    ~Quiet() {
        if (binding_) g_signal_handler_unblock(binding_->widget, binding_->handler);
    }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    Binding* binding_;
};

gboolean GtkControls::OnDraw(GtkWidget*, cairo_t* cr, Binding* b) {
    GtkControls& self = *b->self;
    self.paintingId_ = b->id;
    self.painting_ = cr;
    self.logic_.Paint(self);
    self.painting_ = nullptr;
    self.paintingId_ = 0;
    return TRUE;
}

gboolean GtkControls::OnTimer(gpointer data) {
    auto* slot = static_cast<TimerSlot*>(data);
    slot->self->logic_.Timer(*slot->self, slot->id);
    return G_SOURCE_CONTINUE;
}

GtkWidget* GtkControls::Find(int id) const {
    const auto it = form_.controls.find(id);
    if (it != form_.controls.end()) return it->second;
    AppLog().Warning.Log("GtkControls no control", id);
    return nullptr;
}

GtkControls::Binding* GtkControls::BindingOf(int id) {
    for (auto& b : bindings_) {
        if (b->id == id) return b.get();
    }
    return nullptr;
}

void GtkControls::SetCaption(const std::string& caption) {
    const std::string title = Utf8FromCodePage(caption);
    gtk_window_set_title(window_, title.c_str());
    GtkWidget* header = gtk_window_get_titlebar(window_);
    if (header && GTK_IS_HEADER_BAR(header)) gtk_header_bar_set_title(GTK_HEADER_BAR(header), title.c_str());
}

std::string GtkControls::Text(int id) const {
    GtkWidget* w = Find(id);
    if (!w) return "";
    if (GTK_IS_ENTRY(w)) return FromWidgetText(gtk_entry_get_text(GTK_ENTRY(w)));
    if (GTK_IS_TEXT_VIEW(w)) {
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(w));
        GtkTextIter start, end;
        gtk_text_buffer_get_bounds(buffer, &start, &end);
        return FromWidgetText(TakeString(gtk_text_buffer_get_text(buffer, &start, &end, FALSE)));
    }
    if (GTK_IS_LABEL(w)) return FromWidgetText(gtk_label_get_text(GTK_LABEL(w)));
    if (GTK_IS_COMBO_BOX_TEXT(w)) return FromWidgetText(TakeString(gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(w))));
    if (GTK_IS_BUTTON(w)) {
        const gchar* label = gtk_button_get_label(GTK_BUTTON(w));
        return AmpersandLabel(label ? label : "");
    }
    return "";
}

void GtkControls::SetText(int id, const std::string& text) {
    GtkWidget* w = Find(id);
    if (!w) return;
    if (GTK_IS_ENTRY(w)) {
        gtk_entry_set_text(GTK_ENTRY(w), ToWidgetText(text).c_str());
    } else if (GTK_IS_TEXT_VIEW(w)) {
        gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(w)), ToWidgetText(text).c_str(), -1);
    } else if (GTK_IS_LABEL(w)) {
        gtk_label_set_text(GTK_LABEL(w), ToWidgetText(text).c_str());
    } else if (GTK_IS_BUTTON(w)) {
        gtk_button_set_label(GTK_BUTTON(w), MnemonicLabel(text).c_str());
        gtk_button_set_use_underline(GTK_BUTTON(w), TRUE);
    }
}

void GtkControls::Focus(int id, bool selectAll) {
    GtkWidget* w = Find(id);
    if (!w) return;
    if (GTK_IS_ENTRY(w) && !selectAll) {
        gtk_entry_grab_focus_without_selecting(GTK_ENTRY(w));
        return;
    }
    gtk_widget_grab_focus(w);
    if (GTK_IS_TEXT_VIEW(w)) {
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(w));
        GtkTextIter start, end;
        gtk_text_buffer_get_bounds(buffer, &start, &end);
        if (selectAll) gtk_text_buffer_select_range(buffer, &end, &start);
    }
}

bool GtkControls::Checked(int id) const {
    GtkWidget* w = Find(id);
    return w && GTK_IS_TOGGLE_BUTTON(w) && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w));
}

void GtkControls::SetChecked(int id, bool checked) {
    GtkWidget* w = Find(id);
    if (!w || !GTK_IS_TOGGLE_BUTTON(w)) return;
    Quiet quiet(*this, id);
    const auto none = form_.noRadio.find(id);
    if (!checked && none != form_.noRadio.end() && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(w))) {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(none->second), TRUE);
    } else {
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(w), checked);
    }
}

void GtkControls::Enable(int id, bool enabled) {
    if (GtkWidget* w = Find(id)) gtk_widget_set_sensitive(w, enabled);
}

void GtkControls::Show(int id, bool shown) {
    GtkWidget* w = Find(id);
    if (!w) return;
    const auto outer = form_.outer.find(id);
    gtk_widget_set_visible(outer != form_.outer.end() ? outer->second : w, shown);
}

void GtkControls::SetItems(int id, const std::vector<std::string>& items) {
    GtkWidget* w = Find(id);
    if (!w || !GTK_IS_COMBO_BOX_TEXT(w)) return;
    Quiet quiet(*this, id);
    gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(w));
    for (const std::string& item : items) gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(w), ToWidgetText(item).c_str());
    gtk_combo_box_set_active(GTK_COMBO_BOX(w), -1);
}

int GtkControls::Selection(int id) const {
    GtkWidget* w = Find(id);
    return w && GTK_IS_COMBO_BOX(w) ? gtk_combo_box_get_active(GTK_COMBO_BOX(w)) : -1;
}

void GtkControls::SetSelection(int id, int index) {
    GtkWidget* w = Find(id);
    if (!w || !GTK_IS_COMBO_BOX(w)) return;
    Quiet quiet(*this, id);
    gtk_combo_box_set_active(GTK_COMBO_BOX(w), index);
}

void GtkControls::SetPicture(int id, const gfx::Image* image) {
    GtkWidget* w = Find(id);
    if (!w || !GTK_IS_IMAGE(w)) return;
    if (!image || image->Empty()) {
        gtk_image_clear(GTK_IMAGE(w));
        return;
    }
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, image->Width(), image->Height());
    if (!pixbuf) return;
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    for (int y = 0; y < image->Height(); ++y) {
        const uint32_t* row = image->Row(y);
        guchar* out = pixels + static_cast<size_t>(y) * stride;
        for (int x = 0; x < image->Width(); ++x) {
            out[3 * x] = row[x] & 0xFF;
            out[3 * x + 1] = (row[x] >> 8) & 0xFF;
            out[3 * x + 2] = (row[x] >> 16) & 0xFF;
        }
    }
    gtk_image_set_from_pixbuf(GTK_IMAGE(w), pixbuf);
    g_object_unref(pixbuf);
}

void GtkControls::DrawPicture(int id, const gfx::Image* image, const dialogs::Rect& dest) {
    if (!painting_ || id != paintingId_) return;
    GtkWidget* w = Find(id);
    if (!w) return;
    cairo_t* cr = painting_;
    const int width = gtk_widget_get_allocated_width(w);
    const int height = gtk_widget_get_allocated_height(w);
    cairo_save(cr);
    // A thin frame, and white inside it: the picture's own clip.
    cairo_set_source_rgb(cr, 0.6, 0.6, 0.6);
    cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_rectangle(cr, 1, 1, std::max(0, width - 2), std::max(0, height - 2));
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    if (image && !image->Empty() && dest.width > 0 && dest.height > 0) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image->Width(), image->Height());
        if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
            cairo_surface_flush(surface);
            unsigned char* data = cairo_image_surface_get_data(surface);
            const int stride = cairo_image_surface_get_stride(surface);
            for (int y = 0; y < image->Height(); ++y) {
                auto* out = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
                const uint32_t* row = image->Row(y);
                for (int x = 0; x < image->Width(); ++x) out[x] = CairoPixel(row[x]);
            }
            cairo_surface_mark_dirty(surface);
            cairo_translate(cr, dest.x, dest.y);
            cairo_scale(cr, static_cast<double>(dest.width) / image->Width(),
                        static_cast<double>(dest.height) / image->Height());
            cairo_set_source_surface(cr, surface, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
        }
        cairo_surface_destroy(surface);
    }
    cairo_restore(cr);
}

void GtkControls::Repaint(int id) {
    GtkWidget* w = id == 0 ? GTK_WIDGET(window_) : Find(id);
    if (w) gtk_widget_queue_draw(w);
}

dialogs::Point GtkControls::CursorPosition() const {
    // Measured from our own window and turned into screen pixels the same way as the
    // controls' places, so the two agree even where the system hides global positions
    // (Wayland).
    dialogs::Point p;
    GdkWindow* gdkWindow = gtk_widget_get_window(GTK_WIDGET(window_));
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gtk_widget_get_display(GTK_WIDGET(window_))));
    if (!gdkWindow || !pointer) return p;
    int x = 0;
    int y = 0;
    gdk_window_get_device_position(gdkWindow, pointer, &x, &y, nullptr);
    gdk_window_get_origin(gdkWindow, &p.x, &p.y);
    p.x += x;
    p.y += y;
    return p;
}

dialogs::Point GtkControls::ScreenOrigin(GtkWidget* widget) const {
    dialogs::Point p;
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    GdkWindow* gdkWindow = gtk_widget_get_window(top);
    if (!gdkWindow) return p;
    gdk_window_get_origin(gdkWindow, &p.x, &p.y);
    int x = 0;
    int y = 0;
    if (widget != top && gtk_widget_translate_coordinates(widget, top, 0, 0, &x, &y)) {
        p.x += x;
        p.y += y;
    }
    return p;
}

dialogs::Rect GtkControls::WindowRect() const {
    // The runaway button must stay where it can be seen: the window's content, where the
    // layer it moves in lies.
    GtkWidget* area = form_.layer ? form_.layer : GTK_WIDGET(window_);
    const dialogs::Point origin = ScreenOrigin(area);
    return {origin.x, origin.y, gtk_widget_get_allocated_width(area), gtk_widget_get_allocated_height(area)};
}

dialogs::Rect GtkControls::ControlRect(int id) const {
    GtkWidget* w = Find(id);
    if (!w) return {};
    const auto placed = form_.placed.find(id);
    // A moved control reports where it was put, before GTK has laid it out there.
    if (placed != form_.placed.end() && form_.layer) {
        const dialogs::Point origin = ScreenOrigin(form_.layer);
        return {origin.x + placed->second.first, origin.y + placed->second.second, gtk_widget_get_allocated_width(w),
                gtk_widget_get_allocated_height(w)};
    }
    const dialogs::Point origin = ScreenOrigin(w);
    return {origin.x, origin.y, gtk_widget_get_allocated_width(w), gtk_widget_get_allocated_height(w)};
}

void GtkControls::MoveControl(int id, dialogs::Point topLeft) {
    GtkWidget* w = Find(id);
    if (!w || !form_.layer || gtk_widget_get_parent(w) != form_.layer) return;
    const dialogs::Point origin = ScreenOrigin(form_.layer);
    // Never out of the window: a button there could not be clicked, nor grow the window.
    const int maxX = std::max(0, gtk_widget_get_allocated_width(form_.layer) - gtk_widget_get_allocated_width(w));
    const int maxY = std::max(0, gtk_widget_get_allocated_height(form_.layer) - gtk_widget_get_allocated_height(w));
    const int x = std::clamp(topLeft.x - origin.x, 0, maxX);
    const int y = std::clamp(topLeft.y - origin.y, 0, maxY);
    form_.placed[id] = {x, y};
    g_object_set_data(G_OBJECT(w), "lumi-moved", GINT_TO_POINTER(1));
    gtk_fixed_move(GTK_FIXED(form_.layer), w, x, y);
}

bool GtkControls::IsPushed(int id) const {
    GtkWidget* w = Find(id);
    return w && (gtk_widget_get_state_flags(w) & GTK_STATE_FLAG_ACTIVE) != 0;
}

void GtkControls::StartTimer(int timerId, int milliseconds) {
    StopTimer(timerId);
    auto slot = std::make_unique<TimerSlot>(TimerSlot{this, timerId, 0});
    slot->source = g_timeout_add(static_cast<guint>(std::max(1, milliseconds)), OnTimer, slot.get());
    timers_[timerId] = std::move(slot);
}

void GtkControls::StopTimer(int timerId) {
    const auto it = timers_.find(timerId);
    if (it == timers_.end()) return;
    g_source_remove(it->second->source);
    timers_.erase(it);
}

void GtkControls::End(int result) {
    result_ = result;
    ended_ = true;
    if (loop_ && g_main_loop_is_running(loop_)) g_main_loop_quit(loop_);
}

}  // namespace lumi::gtkui
