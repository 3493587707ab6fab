// A dialog window without a window system: remembers what the logic put into each control,
// lets a test type, click and move the pointer, and scripts the nested dialogs and choosers.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/Controls.h"
#include "gfx/Image.h"

namespace lumi::testing {

class FakeControls : public dialogs::Controls {
public:
    // One control's state.
    struct Control {
        std::string text;
        bool checked = false;
        bool enabled = true;
        bool shown = true;
        std::vector<std::string> items;
        int selection = -1;
        const gfx::Image* picture = nullptr;  // as last given; only compared, never read
        int pictureWidth = 0;                 // what the last SetPicture showed (0: nothing)
        int pictureHeight = 0;
        dialogs::Rect rect;  // screen pixels
        bool pushed = false;
        int repaints = 0;
    };
    struct Drawn {
        int id;
        int imageWidth;  // 0 when no image was drawn
        int imageHeight;
        dialogs::Rect dest;
    };

    // The user's actions: the state changes first, then the logic hears of it.
    void Type(dialogs::DialogLogic& logic, int id, const std::string& text) {
        (void)logic;
        controls[id].text = text;
    }
    void Click(dialogs::DialogLogic& logic, int id) {
        auto& c = controls[id];
        if (!c.enabled) return;
        logic.Command(*this, id);
    }
    void Toggle(dialogs::DialogLogic& logic, int id) {
        auto& c = controls[id];
        if (!c.enabled) return;
        c.checked = !c.checked;
        logic.Command(*this, id);
    }

    // Controls
    WindowHandle Window() const override { return nullptr; }
    void SetCaption(const std::string& text) override { caption = text; }
    std::string Text(int id) const override { return Find(id).text; }
    void SetText(int id, const std::string& text) override { controls[id].text = text; }
    void Focus(int id, bool selectAll) override {
        focus = id;
        focusSelectsAll = selectAll;
    }
    bool Checked(int id) const override { return Find(id).checked; }
    void SetChecked(int id, bool on) override { controls[id].checked = on; }
    void Enable(int id, bool on) override { controls[id].enabled = on; }
    void Show(int id, bool on) override { controls[id].shown = on; }
    void SetItems(int id, const std::vector<std::string>& items) override {
        controls[id].items = items;
        controls[id].selection = -1;
    }
    int Selection(int id) const override { return Find(id).selection; }
    void SetSelection(int id, int index) override { controls[id].selection = index; }
    void SetPicture(int id, const gfx::Image* image) override {
        auto& c = controls[id];
        c.picture = image;
        c.pictureWidth = image ? image->Width() : 0;
        c.pictureHeight = image ? image->Height() : 0;
    }
    void DrawPicture(int id, const gfx::Image* image, const dialogs::Rect& dest) override {
        drawn.push_back({id, image ? image->Width() : 0, image ? image->Height() : 0, dest});
    }
    void Repaint(int id) override { ++controls[id].repaints; }
    dialogs::Point CursorPosition() const override { return cursor; }
    dialogs::Rect WindowRect() const override { return windowRect; }
    dialogs::Rect ControlRect(int id) const override { return Find(id).rect; }
    void MoveControl(int id, dialogs::Point topLeft) override {
        controls[id].rect.x = topLeft.x;
        controls[id].rect.y = topLeft.y;
        ++moves;
    }
    bool IsPushed(int id) const override { return Find(id).pushed; }
    void StartTimer(int timerId, int milliseconds) override { timers[timerId] = milliseconds; }
    void StopTimer(int timerId) override { timers.erase(timerId); }
    void End(int result) override { ended = result; }
    int RunModal(int templateId, dialogs::DialogLogic& logic) override {
        modals.push_back(templateId);
        return onModal ? onModal(templateId, logic) : 0;
    }
    void RunSheet(const std::string& sheetCaption, const std::vector<dialogs::SheetPage>& pages) override {
        sheets.push_back(sheetCaption);
        if (onSheet) onSheet(sheetCaption, pages);
    }
    bool ChooseFile(const std::string& title, const std::vector<dialogs::FileFilter>& filters, std::string& path,
                    unsigned long& error) override {
        fileChooserTitles.push_back(title);
        if (whileChoosing) whileChoosing();
        lastFilters = filters;
        fileChooserStart = path;
        error = chooseFileError;
        if (!chosenFile) return false;
        path = *chosenFile;
        return true;
    }
    bool ChooseFolder(const std::string& title, std::string& path) override {
        folderChooserTitles.push_back(title);
        if (whileChoosing) whileChoosing();
        if (!chosenFolder) return false;
        path = *chosenFolder;
        return true;
    }
    void ChooseFont(dialogs::FontChoice& font) override {
        fontChooserStart = font;
        ++fontChoosers;
        if (whileChoosing) whileChoosing();
        if (chosenFont) font = *chosenFont;
    }
    bool OpenHelpPage(const std::string& page) override {
        helpPages.push_back(page);
        return true;
    }
    bool StartPreview() override {
        ++previews;
        return true;
    }

    // What the logic did.
    mutable std::map<int, Control> controls;
    std::string caption;
    int focus = -1;
    bool focusSelectsAll = false;
    std::map<int, int> timers;  // running timers and their periods
    std::optional<int> ended;
    std::vector<int> modals;
    std::vector<std::string> sheets;
    std::vector<Drawn> drawn;
    int moves = 0;
    std::vector<std::string> fileChooserTitles;
    std::vector<dialogs::FileFilter> lastFilters;
    std::string fileChooserStart;
    std::vector<std::string> folderChooserTitles;
    std::optional<dialogs::FontChoice> fontChooserStart;
    int fontChoosers = 0;
    std::vector<std::string> helpPages;
    int previews = 0;

    // What the user will do in the nested windows and choosers.
    dialogs::Point cursor{-1000, -1000};
    dialogs::Rect windowRect{0, 0, 500, 400};
    std::function<int(int templateId, dialogs::DialogLogic& logic)> onModal;
    std::function<void(const std::string&, const std::vector<dialogs::SheetPage>&)> onSheet;
    std::optional<std::string> chosenFile;  // nullopt: the chooser is cancelled
    unsigned long chooseFileError = 0;
    std::optional<std::string> chosenFolder;
    std::optional<dialogs::FontChoice> chosenFont;  // nullopt: the chooser is cancelled
    std::function<void()> whileChoosing;             // runs while a chooser is up

private:
    const Control& Find(int id) const { return controls[id]; }
};

}  // namespace lumi::testing
