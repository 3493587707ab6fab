#include "dialogs/QuotesPage.h"

#include <cstdint>
#include <string>

#include "dialogs/Choosers.h"
#include "dialogs/DialogIds.h"
#include "dialogs/FieldText.h"
#include "media/Resources.h"
#include "media/Sound.h"
#include "settings/IniFile.h"

namespace lumi::dialogs {

namespace {

constexpr char kSection[] = "FPicture";
constexpr size_t kFileBuffer = 300;
constexpr size_t kBannerBuffer = 100;
// The flying picture reads BMPFILE with this size; a longer path would fly another file.
constexpr size_t kFlyingPictureRead = 199;
constexpr long kDefaultShowEvery = 20;
// What a ShowEvery box without a number stores.
constexpr unsigned long kShowEveryFallback = 21;
constexpr int kStepSound = 152;

bool ReadAutoText() { return MainIni().ReadIntForUser(kSection, "AutoText", 1) != 0; }

}  // namespace

void QuotesPage::Open(Controls& controls) {
    opened_ = true;
    IniFile& ini = MainIni();
    selection_.ReadSelectedCategory();
    ShowCategory(controls);
    // The file's length limit is the flying picture's, so what is shown is what flies.
    controls.SetText(IDC_QUOTE_FILE, ini.ReadStringForUser(kSection, "BMPFILE", "", kFileBuffer - 1));
    const auto showEvery = static_cast<uint32_t>(ini.ReadIntForUser(kSection, "ShowEvery", kDefaultShowEvery));
    controls.SetText(IDC_QUOTE_SHOW_EVERY, std::to_string(showEvery));
    controls.SetText(IDC_QUOTE_BANNER, ini.ReadStringForUser(kSection, "BANNER", "", kBannerBuffer - 1));
    autoText_ = ReadAutoText();
    PickQuote();
    // Writing the stored value back leaves it as it was; the key is then in the file.
    if (noQuotes_) ini.WriteUIntForUser(kSection, "AutoText", autoText_ ? 1 : 0);
    ShowAutoText(controls);
}

void QuotesPage::Command(Controls& controls, int id) {
    switch (id) {
        case IDC_QUOTE_NEXT:
        case IDC_QUOTE_PREVIOUS:
            PlayBuiltInSound(controls.Window(), kStepSound);
            if (id == IDC_QUOTE_NEXT) {
                selection_.NextCategory();
            } else {
                selection_.PreviousCategory();
            }
            ShowCategory(controls);
            PickQuote();
            if (!noQuotes_) autoText_ = ReadAutoText();
            ShowAutoText(controls);
            break;
        case IDC_QUOTE_AUTOTEXT:
            autoText_ = controls.Checked(IDC_QUOTE_AUTOTEXT);
            MainIni().WriteUIntForUser(kSection, "AutoText", autoText_ ? 1 : 0);
            controls.Enable(IDC_QUOTE_BANNER, !autoText_);
            break;
        case IDC_QUOTE_BROWSE: {
            std::string path = controls.Text(IDC_QUOTE_FILE);
            if (ChooseFile(controls, "Select your favorite picture", "BMP", path, kFileBuffer, kFlyingPictureRead)) {
                controls.SetText(IDC_QUOTE_FILE, path);
            }
            break;
        }
        default:
            break;
    }
}

void QuotesPage::Apply(Controls& controls) {
    if (!opened_) return;
    IniFile& ini = MainIni();
    ini.WriteUIntForUser(kSection, "AutoText", autoText_ ? 1 : 0);
    // Each no longer than its reader gives back: the flying picture for the file, this
    // page for the banner (which would otherwise lose a character at every opening).
    ini.WriteStringForUser(kSection, "BMPFILE",
                           IniFile::ReadableStart(controls.Text(IDC_QUOTE_FILE), kFlyingPictureRead));
    ini.WriteStringForUser(kSection, "BANNER",
                           IniFile::ReadableStart(controls.Text(IDC_QUOTE_BANNER), kBannerBuffer - 1));
    ini.WriteUIntForUser(kSection, "ShowEvery",
                         ReadUnsigned(controls.Text(IDC_QUOTE_SHOW_EVERY)).value_or(kShowEveryFallback));
    selection_.SaveCategory();
}

void QuotesPage::ShowCategory(Controls& controls) {
    controls.SetText(IDC_QUOTE_CATEGORY, selection_.categoryName);
    picture_ = LoadBitmapResource(selection_.picture);
    controls.SetPicture(IDC_QUOTE_PICTURE, picture_ ? &*picture_ : nullptr);
    // Only the category that flies the user's own bitmap needs the file.
    const bool ownPicture = selection_.picture == kPictureUserBitmap;
    for (int id : {IDC_QUOTE_FILE_NOTE, IDC_QUOTE_FILE_SIZE_NOTE, IDC_QUOTE_FILE, IDC_QUOTE_BROWSE}) {
        controls.Show(id, ownPicture);
        controls.Enable(id, ownPicture);
    }
}

void QuotesPage::ShowAutoText(Controls& controls) {
    const bool checked = autoText_ && !noQuotes_;
    controls.SetChecked(IDC_QUOTE_AUTOTEXT, checked);
    controls.Enable(IDC_QUOTE_AUTOTEXT, !noQuotes_);
    controls.Enable(IDC_QUOTE_BANNER, !checked);
}

void QuotesPage::PickQuote() { noQuotes_ = selection_.RandomPick() == 0; }

}  // namespace lumi::dialogs
