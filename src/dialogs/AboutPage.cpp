#include "dialogs/AboutPage.h"

#include <utility>

#include "base/BuildInfo.h"
#include "dialogs/Choosers.h"
#include "dialogs/DialogIds.h"
#include "media/Resources.h"
#include "platform/Desktop.h"

// Set by the build; a build without them offers neither button.
#ifndef LUMI_WEB_ADDRESS
#define LUMI_WEB_ADDRESS ""
#endif
#ifndef LUMI_CONTACT_ADDRESS
#define LUMI_CONTACT_ADDRESS ""
#endif

namespace lumi::dialogs {

namespace {

constexpr int kPictureIds[] = {IDC_ABOUT_PICTURE_1, IDC_ABOUT_PICTURE_2, IDC_ABOUT_PICTURE_3, IDC_ABOUT_PICTURE_4};
constexpr int kPictures[] = {145, 154, 156, 158};

}  // namespace

const char* ConfiguredWebAddress() { return LUMI_WEB_ADDRESS; }
const char* ConfiguredContactAddress() { return LUMI_CONTACT_ADDRESS; }

AboutPage::AboutPage(std::string webAddress, std::string contactAddress)
    : webAddress_(std::move(webAddress)), contactAddress_(std::move(contactAddress)) {}

void AboutPage::Open(Controls& controls) {
    controls.SetText(IDC_ABOUT_VERSION, "Version:\t" LUMI_VERSION);
    controls.SetText(IDC_ABOUT_BUILD, "Build:\t" + BuildDate());
    for (size_t i = 0; i < pictures_.size(); ++i) {
        pictures_[i] = LoadBitmapResource(kPictures[i]);
        controls.SetPicture(kPictureIds[i], pictures_[i] ? &*pictures_[i] : nullptr);
    }
    // No address is ever made up: without one the button would lead nowhere.
    controls.Show(IDC_ABOUT_NEWER, !webAddress_.empty());
    controls.Show(IDC_ABOUT_CONTACT, !contactAddress_.empty());
}

void AboutPage::Command(Controls&, int id) {
    if (id == IDC_ABOUT_NEWER && !webAddress_.empty()) {
        Desktop().OpenUrl(webAddress_ + "?CurrentUserVer=" LUMI_VERSION);
    } else if (id == IDC_ABOUT_CONTACT && !contactAddress_.empty()) {
        SendMail(contactAddress_, "From a Lumivane user v" LUMI_VERSION);
    }
}

}  // namespace lumi::dialogs
